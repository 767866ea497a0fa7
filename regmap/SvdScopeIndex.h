#pragma once

#include <QHashFunctions>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

class SvdElements;

// The names of one scope's members (the peripherals of a file, the registers
// and clusters of a peripheral or cluster, the fields of a register), so that
// every derivedFrom lookup is one hash lookup. A name is found as written
// first, then without its index placeholder ("CH[%s]" as "CH"), then as one
// element of an array ("P100PFS" of "P10%sPFS"): the arrays are kept by the
// text before and after their placeholder, so a lookup tries the key's few
// splits and never spells out an array's element names.
class SvdScopeIndex
{
public:
    struct Found
    {
        std::uint32_t element = 0;
        bool isArrayElement = false;
        std::uint32_t k = 0; // which element, when isArrayElement
    };

    SvdScopeIndex(SvdElements &elements, const std::vector<std::uint32_t> &members);

    // `budget` is how many more element names the walk may spell out. The
    // element `self` (the one whose derivedFrom is looked up) is passed over.
    Found Find(SvdElements &elements, QStringView name, std::uint32_t self, std::uint32_t &budget);

private:
    // The first array, in document order, that has `key` as one of its
    // elements, other than `self`.
    Found FindElement(SvdElements &elements, const QString &key, std::uint32_t self);

    std::unordered_map<QString, std::uint32_t> m_literal;
    std::unordered_map<QString, std::uint32_t> m_bare;
    std::vector<std::uint32_t> m_arrays; // members with a placeholder, in order
    // Positions in m_arrays by "prefix\x01suffix" around a single placeholder;
    // names with several placeholders are tried one by one.
    std::unordered_multimap<QString, std::size_t> m_byAffixes;
    std::vector<std::size_t> m_severalPlaceholders;
};

// The enumeratedValues blocks of one field, register, peripheral or file by
// the paths that name them: "NAME", "FIELD.NAME", "REGISTER.FIELD.NAME" and
// "PERIPHERAL.REGISTER.FIELD.NAME" (owners also without their placeholders).
// The first two blocks of each path, in document order, are kept: a block
// never resolves to itself.
class SvdEnumIndex
{
public:
    SvdEnumIndex(SvdElements &elements, std::uint32_t scope);
    // The first block of `path` other than `block`; 0 for none.
    std::uint32_t Find(const QString &path, std::uint32_t block) const;

    // The block's path text from the last parts of a derivedFrom.
    static QString Key(const QString &derivedFrom);

private:
    void Add(const QString &path, std::uint32_t block);

    std::unordered_map<QString, std::pair<std::uint32_t, std::uint32_t>> m_blocks;
};

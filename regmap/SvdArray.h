#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

class SvdElements;

// The dim properties of one SVD element: how many copies it stands for, the
// address (or bit) step between them and the text that replaces "%s" in each.
// A dimIndex range is kept as its first value, never spelt out, so an array
// of 65536 costs no more than one of 2.
struct SvdArray
{
    static constexpr std::uint32_t kMaxCount = 65536;

    enum class Index {
        Decimal, // element k is "k"
        Numbers, // "4-7": decimal from `first`
        Letters, // "A-D": letters from `first`
        List,    // "A,B,C": the items, then decimal k past their end
    };

    bool isArray = false; // the element has a `dim` of its own
    std::uint32_t count = 1;
    std::uint32_t increment = 0;
    Index index = Index::Decimal;
    std::uint32_t first = 0;
    QStringList items;

    // Reads the element's own dim, dimIncrement and dimIndex (never a base's).
    // The failure message for a dim over kMaxCount or a dim or dimIncrement
    // that is not a number; empty when read.
    static QString Read(const SvdElements &elements, std::uint32_t element, SvdArray &array);

    QString IndexName(std::uint32_t k) const;
    // The element k whose Substitute(pattern, k) is `name`; -1 for none.
    qint64 IndexOf(const QString &pattern, QStringView name) const;
    // "%s" replaced by element k's index; the text as it is when not an array.
    QString Substitute(const QString &text, std::uint32_t k) const;
    // Whether every element's index name is non-empty and holds no space, so
    // substituting it never makes a run of spaces longer.
    bool PlainIndexNames() const;

private:
    // The element whose index name is `text`; -1 for none.
    qint64 ElementNamed(QStringView text) const;
};

#pragma once

#include "regmap/SvdArray.h"
#include "regmap/SvdScopeIndex.h"

#include <QAnyStringView>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

class XmlDocument;

// Lookups of the SVD walks over one parsed document, by element record index
// (0 is "none"). A derived element (derivedFrom) reads as a copy of its base:
// each property child it has itself replaces the base's, and its own
// registers, clusters or fields are added to the base's list, an own one
// replacing a copied one of the same name in its place. Everything asked for
// is worked out once per element and kept, so a chain of n derived elements
// costs O(n) whatever order it is asked in. The first unresolvable link, or a
// cycle, is kept as the failure message and every later lookup finds nothing.
class SvdElements
{
public:
    // Registers, fields, cluster copies and enumerated values one walk may
    // make; entries of derived lists and spelt-out array element names have a
    // budget of the same size each.
    static constexpr std::uint32_t kMaxElements = 1u << 18;

    // The property children a walk reads. The first kOwnTags are the
    // element's own only: names and array properties are never copied.
    enum Tag : std::uint8_t {
        Name,
        Dim,
        DimIncrement,
        DimIndex,
        Description,
        BaseAddress,
        AddressOffset,
        Size,
        Access,
        ResetValue,
        ResetMask,
        ReadAction,
        BitOffset,
        BitWidth,
        Lsb,
        Msb,
        BitRange,
        kTagCount
    };
    static constexpr int kOwnTags = DimIndex + 1;

    struct Properties
    {
        std::array<std::uint32_t, kTagCount> child{}; // 0 where neither the element nor a base has one
        // Added to a copied baseAddress, addressOffset or field position that
        // came through element k of an array base: k times its dimIncrement.
        std::uint64_t addressStep = 0;
        // The index that replaces "%s" in a description copied from an array element.
        bool descriptionIndexed = false;
        QString descriptionIndex;
    };
    using ElementList = std::shared_ptr<const std::vector<std::uint32_t>>;

    explicit SvdElements(const XmlDocument &document);

    const XmlDocument &Document() const { return m_document; }
    bool Failed() const { return !m_failure.isEmpty(); }
    const QString &Failure() const { return m_failure; }
    void Fail(const QString &message);
    void ClearFailure() { m_failure.clear(); }
    // The peripheral the walk is for, named by messages about the walk as a whole.
    void SetSubject(const QString &name) { m_subject = name; }

    std::uint32_t Root() const;
    std::uint32_t FirstChild(std::uint32_t element) const;
    std::uint32_t NextSibling(std::uint32_t element) const;
    std::uint32_t Parent(std::uint32_t element) const;
    std::uint32_t Ancestor(std::uint32_t element, QStringView tag) const;
    bool IsA(std::uint32_t element, QStringView tag) const;
    // First child of the element itself named `tag`.
    std::uint32_t OwnChild(std::uint32_t element, QStringView tag) const;
    QString Text(std::uint32_t element) const;
    // The same text as a view into the document when it needs no decoding,
    // else into `decoded`, which then holds Text(element).
    QAnyStringView TextView(std::uint32_t element, QString &decoded) const;
    // The text of the element's own `name` child, without surrounding blanks.
    QString NameOf(std::uint32_t element) const;
    // The element's text without surrounding blanks.
    QString TrimmedText(std::uint32_t element) const;

    // False when the element's derivedFrom chain cannot be resolved.
    bool Resolves(std::uint32_t element)
    {
        Base(element);
        return !Failed();
    }
    const Properties &PropertiesOf(std::uint32_t element);
    // The registers and clusters of a peripheral or cluster, the fields of a
    // register, the peripherals of `peripherals`: own ones added to the base's.
    ElementList Members(std::uint32_t owner);
    // The element's own dim properties, read once. With `report` false a
    // bad dim is only a false result, no failure of the walk.
    bool ArrayOf(std::uint32_t element, SvdArray &array, bool report = true);
    // The element whose enumeratedValues blocks a field has (itself, or its
    // nearest base with any), and the element whose enumeratedValue entries
    // count for a block (itself, or its nearest base with any).
    std::uint32_t EnumBlocksOwner(std::uint32_t field);
    std::uint32_t EnumValuesOwner(std::uint32_t block);

private:
    struct Link
    {
        std::uint32_t base = 0;
        SvdScopeIndex::Found target;
    };

    std::uint32_t Base(std::uint32_t element);
    SvdScopeIndex::Found Resolve(std::uint32_t element, const QString &from);
    SvdScopeIndex::Found ResolveRegisterPath(std::uint32_t element, const QStringList &path);
    SvdScopeIndex::Found FindMember(std::uint32_t owner, QStringView name, std::uint32_t self);
    std::uint32_t ResolveEnumBlock(std::uint32_t block, const QString &from);
    std::uint32_t ListOwner(std::uint32_t element) const;
    std::vector<std::uint32_t> OwnMembers(std::uint32_t owner) const;
    QString LinkName(std::uint32_t element) const;
    QString DerivedFrom(std::uint32_t element) const;
    bool HasAttributes(std::uint32_t element) const;
    std::uint32_t FirstWithOwn(std::uint32_t element, QStringView childTag,
                               std::unordered_map<std::uint32_t, std::uint32_t> &memo);

    const XmlDocument &m_document;
    QString m_failure;
    QString m_subject;
    std::unordered_map<std::uint32_t, Link> m_links;
    std::unordered_map<std::uint32_t, Properties> m_properties;
    std::unordered_map<std::uint32_t, ElementList> m_members;
    std::unordered_map<std::uint32_t, SvdArray> m_arrays;
    std::unordered_map<std::uint32_t, SvdScopeIndex> m_scopes;
    std::unordered_map<std::uint32_t, SvdEnumIndex> m_enumScopes;
    std::unordered_map<std::uint32_t, std::uint32_t> m_blocksOwners;
    std::unordered_map<std::uint32_t, std::uint32_t> m_valuesOwners;
    std::uint32_t m_listEntries = 0;
    std::uint32_t m_nameBudget = kMaxElements;
    int m_resolveDepth = 0;
};

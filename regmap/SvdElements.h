#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <cstdint>
#include <unordered_map>
#include <vector>

class XmlDocument;

// Lookups of the SVD walks over one parsed document, by element record index
// (0 is "none"). A derived element (derivedFrom) reads as a copy of its base:
// each child it has itself replaces the base's children of that name. The
// first unresolvable link, or a cycle, is kept as the failure message and
// every later lookup through it finds nothing.
class SvdElements
{
public:
    explicit SvdElements(const XmlDocument &document);

    const XmlDocument &Document() const { return m_document; }
    bool Failed() const { return !m_failure.isEmpty(); }
    const QString &Failure() const { return m_failure; }
    void Fail(const QString &message);
    void ClearFailure() { m_failure.clear(); }

    std::uint32_t Root() const;
    std::uint32_t FirstChild(std::uint32_t element) const;
    std::uint32_t NextSibling(std::uint32_t element) const;
    std::uint32_t Parent(std::uint32_t element) const;
    bool IsA(std::uint32_t element, QStringView tag) const;
    // First child of the element itself named `tag`.
    std::uint32_t OwnChild(std::uint32_t element, QStringView tag) const;
    QString Text(std::uint32_t element) const;
    // The text of the element's own `name` child.
    QString NameOf(std::uint32_t element) const;

    // False when the element's derivedFrom chain cannot be resolved.
    bool Resolves(std::uint32_t element)
    {
        Base(element);
        return !Failed();
    }
    // Child named `tag` of the element or, when it has none, of its bases.
    std::uint32_t Child(std::uint32_t element, QStringView tag);
    // Child() for several tags in one pass over the children: found[i] for
    // tags[i]. The first `ownOnly` tags are looked for in the element itself
    // only (names and array properties are never copied from a base).
    void Gather(std::uint32_t element, const QStringView *tags, std::uint32_t *found, std::size_t count,
                std::size_t ownOnly);
    // The element whose register and cluster children make a cluster's list.
    std::uint32_t ClusterContent(std::uint32_t cluster);
    // The enumeratedValues blocks of a field, and the block whose values count
    // for a block (itself, or its base when it names one and has no values).
    std::vector<std::uint32_t> EnumBlocks(std::uint32_t field);
    std::uint32_t EnumValuesOf(std::uint32_t block);

    // The first peripheral anywhere in the file whose name text is `name`.
    std::uint32_t PeripheralNamed(QStringView name);

private:
    std::uint32_t Base(std::uint32_t element);
    std::uint32_t Resolve(std::uint32_t element, const QString &from);
    std::uint32_t ResolveRegisterPath(std::uint32_t element, const QStringList &path);
    std::uint32_t FindInScope(std::uint32_t scope, QStringView name);
    std::uint32_t ResolveEnumBlock(std::uint32_t block, const QStringList &path);
    bool EnumPathMatches(std::uint32_t block, const QStringList &path) const;
    QString LinkName(std::uint32_t element) const;
    std::uint32_t Ancestor(std::uint32_t element, QStringView tag) const;

    const XmlDocument &m_document;
    QString m_failure;
    std::unordered_map<std::uint32_t, std::uint32_t> m_bases;
    std::unordered_map<QString, std::uint32_t> m_peripherals;
    bool m_peripheralsIndexed = false;
    int m_resolveDepth = 0;
};

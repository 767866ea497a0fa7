#include "regmap/SvdScopeIndex.h"

#include "regmap/SvdArray.h"
#include "regmap/SvdElements.h"
#include "xml/XmlDocument.h"

#include <QStringList>

namespace {

// Parts of an enumeratedValues path that count: the name and up to three owners.
constexpr qsizetype kEnumPathParts = 4;

QString WithoutPlaceholder(const QString &name)
{
    QString bare = name;
    bare.remove(QStringLiteral("[%s]"));
    bare.remove(QStringLiteral("%s"));
    return bare;
}

} // namespace

SvdScopeIndex::SvdScopeIndex(SvdElements &elements, const std::vector<std::uint32_t> &members)
{
    for (const std::uint32_t member : members) {
        const QString name = elements.NameOf(member);
        m_literal.try_emplace(name, member);
        if (name.contains(u"%s")) {
            m_bare.try_emplace(WithoutPlaceholder(name), member);
            m_arrays.push_back(member);
        }
    }
}

SvdScopeIndex::Found SvdScopeIndex::Find(SvdElements &elements, QStringView name, std::uint32_t self,
                                         std::uint32_t &budget)
{
    const QString key = name.toString();
    if (const auto literal = m_literal.find(key); literal != m_literal.end() && literal->second != self)
        return {literal->second};
    if (const auto bare = m_bare.find(key); bare != m_bare.end() && bare->second != self)
        return {bare->second};
    SpellElements(elements, budget);
    if (const auto element = m_elements.find(key); element != m_elements.end() && element->second.first != self)
        return {element->second.first, true, element->second.second};
    return {};
}

void SvdScopeIndex::SpellElements(SvdElements &elements, std::uint32_t &budget)
{
    if (m_elementsSpelt)
        return;
    m_elementsSpelt = true;
    for (const std::uint32_t member : m_arrays) {
        SvdArray array;
        if (!elements.ArrayOf(member, array, false) || !array.isArray)
            continue;
        const QString name = elements.NameOf(member);
        for (std::uint32_t k = 0; k < array.count && budget > 0; ++k, --budget)
            m_elements.try_emplace(array.Substitute(name, k), member, k);
    }
}

SvdEnumIndex::SvdEnumIndex(SvdElements &elements, std::uint32_t scope)
{
    const XmlDocument &document = elements.Document();
    const XmlElementRecord &range = document.Record(scope);
    const std::int64_t end = std::int64_t(range.start) + range.length;
    for (std::uint32_t i = scope + 1; i < document.RecordCount(); ++i) {
        if (scope != 0 && document.Record(i).start >= end)
            break;
        if (!elements.IsA(i, u"enumeratedValues"))
            continue;
        QString literal = elements.NameOf(i);
        if (literal.isEmpty())
            continue;
        QString bare = literal;
        Add(literal, i);
        const std::uint32_t field = elements.Parent(i);
        const std::uint32_t owners[] = {field, elements.Ancestor(field, u"register"),
                                        elements.Ancestor(field, u"peripheral")};
        for (const std::uint32_t owner : owners) {
            if (owner == 0)
                break;
            const QString name = elements.NameOf(owner);
            literal = name + u'.' + literal;
            bare = WithoutPlaceholder(name) + u'.' + bare;
            Add(literal, i);
            if (bare != literal)
                Add(bare, i);
        }
    }
}

void SvdEnumIndex::Add(const QString &path, std::uint32_t block)
{
    const auto [entry, added] = m_blocks.try_emplace(path, block, 0u);
    if (!added && entry->second.second == 0 && entry->second.first != block)
        entry->second.second = block;
}

std::uint32_t SvdEnumIndex::Find(const QString &path, std::uint32_t block) const
{
    const auto found = m_blocks.find(path);
    if (found == m_blocks.end())
        return 0;
    return found->second.first != block ? found->second.first : found->second.second;
}

QString SvdEnumIndex::Key(const QString &derivedFrom)
{
    QStringList parts = derivedFrom.split(u'.');
    if (parts.size() > kEnumPathParts)
        parts = parts.mid(parts.size() - kEnumPathParts);
    for (QString &part : parts)
        part = part.trimmed();
    return parts.join(u'.');
}

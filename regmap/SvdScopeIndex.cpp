#include "regmap/SvdScopeIndex.h"

#include "regmap/SvdArray.h"
#include "regmap/SvdElements.h"
#include "xml/XmlDocument.h"

#include <QStringList>

#include <algorithm>

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
            const std::size_t position = m_arrays.size();
            m_arrays.push_back(member);
            if (name.count(u"%s") == 1) {
                const qsizetype at = name.indexOf(u"%s");
                m_byAffixes.emplace(name.first(at) + QChar(1) + name.sliced(at + 2), position);
            } else {
                m_severalPlaceholders.push_back(position);
            }
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
    (void)budget; // nothing is spelt out any more
    return FindElement(elements, key, self);
}

SvdScopeIndex::Found SvdScopeIndex::FindElement(SvdElements &elements, const QString &key, std::uint32_t self)
{
    if (m_arrays.empty())
        return {};
    std::vector<std::size_t> candidates = m_severalPlaceholders;
    // Names longer than this are no element of a file's arrays worth trying
    // every split of.
    constexpr qsizetype kLongestKey = 256;
    if (key.size() <= kLongestKey) {
        for (qsizetype prefix = 0; prefix <= key.size(); ++prefix)
            for (qsizetype suffix = prefix; suffix <= key.size(); ++suffix) {
                const auto [first, last] = m_byAffixes.equal_range(key.first(prefix) + QChar(1) + key.sliced(suffix));
                for (auto it = first; it != last; ++it)
                    candidates.push_back(it->second);
            }
    }
    std::sort(candidates.begin(), candidates.end());
    for (const std::size_t position : candidates) {
        const std::uint32_t member = m_arrays[position];
        if (member == self)
            continue;
        SvdArray array;
        if (!elements.ArrayOf(member, array, false) || !array.isArray)
            continue;
        const qint64 k = array.IndexOf(elements.NameOf(member), key);
        if (k >= 0 && std::uint64_t(k) < array.count)
            return {member, true, std::uint32_t(k)};
    }
    return {};
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

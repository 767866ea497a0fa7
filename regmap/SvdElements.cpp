#include "regmap/SvdElements.h"

#include "xml/XmlDocument.h"

#include <algorithm>

namespace {

// Links of derivedFrom resolution that may wait on one another (a dotted
// path through a derived cluster); deeper nesting is refused as unresolvable.
constexpr int kMaxResolveDepth = 16;

// An array element is also known by its name without the index placeholder.
bool NameMatches(const QString &elementName, QStringView wanted)
{
    if (elementName == wanted)
        return true;
    if (!elementName.contains(u"%s"))
        return false;
    QString bare = elementName;
    bare.remove(QStringLiteral("[%s]"));
    bare.remove(QStringLiteral("%s"));
    return bare == wanted;
}

} // namespace

SvdElements::SvdElements(const XmlDocument &document)
    : m_document(document)
{}

void SvdElements::Fail(const QString &message)
{
    if (m_failure.isEmpty())
        m_failure = message;
}

std::uint32_t SvdElements::Root() const
{
    return m_document.Record(0).firstChild;
}

std::uint32_t SvdElements::FirstChild(std::uint32_t element) const
{
    return element == 0 ? 0 : m_document.Record(element).firstChild;
}

std::uint32_t SvdElements::NextSibling(std::uint32_t element) const
{
    return element == 0 ? 0 : m_document.Record(element).nextSibling;
}

std::uint32_t SvdElements::Parent(std::uint32_t element) const
{
    return element == 0 ? 0 : m_document.Record(element).parent;
}

bool SvdElements::IsA(std::uint32_t element, QStringView tag) const
{
    return element != 0 && m_document.TagIs(element, tag);
}

std::uint32_t SvdElements::OwnChild(std::uint32_t element, QStringView tag) const
{
    for (std::uint32_t child = FirstChild(element); child != 0; child = NextSibling(child)) {
        if (m_document.TagIs(child, tag))
            return child;
    }
    return 0;
}

QString SvdElements::Text(std::uint32_t element) const
{
    return element == 0 ? QString() : m_document.ElementTextOf(element);
}

QString SvdElements::NameOf(std::uint32_t element) const
{
    return Text(OwnChild(element, u"name"));
}

std::uint32_t SvdElements::Child(std::uint32_t element, QStringView tag)
{
    while (element != 0) {
        if (const std::uint32_t own = OwnChild(element, tag))
            return own;
        element = Base(element);
    }
    return 0;
}

void SvdElements::Gather(std::uint32_t element, const QStringView *tags, std::uint32_t *found, std::size_t count,
                         std::size_t ownOnly)
{
    std::fill(found, found + count, 0u);
    std::size_t first = 0;
    for (std::uint32_t e = element; e != 0; e = Base(e)) {
        for (std::uint32_t child = FirstChild(e); child != 0; child = NextSibling(child)) {
            const QStringView tag = m_document.TagName(child);
            for (std::size_t i = first; i < count; ++i) {
                if (found[i] == 0 && tags[i] == tag) {
                    found[i] = child;
                    break;
                }
            }
        }
        first = ownOnly;
        if (std::find(found + ownOnly, found + count, 0u) == found + count)
            break;
    }
}

std::uint32_t SvdElements::ClusterContent(std::uint32_t cluster)
{
    for (std::uint32_t element = cluster; element != 0;) {
        for (std::uint32_t child = FirstChild(element); child != 0; child = NextSibling(child)) {
            if (IsA(child, u"register") || IsA(child, u"cluster"))
                return element;
        }
        const std::uint32_t base = Base(element);
        if (base == 0)
            return element;
        element = base;
    }
    return cluster;
}

std::vector<std::uint32_t> SvdElements::EnumBlocks(std::uint32_t field)
{
    std::vector<std::uint32_t> blocks;
    for (std::uint32_t element = field; element != 0 && blocks.empty(); element = Base(element)) {
        for (std::uint32_t child = FirstChild(element); child != 0; child = NextSibling(child)) {
            if (IsA(child, u"enumeratedValues"))
                blocks.push_back(child);
        }
    }
    return blocks;
}

std::uint32_t SvdElements::EnumValuesOf(std::uint32_t block)
{
    for (std::uint32_t element = block; element != 0;) {
        if (OwnChild(element, u"enumeratedValue") != 0)
            return element;
        const std::uint32_t base = Base(element);
        if (base == 0)
            return element;
        element = base;
    }
    return block;
}

std::uint32_t SvdElements::PeripheralNamed(QStringView name)
{
    if (!m_peripheralsIndexed) {
        m_peripheralsIndexed = true;
        const std::uint32_t peripherals = OwnChild(Root(), u"peripherals");
        for (std::uint32_t p = FirstChild(peripherals); p != 0; p = NextSibling(p)) {
            if (IsA(p, u"peripheral"))
                m_peripherals.try_emplace(NameOf(p), p);
        }
    }
    const auto found = m_peripherals.find(name.toString());
    return found == m_peripherals.end() ? 0 : found->second;
}

// The direct base of an element. The first time an element is asked for, its
// whole chain is followed, so a missing link or a cycle anywhere in it fails
// here, naming the element whose derivedFrom could not be resolved.
std::uint32_t SvdElements::Base(std::uint32_t element)
{
    if (const auto cached = m_bases.find(element); cached != m_bases.end())
        return cached->second;
    if (Failed())
        return 0;
    std::vector<std::uint32_t> chain;
    std::uint32_t current = element;
    for (;;) {
        if (m_bases.count(current) != 0)
            break;
        if (std::find(chain.begin(), chain.end(), current) != chain.end()) {
            const std::uint32_t link = chain.back();
            Fail(QStringLiteral("[svd] %1 derivedFrom %2 not find!\n")
                     .arg(LinkName(link), m_document.AttributeOf(link, u"derivedFrom").trimmed()));
            return 0;
        }
        const QString from = m_document.AttributeOf(current, u"derivedFrom").trimmed();
        if (from.isEmpty()) {
            m_bases.emplace(current, 0);
            break;
        }
        chain.push_back(current);
        const std::uint32_t target = Resolve(current, from);
        if (target == 0) {
            Fail(QStringLiteral("[svd] %1 derivedFrom %2 not find!\n").arg(LinkName(current), from));
            return 0;
        }
        current = target;
    }
    for (std::size_t i = 0; i < chain.size(); ++i)
        m_bases[chain[i]] = i + 1 < chain.size() ? chain[i + 1] : current;
    const auto found = m_bases.find(element);
    return found == m_bases.end() ? 0 : found->second;
}

// An unnamed enumeratedValues block is known by its field.
QString SvdElements::LinkName(std::uint32_t element) const
{
    const QString name = NameOf(element);
    return name.isEmpty() && IsA(element, u"enumeratedValues") ? NameOf(Parent(element)) : name;
}

std::uint32_t SvdElements::Resolve(std::uint32_t element, const QString &from)
{
    if (m_resolveDepth >= kMaxResolveDepth)
        return 0;
    ++m_resolveDepth;
    const QStringList path = from.split(u'.');
    std::uint32_t target = 0;
    if (IsA(element, u"peripheral")) {
        target = PeripheralNamed(from);
    } else if (IsA(element, u"register") || IsA(element, u"cluster")) {
        target = ResolveRegisterPath(element, path);
    } else if (IsA(element, u"field")) {
        // Fields derive only from fields of their own register.
        for (std::uint32_t f = FirstChild(Parent(element)); f != 0 && target == 0; f = NextSibling(f)) {
            if (IsA(f, u"field") && NameMatches(NameOf(f), path.last()))
                target = f;
        }
    } else if (IsA(element, u"enumeratedValues")) {
        target = ResolveEnumBlock(element, path);
    }
    --m_resolveDepth;
    return target;
}

// A register or cluster named in `scope`'s list of registers and clusters.
std::uint32_t SvdElements::FindInScope(std::uint32_t scope, QStringView name)
{
    for (std::uint32_t child = FirstChild(scope); child != 0; child = NextSibling(child)) {
        if ((IsA(child, u"register") || IsA(child, u"cluster")) && NameMatches(NameOf(child), name))
            return child;
    }
    return 0;
}

// An undotted name is looked for beside the element, then in each enclosing
// cluster; a dotted one is a path from the peripheral's register list, or
// from another peripheral named by its first part.
std::uint32_t SvdElements::ResolveRegisterPath(std::uint32_t element, const QStringList &path)
{
    if (path.size() == 1) {
        for (std::uint32_t scope = Parent(element); IsA(scope, u"cluster") || IsA(scope, u"registers");
             scope = Parent(scope)) {
            if (const std::uint32_t found = FindInScope(scope, path.first()))
                return found;
        }
        return 0;
    }
    const auto walk = [&](std::uint32_t scope, qsizetype first) -> std::uint32_t {
        std::uint32_t found = 0;
        for (qsizetype i = first; i < path.size() && scope != 0; ++i) {
            found = FindInScope(scope, path[i]);
            if (found == 0)
                return 0;
            scope = i + 1 < path.size() && IsA(found, u"cluster") ? ClusterContent(found) : 0;
        }
        return found;
    };
    const std::uint32_t peripheral = Ancestor(element, u"peripheral");
    if (const std::uint32_t found = walk(Child(peripheral, u"registers"), 0))
        return found;
    if (const std::uint32_t other = PeripheralNamed(path.first()))
        return walk(Child(other, u"registers"), 1);
    return 0;
}

// By block name, in the same field, register, peripheral, then the whole file.
std::uint32_t SvdElements::ResolveEnumBlock(std::uint32_t block, const QStringList &path)
{
    const std::uint32_t field = Parent(block);
    const std::uint32_t scopes[] = {field, Ancestor(field, u"register"), Ancestor(field, u"peripheral"), 0};
    for (const std::uint32_t scope : scopes) {
        const XmlElementRecord &range = m_document.Record(scope);
        const std::int64_t end = std::int64_t(range.start) + range.length;
        for (std::uint32_t i = scope + 1; i < m_document.RecordCount(); ++i) {
            if (scope != 0 && m_document.Record(i).start >= end)
                break;
            if (i != block && IsA(i, u"enumeratedValues") && EnumPathMatches(i, path))
                return i;
        }
    }
    return 0;
}

// The block's name is the path's last part; parts before it name its field,
// register and peripheral, innermost first.
bool SvdElements::EnumPathMatches(std::uint32_t block, const QStringList &path) const
{
    if (NameOf(block) != path.last())
        return false;
    const std::uint32_t field = Parent(block);
    const std::uint32_t owners[] = {field, Ancestor(field, u"register"), Ancestor(field, u"peripheral")};
    for (qsizetype i = path.size() - 2, owner = 0; i >= 0 && owner < 3; --i, ++owner) {
        if (!NameMatches(NameOf(owners[owner]), path[i]))
            return false;
    }
    return true;
}

std::uint32_t SvdElements::Ancestor(std::uint32_t element, QStringView tag) const
{
    for (std::uint32_t e = Parent(element); e != 0; e = Parent(e)) {
        if (IsA(e, tag))
            return e;
    }
    return 0;
}

#include "regmap/SvdElements.h"

#include "regmap/SvdMessages.h"
#include "xml/XmlDocument.h"
#include "link/Tr.h"

#include <QVarLengthArray>

#include <type_traits>
#include <unordered_set>

namespace {

// Links of derivedFrom resolution that may wait on one another (a dotted
// path through a derived cluster); deeper nesting is refused as unresolvable.
constexpr int kMaxResolveDepth = 16;

// Whether the tag's code units are those of the ASCII literal of its length.
template<typename Char> bool SameUnits(const Char *tag, const char *literal, qsizetype length)
{
    for (qsizetype i = 0; i < length; ++i) {
        if (char16_t(tag[i]) != char16_t(literal[i]))
            return false;
    }
    return true;
}

// The Tag a child's tag name is, kTagCount for none: the name measured once,
// then compared with the few of its length.
template<typename Char> int TagOf(const Char *tag, qsizetype size)
{
    const auto is = [tag, size](const char *literal) { return SameUnits(tag, literal, size); };
    const auto either = [&is](const char *a, int ta, const char *b, int tb) {
        return is(a) ? ta : is(b) ? tb : int(SvdElements::kTagCount);
    };
    switch (size) {
    case 3:
        return is("dim") ? int(SvdElements::Dim) : either("lsb", SvdElements::Lsb, "msb", SvdElements::Msb);
    case 4:
        return either("name", SvdElements::Name, "size", SvdElements::Size);
    case 6:
        return is("access") ? int(SvdElements::Access) : int(SvdElements::kTagCount);
    case 8:
        return is("dimIndex") ? int(SvdElements::DimIndex)
                              : either("bitWidth", SvdElements::BitWidth, "bitRange", SvdElements::BitRange);
    case 9:
        return either("resetMask", SvdElements::ResetMask, "bitOffset", SvdElements::BitOffset);
    case 10:
        return either("resetValue", SvdElements::ResetValue, "readAction", SvdElements::ReadAction);
    case 11:
        return either("description", SvdElements::Description, "baseAddress", SvdElements::BaseAddress);
    case 12:
        return is("dimIncrement") ? int(SvdElements::DimIncrement) : int(SvdElements::kTagCount);
    case 13:
        return is("addressOffset") ? int(SvdElements::AddressOffset) : int(SvdElements::kTagCount);
    default:
        return SvdElements::kTagCount;
    }
}

int TagOf(QAnyStringView tag)
{
    return tag.visit([](auto name) {
        if constexpr (std::is_same_v<decltype(name), QLatin1StringView>)
            return TagOf(name.latin1(), name.size());
        else if constexpr (std::is_same_v<decltype(name), QStringView>)
            return TagOf(name.utf16(), name.size());
        else {
            const QString text = name.toString();
            return TagOf(text.utf16(), text.size());
        }
    });
}

// Which of the three field position forms a tag belongs to; -1 for none.
int PositionForm(int tag)
{
    switch (tag) {
    case SvdElements::BitOffset:
    case SvdElements::BitWidth:
        return 0;
    case SvdElements::Lsb:
    case SvdElements::Msb:
        return 1;
    case SvdElements::BitRange:
        return 2;
    default:
        return -1;
    }
}

// The first position form an element's own children use; -1 for none.
int PositionForm(const std::array<std::uint32_t, SvdElements::kTagCount> &child)
{
    for (int tag = SvdElements::BitOffset; tag <= SvdElements::BitRange; ++tag) {
        if (child[tag] != 0)
            return PositionForm(tag);
    }
    return -1;
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

std::uint32_t SvdElements::Ancestor(std::uint32_t element, QStringView tag) const
{
    for (std::uint32_t e = Parent(element); e != 0; e = Parent(e)) {
        if (IsA(e, tag))
            return e;
    }
    return 0;
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

QAnyStringView SvdElements::TextView(std::uint32_t element, QString &decoded) const
{
    return m_document.ElementTextView(element, decoded);
}

QString SvdElements::NameOf(std::uint32_t element) const
{
    return TrimmedText(OwnChild(element, u"name"));
}

QString SvdElements::TrimmedText(std::uint32_t element) const
{
    QString decoded;
    return TextView(element, decoded).visit([](auto view) {
        if constexpr (std::is_same_v<decltype(view), QUtf8StringView>)
            return view.toString().trimmed();
        else
            return view.trimmed().toString();
    });
}

// Whether the start tag holds more than its name: "<register>" does not.
bool SvdElements::HasAttributes(std::uint32_t element) const
{
    return m_document.TagLengthsOf(element).startTag > m_document.TagName(element).size() + 2;
}

QString SvdElements::DerivedFrom(std::uint32_t element) const
{
    return m_document.AttributeOf(element, u"derivedFrom").trimmed();
}

// The element's own property children are found in one pass; the copyable
// ones it lacks come from its base, worked out first (bases before the
// elements derived from them, without recursion).
const SvdElements::Properties &SvdElements::PropertiesOf(std::uint32_t element)
{
    if (const auto known = m_properties.find(element); known != m_properties.end())
        return known->second;
    QVarLengthArray<std::uint32_t, 8> chain; // most chains are one element long
    for (std::uint32_t e = element; e != 0 && m_properties.count(e) == 0; e = Base(e)) {
        chain.push_back(e);
        if (std::size_t(chain.size()) > m_document.RecordCount())
            break; // never: links are free of cycles
    }
    for (auto e = chain.rbegin(); e != chain.rend(); ++e) {
        Properties own;
        for (std::uint32_t child = FirstChild(*e); child != 0; child = NextSibling(child)) {
            const int tag = TagOf(m_document.TagName(child));
            if (tag < kTagCount && own.child[tag] == 0)
                own.child[tag] = child;
        }
        const auto link = m_links.find(*e);
        const auto base = link == m_links.end() ? m_properties.end() : m_properties.find(link->second.base);
        if (base != m_properties.end()) {
            const Properties &copied = base->second;
            const SvdScopeIndex::Found &target = link->second.target;
            SvdArray array;
            const bool throughElement = target.isArrayElement && ArrayOf(target.element, array, false);
            if (own.child[BaseAddress] == 0 && own.child[AddressOffset] == 0 && PositionForm(own.child) < 0) {
                own.addressStep = copied.addressStep;
                if (throughElement)
                    own.addressStep += std::uint64_t(target.k) * array.increment;
            }
            if (own.child[Description] == 0) {
                own.descriptionIndexed = throughElement || copied.descriptionIndexed;
                own.descriptionIndex = throughElement ? array.IndexName(target.k) : copied.descriptionIndex;
            }
            // A field position is copied only in the form the element itself
            // writes it, if it writes one: its own bitOffset with the base's
            // bitWidth, never its own lsb with the base's bitRange.
            const int ownForm = PositionForm(own.child);
            for (int tag = kOwnTags; tag < kTagCount; ++tag) {
                if (own.child[tag] == 0 && (ownForm < 0 || PositionForm(tag) < 0 || PositionForm(tag) == ownForm))
                    own.child[tag] = copied.child[tag];
            }
        }
        m_properties.insert_or_assign(*e, std::move(own));
    }
    return m_properties[element];
}

// Which children make an element's own list.
std::vector<std::uint32_t> SvdElements::OwnMembers(std::uint32_t owner) const
{
    std::vector<std::uint32_t> members;
    std::uint32_t list = owner;
    QStringView tags[2] = {u"register", u"cluster"};
    if (IsA(owner, u"peripheral")) {
        list = OwnChild(owner, u"registers");
    } else if (IsA(owner, u"register")) {
        list = OwnChild(owner, u"fields");
        tags[0] = tags[1] = u"field";
    } else if (IsA(owner, u"peripherals")) {
        tags[0] = tags[1] = u"peripheral";
    }
    for (std::uint32_t child = FirstChild(list); child != 0; child = NextSibling(child)) {
        if (IsA(child, tags[0]) || IsA(child, tags[1]))
            members.push_back(child);
    }
    return members;
}

SvdElements::ElementList SvdElements::Members(std::uint32_t owner)
{
    if (const auto known = m_members.find(owner); known != m_members.end())
        return known->second;
    const bool derivable = IsA(owner, u"peripheral") || IsA(owner, u"cluster") || IsA(owner, u"register");
    QVarLengthArray<std::uint32_t, 8> chain;
    for (std::uint32_t e = owner; e != 0 && m_members.count(e) == 0; e = derivable ? Base(e) : 0) {
        chain.push_back(e);
        if (std::size_t(chain.size()) > m_document.RecordCount())
            break; // never: links are free of cycles
    }
    for (auto e = chain.rbegin(); e != chain.rend(); ++e) {
        std::vector<std::uint32_t> own = OwnMembers(*e);
        const auto link = m_links.find(*e);
        ElementList copied;
        if (link != m_links.end() && link->second.base != 0 &&
            m_document.TagName(link->second.base) == m_document.TagName(*e)) {
            const auto base = m_members.find(link->second.base);
            if (base != m_members.end())
                copied = base->second;
        }
        if (!copied || copied->empty()) {
            m_members[*e] = std::make_shared<const std::vector<std::uint32_t>>(std::move(own));
            continue;
        }
        if (own.empty()) {
            m_members[*e] = copied;
            continue;
        }
        m_listEntries += std::uint32_t(std::min<std::size_t>(copied->size() + own.size(), kMaxElements + 1));
        if (m_listEntries > kMaxElements) {
            Fail(Tr(SvdMessages::kTooManyElements).arg(m_subject, QString::number(kMaxElements)));
            m_members[*e] = std::make_shared<const std::vector<std::uint32_t>>();
            continue;
        }
        // Own members replace copied ones of the same name in place; the rest follow.
        std::unordered_map<QString, std::size_t> ownByName;
        for (std::size_t i = 0; i < own.size(); ++i)
            ownByName.try_emplace(NameOf(own[i]), i);
        std::vector<bool> placed(own.size(), false);
        std::vector<std::uint32_t> merged;
        merged.reserve(copied->size() + own.size());
        for (const std::uint32_t member : *copied) {
            const auto replacement = ownByName.find(NameOf(member));
            if (replacement != ownByName.end() && !placed[replacement->second]) {
                placed[replacement->second] = true;
                merged.push_back(own[replacement->second]);
            } else {
                merged.push_back(member);
            }
        }
        for (std::size_t i = 0; i < own.size(); ++i) {
            if (!placed[i])
                merged.push_back(own[i]);
        }
        m_members[*e] = std::make_shared<const std::vector<std::uint32_t>>(std::move(merged));
    }
    return m_members[owner];
}

bool SvdElements::ArrayOf(std::uint32_t element, SvdArray &array, bool report)
{
    if (const auto known = m_arrays.find(element); known != m_arrays.end()) {
        array = known->second;
        return true;
    }
    // An element whose children are known has no dim of its own: no array.
    if (const auto known = m_properties.find(element); known != m_properties.end() && known->second.child[Dim] == 0) {
        array = SvdArray();
        return true;
    }
    const QString failure = SvdArray::Read(*this, element, array);
    if (!failure.isEmpty()) {
        if (report)
            Fail(failure);
        return false;
    }
    m_arrays.emplace(element, array);
    return true;
}

std::uint32_t SvdElements::FirstWithOwn(std::uint32_t element, QStringView childTag,
                                        std::unordered_map<std::uint32_t, std::uint32_t> &memo)
{
    QVarLengthArray<std::uint32_t, 8> chain;
    std::uint32_t found = element;
    for (std::uint32_t e = element; e != 0; e = Base(e)) {
        if (const auto known = memo.find(e); known != memo.end()) {
            found = known->second;
            break;
        }
        chain.push_back(e);
        if (OwnChild(e, childTag) != 0 || std::size_t(chain.size()) > m_document.RecordCount()) {
            found = e;
            break;
        }
        found = e; // the last of the chain when no element has any
    }
    for (const std::uint32_t e : chain)
        memo[e] = found;
    return found;
}

std::uint32_t SvdElements::EnumBlocksOwner(std::uint32_t field)
{
    return FirstWithOwn(field, u"enumeratedValues", m_blocksOwners);
}

std::uint32_t SvdElements::EnumValuesOwner(std::uint32_t block)
{
    return FirstWithOwn(block, u"enumeratedValue", m_valuesOwners);
}

// The direct base of an element. The first time an element is asked for, its
// whole chain is followed, so a missing link or a cycle anywhere in it fails
// here, naming the element whose derivedFrom could not be resolved.
std::uint32_t SvdElements::Base(std::uint32_t element)
{
    if (const auto known = m_links.find(element); known != m_links.end())
        return known->second.base;
    if (Failed())
        return 0;
    // Most elements derive from nothing: no chain to follow, nothing kept.
    if (!HasAttributes(element))
        return 0;
    std::vector<std::pair<std::uint32_t, SvdScopeIndex::Found>> chain;
    std::unordered_set<std::uint32_t> onChain;
    std::uint32_t current = element;
    for (;;) {
        if (m_links.count(current) != 0)
            break;
        if (!onChain.insert(current).second) {
            const std::uint32_t link = chain.back().first;
            Fail(Tr(SvdMessages::kNoDerivedFrom).arg(LinkName(link), DerivedFrom(link)));
            return 0;
        }
        const QString from = DerivedFrom(current);
        if (from.isEmpty()) {
            m_links.emplace(current, Link{});
            break;
        }
        const SvdScopeIndex::Found target = Resolve(current, from);
        if (target.element == 0) {
            Fail(Tr(SvdMessages::kNoDerivedFrom).arg(LinkName(current), from));
            return 0;
        }
        chain.emplace_back(current, target);
        current = target.element;
    }
    for (const auto &[link, target] : chain)
        m_links.insert_or_assign(link, Link{target.element, target});
    const auto found = m_links.find(element);
    return found == m_links.end() ? 0 : found->second.base;
}

// An unnamed enumeratedValues block is known by its field.
QString SvdElements::LinkName(std::uint32_t element) const
{
    const QString name = NameOf(element);
    return name.isEmpty() && IsA(element, u"enumeratedValues") ? NameOf(Parent(element)) : name;
}

SvdScopeIndex::Found SvdElements::Resolve(std::uint32_t element, const QString &from)
{
    if (m_resolveDepth >= kMaxResolveDepth)
        return {};
    ++m_resolveDepth;
    SvdScopeIndex::Found target;
    if (IsA(element, u"peripheral")) {
        target = FindMember(Parent(element), from, element);
    } else if (IsA(element, u"register") || IsA(element, u"cluster")) {
        QStringList path = from.split(u'.');
        for (QString &part : path)
            part = part.trimmed();
        target = ResolveRegisterPath(element, path);
    } else if (IsA(element, u"field")) {
        // Fields derive only from fields of their own register.
        const std::uint32_t fields = Parent(element);
        if (IsA(Parent(fields), u"register"))
            target =
                FindMember(Parent(fields), QStringView(from).sliced(from.lastIndexOf(u'.') + 1).trimmed(), element);
    } else if (IsA(element, u"enumeratedValues")) {
        target.element = ResolveEnumBlock(element, from);
    }
    --m_resolveDepth;
    return target;
}

// An element is never its own base: a name that finds only the element
// itself means the next element of that name, an array element or, for an
// own element that replaced a copied one of its name, that copied one in
// the owner's base.
SvdScopeIndex::Found SvdElements::FindMember(std::uint32_t owner, QStringView name, std::uint32_t self)
{
    while (owner != 0) {
        auto scope = m_scopes.find(owner);
        if (scope == m_scopes.end()) {
            const ElementList members = Members(owner);
            scope = m_scopes.try_emplace(owner, *this, *members).first;
        }
        const SvdScopeIndex::Found found = scope->second.Find(*this, name, self, m_nameBudget);
        if (found.element != 0)
            return found;
        const std::uint32_t base = Base(owner);
        owner = base != 0 && m_document.TagName(base) == m_document.TagName(owner) ? base : 0;
    }
    return {};
}

// The peripheral or cluster whose list holds a register or cluster.
std::uint32_t SvdElements::ListOwner(std::uint32_t element) const
{
    const std::uint32_t parent = Parent(element);
    if (IsA(parent, u"cluster"))
        return parent;
    if (IsA(parent, u"registers") && IsA(Parent(parent), u"peripheral"))
        return Parent(parent);
    return 0;
}

// An undotted name is looked for beside the element, then in each enclosing
// cluster; a dotted one is a path from the peripheral's register list, or
// from another peripheral named by its first part.
SvdScopeIndex::Found SvdElements::ResolveRegisterPath(std::uint32_t element, const QStringList &path)
{
    if (path.size() == 1) {
        for (std::uint32_t owner = ListOwner(element); owner != 0;
             owner = IsA(owner, u"cluster") ? ListOwner(owner) : 0) {
            if (const SvdScopeIndex::Found found = FindMember(owner, path.first(), element); found.element != 0)
                return found;
        }
        return {};
    }
    const auto walk = [&](std::uint32_t owner, qsizetype first) -> SvdScopeIndex::Found {
        SvdScopeIndex::Found found;
        for (qsizetype i = first; i < path.size(); ++i) {
            if (owner == 0)
                return {};
            found = FindMember(owner, path[i], element);
            if (found.element == 0)
                return {};
            owner = IsA(found.element, u"cluster") ? found.element : 0;
        }
        return found;
    };
    const std::uint32_t peripheral = Ancestor(element, u"peripheral");
    if (const SvdScopeIndex::Found found = walk(peripheral, 0); found.element != 0)
        return found;
    const SvdScopeIndex::Found other = FindMember(Parent(peripheral), path.first(), element);
    return other.element != 0 ? walk(other.element, 1) : SvdScopeIndex::Found{};
}

// By path, in the same field, register, peripheral, then the whole file.
std::uint32_t SvdElements::ResolveEnumBlock(std::uint32_t block, const QString &from)
{
    const QString key = SvdEnumIndex::Key(from);
    const std::uint32_t field = Parent(block);
    const std::uint32_t scopes[] = {field, Ancestor(field, u"register"), Ancestor(field, u"peripheral")};
    for (int level = 0; level < 4; ++level) {
        const std::uint32_t scope = level < 3 ? scopes[level] : 0; // 0: the whole file
        if (scope == 0 && level < 3)
            continue;
        auto index = m_enumScopes.find(scope);
        if (index == m_enumScopes.end())
            index = m_enumScopes.try_emplace(scope, *this, scope).first;
        if (const std::uint32_t found = index->second.Find(key, block))
            return found;
    }
    return 0;
}

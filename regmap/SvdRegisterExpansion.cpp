#include "regmap/SvdRegisterExpansion.h"

#include "regmap/SvdArray.h"
#include "regmap/SvdMessages.h"
#include "regmap/SvdText.h"
#include "link/Tr.h"

#include <QVarLengthArray>

#include <algorithm>
#include <vector>

namespace {

constexpr int kRegisterDescriptionRun = 10;
constexpr int kFieldDescriptionRun = 14;
constexpr std::uint64_t kAddressSpace = 0x100000000ull;

// One level of the cluster walk: the list being walked, and for a cluster
// array which copy of it the walk is in.
template<typename Defaults> struct Frame
{
    SvdElements::ElementList members;
    std::size_t next = 0;
    std::uint32_t cluster = 0; // 0 for the peripheral's own list
    SvdArray array;
    std::uint32_t copy = 0;
    QString clusterName;
    QString outerPrefix;
    std::uint64_t outerOffset = 0;
    QString prefix; // "CLUSTER." for registers of this copy
    std::uint64_t offset = 0;
    Defaults defaults;

    void EnterCopy(std::uint32_t k)
    {
        copy = k;
        next = 0;
        prefix = outerPrefix + array.Substitute(clusterName, k) + u'.';
        offset = outerOffset + std::uint64_t(k) * array.increment;
    }
};

// A description copied from one element of an array base names that element.
QString DescriptionOf(SvdElements &elements, const SvdElements::Properties &properties)
{
    QString description = elements.Text(properties.child[SvdElements::Description]);
    if (properties.descriptionIndexed)
        description.replace(QStringLiteral("%s"), properties.descriptionIndex);
    return description;
}

// The description of each element of an array, its long space runs taken
// out. The pattern is looked at once: when it holds no such run and no index
// name can make one, the elements' texts need no second look.
class ElementDescriptions
{
public:
    ElementDescriptions(const SvdArray &array, const QString &description, int runLength)
        : m_array(array)
        , m_description(description)
        , m_runLength(runLength)
        , m_checkEach(array.isArray && (SvdText::HasSpaceRun(description, runLength) || !array.PlainIndexNames()))
    {
        if (!array.isArray)
            m_plain = SvdText::RemoveSpaceRuns(description, runLength);
    }

    QString Of(std::uint32_t k) const
    {
        if (!m_array.isArray)
            return m_plain;
        const QString text = m_array.Substitute(m_description, k);
        return m_checkEach ? SvdText::RemoveSpaceRuns(text, m_runLength) : text;
    }

private:
    const SvdArray &m_array;
    const QString &m_description;
    const int m_runLength;
    const bool m_checkEach;
    QString m_plain;
};

} // namespace

SvdRegisterExpansion::SvdRegisterExpansion(SvdElements &elements)
    : m_elements(elements)
{}

bool SvdRegisterExpansion::Count(std::uint64_t elements)
{
    m_count += elements;
    if (m_count <= kMaxElements)
        return true;
    m_elements.Fail(Tr(SvdMessages::kTooManyElements).arg(m_peripheralName, QString::number(kMaxElements)));
    return false;
}

bool SvdRegisterExpansion::ReadNumber(std::uint32_t child, const char *missingMessage, std::uint32_t &value)
{
    QString decoded;
    const std::optional<std::uint32_t> number =
        child != 0 ? SvdText::ReadSvdNumber(m_elements.TextView(child, decoded)) : std::nullopt;
    if (!number) {
        m_elements.Fail(Tr(missingMessage));
        return false;
    }
    value = *number;
    return true;
}

// A size that is not a number refuses the walk: the register's width would
// be a guess. A reset value or mask that is not one (a 64-bit register's,
// say) leaves the register without one.
bool SvdRegisterExpansion::ApplyDefaults(std::uint32_t element, const SvdElements::Properties &properties,
                                         Defaults &defaults)
{
    QString decoded;
    if (const std::uint32_t size = properties.child[SvdElements::Size]) {
        const std::optional<std::uint32_t> bits = SvdText::ReadSvdNumber(m_elements.TextView(size, decoded));
        if (!bits) {
            m_elements.Fail(
                Tr(SvdMessages::kNotANumber).arg(m_elements.NameOf(element), u"size", m_elements.Text(size).trimmed()));
            return false;
        }
        defaults.size = *bits;
    }
    if (const std::uint32_t access = properties.child[SvdElements::Access])
        defaults.access = AccessText(access);
    if (const std::uint32_t reset = properties.child[SvdElements::ResetValue])
        defaults.resetValue = SvdText::ReadSvdNumber(m_elements.TextView(reset, decoded));
    if (const std::uint32_t mask = properties.child[SvdElements::ResetMask])
        defaults.resetMask = SvdText::ReadSvdNumber(m_elements.TextView(mask, decoded));
    return true;
}

// The access text without blanks around it. The five the format knows are
// shared, not made anew for every register and field.
QString SvdRegisterExpansion::AccessText(std::uint32_t access) const
{
    static const QString kKnown[] = {QStringLiteral("read-write"), QStringLiteral("read-only"),
                                     QStringLiteral("write-only"), QStringLiteral("writeOnce"),
                                     QStringLiteral("read-writeOnce")};
    QString decoded;
    const QAnyStringView text = m_elements.TextView(access, decoded);
    for (const QString &known : kKnown) {
        if (text == known)
            return known;
    }
    return m_elements.Text(access).trimmed();
}

bool SvdRegisterExpansion::Expand(std::uint32_t peripheralElement, SvdPeripheral &peripheral)
{
    m_peripheralName = peripheral.name;
    m_baseAddress = peripheral.baseAddress;
    m_count = 0;
    m_end = 4; // a peripheral without registers still spans one word
    m_elements.SetSubject(peripheral.name);
    if (!m_elements.Resolves(peripheralElement))
        return false;
    const std::uint32_t root = m_elements.Root();
    Defaults own;
    if (!ApplyDefaults(root, m_elements.PropertiesOf(root), own) ||
        !ApplyDefaults(peripheralElement, m_elements.PropertiesOf(peripheralElement), own)) {
        return false;
    }

    std::vector<Frame<Defaults>> stack(1);
    stack.back().members = m_elements.Members(peripheralElement);
    stack.back().defaults = own;
    while (!stack.empty()) {
        if (m_elements.Failed())
            return false;
        Frame<Defaults> &top = stack.back();
        if (!top.members || top.next >= top.members->size()) {
            if (top.cluster != 0 && top.copy + 1 < top.array.count) {
                if (!Count(1))
                    return false;
                top.EnterCopy(top.copy + 1);
            } else {
                stack.pop_back();
            }
            continue;
        }
        const std::uint32_t element = (*top.members)[top.next++];
        const QString prefix = top.prefix;
        const std::uint64_t offset = top.offset;
        const Defaults defaults = top.defaults;
        if (m_elements.IsA(element, u"register")) {
            if (!ExpandRegister(element, prefix, offset, defaults, peripheral))
                return false;
            continue;
        }
        if (m_elements.OwnChild(element, u"name") == 0) {
            m_elements.Fail(Tr(SvdMessages::kNoRegisterName));
            return false;
        }
        if (!m_elements.Resolves(element))
            return false;
        const SvdElements::Properties &properties = m_elements.PropertiesOf(element);
        std::uint32_t clusterOffset = 0;
        if (!ReadNumber(properties.child[SvdElements::AddressOffset], SvdMessages::kNoAddressOffset, clusterOffset))
            return false;
        Frame<Defaults> cluster;
        if (!m_elements.ArrayOf(element, cluster.array))
            return false;
        if (cluster.array.count == 0)
            continue;
        if (stack.size() >= std::size_t(kMaxClusterDepth)) {
            m_elements.Fail(Tr(SvdMessages::kClustersTooDeep).arg(m_peripheralName, QString::number(kMaxClusterDepth)));
            return false;
        }
        if (!Count(1))
            return false;
        cluster.cluster = element;
        cluster.members = m_elements.Members(element);
        cluster.clusterName = m_elements.NameOf(element);
        cluster.outerPrefix = prefix;
        cluster.outerOffset = offset + clusterOffset + properties.addressStep;
        cluster.defaults = defaults;
        if (!ApplyDefaults(element, properties, cluster.defaults))
            return false;
        cluster.EnterCopy(0);
        stack.push_back(std::move(cluster));
    }
    if (m_elements.Failed())
        return false;
    if (m_baseAddress + m_end > kAddressSpace) {
        m_elements.Fail(Tr(SvdMessages::kAddressWraps).arg(m_peripheralName));
        return false;
    }
    if (m_end > 0xFFFFFFFFull) {
        m_elements.Fail(Tr(SvdMessages::kSpanTooLarge).arg(m_peripheralName));
        return false;
    }
    peripheral.span = std::uint32_t(m_end);
    return true;
}

// A register reads and spans at least a word, a wider one its whole size.
bool SvdRegisterExpansion::CheckEnd(const QString &name, std::uint64_t offset, std::uint32_t sizeBits)
{
    const std::uint64_t bytes = std::max<std::uint64_t>(4, (std::uint64_t(sizeBits) + 7) / 8);
    const std::uint64_t end = offset + bytes;
    if (m_baseAddress + end > kAddressSpace) {
        m_elements.Fail(Tr(SvdMessages::kAddressWraps).arg(name));
        return false;
    }
    m_end = std::max(m_end, end);
    return true;
}

bool SvdRegisterExpansion::ExpandRegister(std::uint32_t element, const QString &prefix, std::uint64_t offset,
                                          const Defaults &outer, SvdPeripheral &peripheral)
{
    if (m_elements.OwnChild(element, u"name") == 0) {
        m_elements.Fail(Tr(SvdMessages::kNoRegisterName));
        return false;
    }
    if (!m_elements.Resolves(element))
        return false;
    const SvdElements::Properties &properties = m_elements.PropertiesOf(element);
    std::uint32_t ownOffset = 0;
    if (!ReadNumber(properties.child[SvdElements::AddressOffset], SvdMessages::kNoAddressOffset, ownOffset))
        return false;
    Defaults own = outer;
    if (!ApplyDefaults(element, properties, own))
        return false;
    SvdArray array;
    if (!m_elements.ArrayOf(element, array))
        return false;
    const FieldList *fields = FieldsOf(element, own.access);
    QString fieldsFailure;
    if (fields == nullptr && m_unknownFields && m_elements.Failed()) {
        // Where the register lies is known, what its fields say is not.
        static const FieldList kUnknown;
        fieldsFailure = m_elements.Failure();
        m_elements.ClearFailure();
        fields = &kUnknown;
    }
    if (fields == nullptr || !Count(std::uint64_t(array.count) * std::uint64_t(1 + fields->fields.size())))
        return false;

    SvdRegister reg;
    reg.size = own.size;
    reg.access = own.access;
    reg.resetValue = own.resetValue;
    reg.resetMask = own.resetMask;
    reg.readAction = m_elements.Text(properties.child[SvdElements::ReadAction]).trimmed();
    reg.readOnly = own.access == u"read-only";
    reg.readHasSideEffect = !reg.readAction.isEmpty() || fields->readHasSideEffect;
    reg.fields = fields->fields;
    // The name child is the element's own: properties never copy it.
    const QString name = m_elements.TrimmedText(properties.child[SvdElements::Name]);
    const QString description = DescriptionOf(m_elements, properties);
    const ElementDescriptions descriptions(array, description, kRegisterDescriptionRun);
    const std::uint64_t first = offset + ownOffset + properties.addressStep;
    for (std::uint32_t k = 0; k < array.count; ++k) {
        reg.name = prefix + array.Substitute(name, k);
        reg.description = descriptions.Of(k);
        const std::uint64_t at = first + std::uint64_t(k) * array.increment;
        if (!CheckEnd(reg.name, at, reg.size))
            return false;
        reg.addressOffset = std::uint32_t(at);
        reg.address = std::uint32_t(m_baseAddress + at);
        peripheral.registers.append(reg);
        if (!fieldsFailure.isEmpty())
            m_unknownFields->append({int(peripheral.registers.size() - 1), fieldsFailure});
    }
    return true;
}

// Registers with the same field list and access share one expanded list.
const SvdRegisterExpansion::FieldList *SvdRegisterExpansion::FieldsOf(std::uint32_t reg, const QString &access)
{
    static const FieldList kNone;
    const SvdElements::ElementList members = m_elements.Members(reg);
    if (m_elements.Failed())
        return nullptr;
    if (!members || members->empty())
        return &kNone;
    const std::pair<const void *, QString> key(members.get(), access);
    if (const auto known = m_fieldLists.find(key); known != m_fieldLists.end())
        return &known->second;
    FieldList list;
    for (const std::uint32_t field : *members) {
        if (!ReadField(field, access, list))
            return nullptr;
    }
    return &m_fieldLists.emplace(key, std::move(list)).first->second;
}

bool SvdRegisterExpansion::ReadField(std::uint32_t element, const QString &registerAccess, FieldList &list)
{
    if (m_elements.OwnChild(element, u"name") == 0) {
        m_elements.Fail(Tr(SvdMessages::kNoFieldName));
        return false;
    }
    if (!m_elements.Resolves(element))
        return false;
    const SvdElements::Properties &properties = m_elements.PropertiesOf(element);
    SvdField field;
    if (!ReadPosition(properties, field))
        return false;
    const std::uint64_t bitOffset = field.bitOffset + properties.addressStep;
    if (bitOffset > 0xFFFFFFFFull) {
        m_elements.Fail(Tr(SvdMessages::kNoBitOffset));
        return false;
    }
    field.bitOffset = std::uint32_t(bitOffset);
    const std::uint32_t access = properties.child[SvdElements::Access];
    field.access = access != 0 ? AccessText(access) : registerAccess;
    field.readOnly = field.access == u"read-only";
    if (!m_elements.Text(properties.child[SvdElements::ReadAction]).trimmed().isEmpty())
        list.readHasSideEffect = true;
    SvdArray array;
    if (!m_elements.ArrayOf(element, array) || !Count(array.count))
        return false;
    field.enumValues = EnumValuesOf(element);
    if (m_elements.Failed())
        return false;
    // The name child is the element's own: properties never copy it.
    const QString name = m_elements.TrimmedText(properties.child[SvdElements::Name]);
    const QString description = DescriptionOf(m_elements, properties);
    const ElementDescriptions descriptions(array, description, kFieldDescriptionRun);
    const std::uint32_t firstBit = field.bitOffset;
    for (std::uint32_t k = 0; k < array.count; ++k) {
        field.name = array.Substitute(name, k);
        field.description = descriptions.Of(k);
        field.bitOffset = firstBit + k * array.increment;
        list.fields.append(field);
    }
    return true;
}

// Position: bitOffset and bitWidth, else lsb and msb (either order), else
// bitRange "[msb:lsb]". A position that is not a number is as missing.
bool SvdRegisterExpansion::ReadPosition(const SvdElements::Properties &properties, SvdField &field)
{
    const auto &child = properties.child;
    if (child[SvdElements::BitOffset] != 0 && child[SvdElements::BitWidth] != 0) {
        return ReadNumber(child[SvdElements::BitOffset], SvdMessages::kNoBitOffset, field.bitOffset) &&
               ReadNumber(child[SvdElements::BitWidth], SvdMessages::kNoBitWidth, field.bitWidth);
    }
    std::uint32_t low = 0;
    std::uint32_t high = 0;
    if (child[SvdElements::Lsb] != 0 && child[SvdElements::Msb] != 0) {
        if (!ReadNumber(child[SvdElements::Lsb], SvdMessages::kNoBitOffset, low) ||
            !ReadNumber(child[SvdElements::Msb], SvdMessages::kNoBitOffset, high)) {
            return false;
        }
    } else if (child[SvdElements::BitRange] != 0) {
        QString range = m_elements.Text(child[SvdElements::BitRange]).trimmed();
        if (range.startsWith(u'[') && range.endsWith(u']'))
            range = range.sliced(1, range.size() - 2);
        const QStringList parts = range.split(u':');
        const std::optional<std::uint32_t> msb = SvdText::ReadSvdNumber(parts.first());
        const std::optional<std::uint32_t> lsb = parts.size() == 2 ? SvdText::ReadSvdNumber(parts[1]) : msb;
        if (parts.size() > 2 || !msb || !lsb) {
            m_elements.Fail(Tr(SvdMessages::kNoBitOffset));
            return false;
        }
        high = *msb;
        low = *lsb;
    } else {
        m_elements.Fail(Tr(child[SvdElements::BitOffset] != 0 ? SvdMessages::kNoBitWidth : SvdMessages::kNoBitOffset));
        return false;
    }
    if (high < low)
        std::swap(high, low);
    field.bitOffset = low;
    field.bitWidth = high - low + 1;
    return true;
}

// Every enumeratedValues block of the field (or of its nearest base with
// any), in document order. A field with one block shares that block's list.
const QList<SvdEnumValue> &SvdRegisterExpansion::EnumValuesOf(std::uint32_t field)
{
    static const QList<SvdEnumValue> kNone;
    const std::uint32_t owner = m_elements.EnumBlocksOwner(field);
    if (m_elements.Failed())
        return kNone;
    if (const auto known = m_fieldValues.find(owner); known != m_fieldValues.end())
        return known->second;
    QVarLengthArray<std::uint32_t, 4> blocks;
    for (std::uint32_t child = m_elements.FirstChild(owner); child != 0; child = m_elements.NextSibling(child)) {
        if (m_elements.IsA(child, u"enumeratedValues"))
            blocks.push_back(child);
    }
    QList<SvdEnumValue> values;
    if (blocks.size() == 1) {
        values = ValuesOfBlock(blocks.front());
    } else {
        for (const std::uint32_t block : blocks) {
            const QList<SvdEnumValue> &more = ValuesOfBlock(block);
            if (m_elements.Failed() || !Count(std::uint64_t(more.size())))
                return kNone;
            values += more;
        }
    }
    if (m_elements.Failed())
        return kNone;
    return m_fieldValues.emplace(owner, std::move(values)).first->second;
}

// A block's entries, or its nearest base's when it has none of its own.
// Entries without a usable value (a default entry, say) give no name to show.
const QList<SvdEnumValue> &SvdRegisterExpansion::ValuesOfBlock(std::uint32_t block)
{
    static const QList<SvdEnumValue> kNone;
    const std::uint32_t owner = m_elements.EnumValuesOwner(block);
    if (m_elements.Failed())
        return kNone;
    if (const auto known = m_blockValues.find(owner); known != m_blockValues.end())
        return known->second;
    QList<SvdEnumValue> values;
    for (std::uint32_t entry = m_elements.FirstChild(owner); entry != 0; entry = m_elements.NextSibling(entry)) {
        if (!m_elements.IsA(entry, u"enumeratedValue"))
            continue;
        const std::uint32_t value = m_elements.OwnChild(entry, u"value");
        QString decoded;
        const std::optional<std::uint32_t> number =
            value != 0
                ? SvdText::ReadSvdNumber(m_elements.TextView(value, decoded), SvdText::NumberForm::EnumeratedValue)
                : std::nullopt;
        if (!number)
            continue;
        if (!Count(1))
            return kNone;
        values.append({m_elements.NameOf(entry), *number});
    }
    return m_blockValues.emplace(owner, std::move(values)).first->second;
}

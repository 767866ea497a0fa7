#include "regmap/SvdRegisterExpansion.h"

#include "regmap/SvdArray.h"
#include "regmap/SvdElements.h"
#include "regmap/SvdMessages.h"
#include "regmap/SvdText.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kRegisterDescriptionRun = 10;
constexpr int kFieldDescriptionRun = 14;

// One level of the cluster walk: the list being walked, and for a cluster
// array which copy of it the walk is in.
struct Frame
{
    std::uint32_t cluster = 0; // 0 for the peripheral's own list
    std::uint32_t content = 0; // whose register and cluster children are walked
    std::uint32_t next = 0;
    SvdArray array;
    std::uint32_t copy = 0;
    QString clusterName;
    QString outerPrefix;
    std::uint32_t outerOffset = 0;
    QString prefix; // "CLUSTER." for registers of this copy
    std::uint32_t offset = 0;

    void EnterCopy(std::uint32_t k)
    {
        copy = k;
        prefix = outerPrefix + array.Substitute(clusterName, k) + u'.';
        offset = outerOffset + k * array.increment;
    }
};

// "[msb:lsb]", decimal; a single number is a one-bit range.
void ReadBitRange(const QString &text, std::uint32_t &offset, std::uint32_t &width)
{
    QString inner = text.trimmed();
    inner.remove(u'[').remove(u']');
    const QStringList parts = inner.split(u':');
    std::uint32_t msb = SvdText::ReadNumber(parts.first(), 10);
    std::uint32_t lsb = parts.size() > 1 ? SvdText::ReadNumber(parts[1], 10) : msb;
    if (msb < lsb)
        std::swap(msb, lsb);
    offset = lsb;
    width = msb - lsb + 1;
}

} // namespace

SvdRegisterExpansion::SvdRegisterExpansion(SvdElements &elements)
    : m_elements(elements)
{}

bool SvdRegisterExpansion::Count(std::uint64_t elements)
{
    m_count += elements;
    if (m_count <= kMaxElements)
        return true;
    m_elements.Fail(QStringLiteral("[svd] %1 expands to more than %2 elements!\n")
                        .arg(m_peripheralName, QString::number(kMaxElements)));
    return false;
}

SvdRegisterExpansion::Inherited SvdRegisterExpansion::Properties(std::uint32_t element, const Inherited &outer)
{
    Inherited result = outer;
    if (const std::uint32_t size = m_elements.Child(element, u"size"))
        result.size = SvdText::ReadPrefixedNumber(m_elements.Text(size));
    if (const std::uint32_t access = m_elements.Child(element, u"access"))
        result.access = m_elements.Text(access).trimmed();
    return result;
}

bool SvdRegisterExpansion::Expand(std::uint32_t peripheralElement, SvdPeripheral &peripheral)
{
    m_peripheralName = peripheral.name;
    m_count = 0;
    if (!m_elements.Resolves(peripheralElement))
        return false;
    const std::uint32_t root = m_elements.Root();
    Inherited device;
    if (const std::uint32_t size = m_elements.OwnChild(root, u"size"))
        device.size = SvdText::ReadPrefixedNumber(m_elements.Text(size));
    if (const std::uint32_t access = m_elements.OwnChild(root, u"access"))
        device.access = m_elements.Text(access).trimmed();
    const Inherited own = Properties(peripheralElement, device);
    const std::uint32_t registers = m_elements.Child(peripheralElement, u"registers");

    std::vector<Frame> stack;
    std::vector<Inherited> properties;
    if (registers != 0) {
        Frame list;
        list.content = registers;
        list.next = m_elements.FirstChild(registers);
        stack.push_back(list);
        properties.push_back(own);
    }
    while (!stack.empty()) {
        if (m_elements.Failed())
            return false;
        Frame &top = stack.back();
        if (top.next == 0) {
            if (top.cluster != 0 && top.copy + 1 < top.array.count) {
                if (!Count(1))
                    return false;
                top.EnterCopy(top.copy + 1);
                top.next = m_elements.FirstChild(top.content);
            } else {
                stack.pop_back();
                properties.pop_back();
            }
            continue;
        }
        const std::uint32_t element = top.next;
        top.next = m_elements.NextSibling(element);
        const QString prefix = top.prefix;
        const std::uint32_t offset = top.offset;
        const Inherited inherited = properties.back();
        if (m_elements.IsA(element, u"register")) {
            if (!ExpandRegister(element, prefix, offset, inherited, peripheral))
                return false;
            continue;
        }
        if (!m_elements.IsA(element, u"cluster"))
            continue;
        if (!m_elements.Resolves(element))
            return false;
        if (m_elements.OwnChild(element, u"name") == 0) {
            m_elements.Fail(QString::fromLatin1(SvdMessages::kNoRegisterName));
            return false;
        }
        const std::uint32_t clusterOffset = m_elements.Child(element, u"addressOffset");
        if (clusterOffset == 0) {
            m_elements.Fail(QString::fromLatin1(SvdMessages::kNoAddressOffset));
            return false;
        }
        Frame cluster;
        if (!SvdArray::Read(m_elements, element, cluster.array))
            return false;
        if (cluster.array.count == 0)
            continue;
        if (stack.size() >= std::size_t(kMaxClusterDepth)) {
            m_elements.Fail(QStringLiteral("[svd] %1 clusters nested deeper than %2!\n")
                                .arg(m_peripheralName, QString::number(kMaxClusterDepth)));
            return false;
        }
        if (!Count(1))
            return false;
        cluster.cluster = element;
        cluster.content = m_elements.ClusterContent(element);
        cluster.next = m_elements.FirstChild(cluster.content);
        cluster.clusterName = m_elements.NameOf(element);
        cluster.outerPrefix = prefix;
        cluster.outerOffset = offset + SvdText::ReadNumber(m_elements.Text(clusterOffset), 16);
        cluster.EnterCopy(0);
        const Inherited clusterProperties = Properties(element, inherited);
        stack.push_back(std::move(cluster));
        properties.push_back(clusterProperties);
    }
    if (m_elements.Failed())
        return false;
    std::uint32_t highest = 0;
    for (const SvdRegister &reg : peripheral.registers)
        highest = std::max(highest, reg.addressOffset);
    peripheral.span = highest + 4;
    return true;
}

bool SvdRegisterExpansion::ExpandRegister(std::uint32_t element, const QString &prefix, std::uint32_t offset,
                                          const Inherited &inherited, SvdPeripheral &peripheral)
{
    enum { Name, Dim, DimIncrement, DimIndex, AddressOffset, Description, Size, Access, ReadAction, Fields, Count_ };
    static const QStringView kTags[] = {u"name",        u"dim",  u"dimIncrement", u"dimIndex",   u"addressOffset",
                                        u"description", u"size", u"access",       u"readAction", u"fields"};
    std::uint32_t found[Count_];
    m_elements.Gather(element, kTags, found, Count_, AddressOffset);
    if (found[Name] == 0) {
        m_elements.Fail(QString::fromLatin1(SvdMessages::kNoRegisterName));
        return false;
    }
    if (!m_elements.Resolves(element))
        return false;
    if (found[AddressOffset] == 0) {
        m_elements.Fail(QString::fromLatin1(SvdMessages::kNoAddressOffset));
        return false;
    }
    const QString name = m_elements.Text(found[Name]);
    const QString description = m_elements.Text(found[Description]);
    const std::uint32_t ownOffset = SvdText::ReadNumber(m_elements.Text(found[AddressOffset]), 16);
    Inherited own = inherited;
    if (found[Size] != 0)
        own.size = SvdText::ReadPrefixedNumber(m_elements.Text(found[Size]));
    if (found[Access] != 0)
        own.access = m_elements.Text(found[Access]).trimmed();
    bool sideEffect = !m_elements.Text(found[ReadAction]).trimmed().isEmpty();
    SvdArray array;
    if (!SvdArray::Read(m_elements, element, found + Dim, array))
        return false;

    QList<SvdField> fields;
    for (std::uint32_t f = m_elements.FirstChild(found[Fields]); f != 0; f = m_elements.NextSibling(f)) {
        if (m_elements.IsA(f, u"field") && !ReadField(f, own.access, fields, sideEffect))
            return false;
    }
    if (m_elements.Failed() || !Count(std::uint64_t(array.count) * std::uint64_t(1 + fields.size())))
        return false;

    SvdRegister reg;
    reg.size = own.size;
    reg.readOnly = own.access == u"read-only";
    reg.readHasSideEffect = sideEffect;
    reg.fields = fields;
    const QString plainDescription = SvdText::RemoveSpaceRuns(description, kRegisterDescriptionRun);
    for (std::uint32_t k = 0; k < array.count; ++k) {
        reg.name = prefix + array.Substitute(name, k);
        reg.description = array.isArray
                              ? SvdText::RemoveSpaceRuns(array.Substitute(description, k), kRegisterDescriptionRun)
                              : plainDescription;
        reg.addressOffset = offset + ownOffset + k * array.increment;
        reg.address = peripheral.baseAddress + reg.addressOffset;
        peripheral.registers.append(reg);
    }
    return true;
}

bool SvdRegisterExpansion::ReadField(std::uint32_t element, const QString &registerAccess, QList<SvdField> &fields,
                                     bool &sideEffect)
{
    enum {
        Name,
        Dim,
        DimIncrement,
        DimIndex,
        Description,
        BitOffset,
        BitWidth,
        Lsb,
        Msb,
        BitRange,
        Access,
        ReadAction,
        Count_
    };
    static const QStringView kTags[] = {u"name",        u"dim",       u"dimIncrement", u"dimIndex",
                                        u"description", u"bitOffset", u"bitWidth",     u"lsb",
                                        u"msb",         u"bitRange",  u"access",       u"readAction"};
    std::uint32_t found[Count_];
    m_elements.Gather(element, kTags, found, Count_, Description);
    if (found[Name] == 0) {
        m_elements.Fail(QString::fromLatin1(SvdMessages::kNoFieldName));
        return false;
    }
    if (!m_elements.Resolves(element))
        return false;
    SvdField field;
    const QString name = m_elements.Text(found[Name]);
    const QString description = m_elements.Text(found[Description]);
    // Position: bitOffset+bitWidth, else lsb+msb, else bitRange.
    if (found[BitOffset] != 0 && found[BitWidth] != 0) {
        field.bitOffset = SvdText::ReadNumber(m_elements.Text(found[BitOffset]), 10);
        field.bitWidth = SvdText::ReadNumber(m_elements.Text(found[BitWidth]), 10);
    } else if (found[Lsb] != 0 && found[Msb] != 0) {
        std::uint32_t low = SvdText::ReadPrefixedNumber(m_elements.Text(found[Lsb]));
        std::uint32_t high = SvdText::ReadPrefixedNumber(m_elements.Text(found[Msb]));
        if (high < low)
            std::swap(high, low);
        field.bitOffset = low;
        field.bitWidth = high - low + 1;
    } else if (found[BitRange] != 0) {
        ReadBitRange(m_elements.Text(found[BitRange]), field.bitOffset, field.bitWidth);
    } else {
        m_elements.Fail(
            QString::fromLatin1(found[BitOffset] != 0 ? SvdMessages::kNoBitWidth : SvdMessages::kNoBitOffset));
        return false;
    }
    field.readOnly = (found[Access] != 0 ? m_elements.Text(found[Access]).trimmed() : registerAccess) == u"read-only";
    sideEffect = sideEffect || !m_elements.Text(found[ReadAction]).trimmed().isEmpty();
    SvdArray array;
    if (!SvdArray::Read(m_elements, element, found + Dim, array) || !Count(array.count))
        return false;
    ReadEnumValues(element, field);
    const std::uint32_t firstBit = field.bitOffset;
    const QString plainDescription = SvdText::RemoveSpaceRuns(description, kFieldDescriptionRun);
    for (std::uint32_t k = 0; k < array.count; ++k) {
        field.name = array.Substitute(name, k);
        field.description = array.isArray
                                ? SvdText::RemoveSpaceRuns(array.Substitute(description, k), kFieldDescriptionRun)
                                : plainDescription;
        field.bitOffset = firstBit + k * array.increment;
        fields.append(field);
    }
    return true;
}

// Values without a `value` (a default entry) give no name to show.
void SvdRegisterExpansion::ReadEnumValues(std::uint32_t field, SvdField &out)
{
    for (const std::uint32_t block : m_elements.EnumBlocks(field)) {
        const std::uint32_t values = m_elements.EnumValuesOf(block);
        for (std::uint32_t v = m_elements.FirstChild(values); v != 0; v = m_elements.NextSibling(v)) {
            if (!m_elements.IsA(v, u"enumeratedValue"))
                continue;
            const std::uint32_t value = m_elements.OwnChild(v, u"value");
            if (value != 0)
                out.enumValues.append({m_elements.NameOf(v), SvdText::ReadPrefixedNumber(m_elements.Text(value))});
        }
    }
}

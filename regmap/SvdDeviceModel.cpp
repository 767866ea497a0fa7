#include "regmap/SvdDeviceModel.h"

#include "regmap/SvdArray.h"
#include "regmap/SvdElements.h"
#include "regmap/SvdMessages.h"
#include "regmap/SvdRegisterExpansion.h"
#include "regmap/SvdText.h"
#include "xml/XmlDocument.h"
#include "link/Tr.h"

#include <algorithm>
#include <type_traits>

namespace SvdDeviceModel {

namespace {

// Names listed for peripheral arrays in one file, beyond which an array is
// listed under its literal name (reading it then reports why).
constexpr std::uint32_t kMaxListedNames = 1u << 18;

SvdPeripheralResult Failure(const QString &message)
{
    SvdPeripheralResult result;
    result.outcome = SvdPeripheralResult::Outcome::Failed;
    result.message = message;
    return result;
}

// The root's `peripherals` element, 0 when there is none.
std::uint32_t PeripheralsOf(const SvdElements &elements)
{
    return elements.OwnChild(elements.Root(), u"peripherals");
}

// The end of the peripheral's own address blocks, as an offset; 0 without any.
std::uint64_t AddressBlocksEnd(SvdElements &elements, std::uint32_t peripheral)
{
    std::uint64_t end = 0;
    for (std::uint32_t c = elements.FirstChild(peripheral); c != 0; c = elements.NextSibling(c)) {
        if (!elements.IsA(c, u"addressBlock"))
            continue;
        const std::uint32_t offset = elements.OwnChild(c, u"offset");
        const std::uint32_t size = elements.OwnChild(c, u"size");
        const std::optional<std::uint32_t> first =
            offset != 0 ? SvdText::ReadSvdNumber(elements.Text(offset)) : std::optional<std::uint32_t>(0);
        const std::optional<std::uint32_t> bytes =
            size != 0 ? SvdText::ReadSvdNumber(elements.Text(size)) : std::nullopt;
        if (first && bytes)
            end = std::max(end, std::uint64_t(*first) + *bytes);
    }
    return end;
}

SvdPeripheralResult Read(XmlDocument &document, QStringView name, bool asFarAsKnown);

bool NamesElements(QAnyStringView pattern)
{
    return pattern.visit([](auto view) {
        if constexpr (std::is_same_v<decltype(view), QUtf8StringView>)
            return view.toString().contains(QLatin1StringView("%s"));
        else
            return view.contains(QLatin1StringView("%s"));
    });
}

bool SameTrimmed(QAnyStringView text, QStringView name)
{
    return text.visit([name](auto view) {
        if constexpr (std::is_same_v<decltype(view), QUtf8StringView>)
            return view.toString().trimmed() == name;
        else
            return view.trimmed() == name;
    });
}

} // namespace

QString SvdFilePath(const QString &exeDir, const QString &chip)
{
    return QStringLiteral("%1/svd/%2.svd").arg(exeDir, chip);
}

QStringList ReadPeripheralNames(const QString &path)
{
    XmlDocument document;
    document.LoadFile(path);
    return ReadPeripheralNames(document);
}

QStringList ReadPeripheralNames(XmlDocument &document)
{
    QStringList names;
    SvdElements elements(document);
    std::uint32_t listed = 0;
    for (std::uint32_t p = elements.FirstChild(PeripheralsOf(elements)); p != 0; p = elements.NextSibling(p)) {
        if (!elements.IsA(p, u"peripheral"))
            continue;
        const QString name = elements.NameOf(p);
        SvdArray array;
        if (!elements.ArrayOf(p, array, false) || !array.isArray || listed + array.count > kMaxListedNames) {
            names.append(name);
            continue;
        }
        listed += array.count;
        for (std::uint32_t k = 0; k < array.count; ++k)
            names.append(array.Substitute(name, k));
    }
    return names;
}

SvdPeripheralResult ReadPeripheral(const QString &path, QStringView name)
{
    XmlDocument document;
    document.LoadFile(path);
    return ReadPeripheral(document, name);
}

SvdPeripheralResult ReadPeripheral(XmlDocument &document, QStringView name)
{
    return Read(document, name, false);
}

SvdPeripheralResult ReadPeripheralAsFarAsKnown(XmlDocument &document, QStringView name)
{
    return Read(document, name, true);
}

namespace {

SvdPeripheralResult Read(XmlDocument &document, QStringView name, bool asFarAsKnown)
{
    SvdElements elements(document);
    const std::uint32_t peripherals = PeripheralsOf(elements);
    if (peripherals == 0)
        return Failure(Tr(SvdMessages::kNoPeripherals));
    for (std::uint32_t p = elements.FirstChild(peripherals); p != 0; p = elements.NextSibling(p)) {
        if (!elements.IsA(p, u"peripheral"))
            continue;
        const std::uint32_t nameElement = elements.OwnChild(p, u"name");
        if (nameElement == 0)
            return Failure(Tr(SvdMessages::kNoPeripheralName));
        // A name without "%s" names no array element: another name is passed
        // by without reading the peripheral's array.
        QString decoded;
        const QAnyStringView literalView = elements.TextView(nameElement, decoded);
        if (!NamesElements(literalView) && !SameTrimmed(literalView, name))
            continue;
        const QString literal = elements.NameOf(p);
        SvdArray array;
        // Another peripheral's unusable array is no failure of this one.
        const bool arrayRead = elements.ArrayOf(p, array, false);
        if (!arrayRead && literal == name) {
            elements.ArrayOf(p, array);
            return Failure(elements.Failure());
        }
        std::uint32_t copy = 0;
        if (arrayRead && array.isArray) {
            const qint64 index = array.IndexOf(literal, name);
            if (index < 0)
                continue;
            copy = std::uint32_t(index);
        } else if (literal != name) {
            continue;
        }

        SvdPeripheralResult result;
        SvdPeripheral &peripheral = result.peripheral;
        peripheral.name = name.toString();
        if (!elements.Resolves(p))
            return Failure(elements.Failure());
        const SvdElements::Properties &properties = elements.PropertiesOf(p);
        const std::uint32_t base = properties.child[SvdElements::BaseAddress];
        const std::optional<std::uint32_t> baseAddress =
            base != 0 ? SvdText::ReadSvdNumber(elements.Text(base)) : std::nullopt;
        if (!baseAddress)
            return Failure(Tr(SvdMessages::kNoBaseAddress));
        const std::uint64_t address =
            std::uint64_t(*baseAddress) + properties.addressStep + std::uint64_t(copy) * array.increment;
        if (address > 0xFFFFFFFFull)
            return Failure(Tr(SvdMessages::kAddressWraps).arg(peripheral.name));
        peripheral.baseAddress = std::uint32_t(address);
        SvdRegisterExpansion expansion(elements);
        if (asFarAsKnown)
            expansion.KeepUnknownFields(&result.unknownFields);
        if (!expansion.Expand(p, peripheral)) {
            if (!asFarAsKnown)
                return Failure(elements.Failure());
            result.outcome = SvdPeripheralResult::Outcome::Failed;
            result.message = elements.Failure();
            result.partial = true;
            std::uint64_t end = std::max<std::uint64_t>(4, AddressBlocksEnd(elements, p));
            for (const SvdRegister &reg : peripheral.registers)
                end = std::max<std::uint64_t>(end, reg.addressOffset + std::max<std::uint64_t>(4, (reg.size + 7) / 8));
            if (end <= 4)
                end = SvdPeripheralResult::kUnknownSpan;
            peripheral.span = std::uint32_t(std::min<std::uint64_t>(end, 0x100000000ull - peripheral.baseAddress));
            return result;
        }
        result.outcome = SvdPeripheralResult::Outcome::Found;
        return result;
    }
    return {};
}

} // namespace

} // namespace SvdDeviceModel

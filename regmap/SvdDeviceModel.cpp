#include "regmap/SvdDeviceModel.h"

#include "regmap/SvdText.h"
#include "regmap/XmlDocument.h"

namespace SvdDeviceModel {

namespace {

// The failure messages, character for character.
const char *const kNoPeripherals = "[svd] peripherals not find !\n";
const char *const kNoPeripheralName = "[svd] peripherals->peripheral->name not find !\n";
const char *const kNoBaseAddress = "[svd] peripherals->peripheral->baseAddress not find!\n";
const char *const kNoRegisters = "[svd] peripherals->peripheral->registers  not find!\n";
const char *const kNoRegisterName = "[svd] peripherals->peripheral->registers->register->name  not find!\n";
const char *const kNoAddressOffset = "[svd] peripherals->peripheral->registers->register->addressOffset  not find!\n";
const char *const kNoFields = "[svd] peripherals->peripheral->registers->register->fields  not find!\n";
const char *const kNoFieldName = "[svd] peripherals->peripheral->registers->register->fields->field->name not find!\n";
const char *const kNoBitOffset =
    "[svd] peripherals->peripheral->registers->register->fields->field->bitOffset not find!\n";
const char *const kNoBitWidth =
    "[svd] peripherals->peripheral->registers->register->fields->field->bitWidth not find!\n";

constexpr int kRegisterDescriptionRun = 10;
constexpr int kFieldDescriptionRun = 14;

SvdPeripheralResult Failure(const char *message)
{
    SvdPeripheralResult result;
    result.outcome = SvdPeripheralResult::Outcome::Failed;
    result.message = QString::fromLatin1(message);
    return result;
}

// Root element, then its `peripherals` child; the cursor ends inside it.
bool EnterPeripherals(XmlDocument &document)
{
    document.Rewind();
    if (!document.FindElement(u""))
        return false;
    document.EnterElement();
    if (!document.FindElement(u"peripherals"))
        return false;
    document.EnterElement();
    return true;
}

// The optional description that may follow a name; absent leaves the cursor.
QString OptionalDescription(XmlDocument &document, int runLength)
{
    if (!document.FindElement(u"description"))
        return {};
    return SvdText::RemoveSpaceRuns(document.ElementText(), runLength);
}

// Reads the fields of the register the cursor is in; null on success.
const char *ReadFields(XmlDocument &document, SvdRegister &reg)
{
    while (document.FindElement(u"field")) {
        document.EnterElement();
        SvdField field;
        if (!document.FindElement(u"name"))
            return kNoFieldName;
        field.name = document.ElementText();
        field.description = OptionalDescription(document, kFieldDescriptionRun);
        if (!document.FindElement(u"bitOffset"))
            return kNoBitOffset;
        field.bitOffset = SvdText::ReadNumber(document.ElementText(), 10);
        if (!document.FindElement(u"bitWidth"))
            return kNoBitWidth;
        field.bitWidth = SvdText::ReadNumber(document.ElementText(), 10);
        document.LeaveElement();
        reg.fields.append(std::move(field));
    }
    return nullptr;
}

// Reads the registers of the peripheral the cursor is in, after its name.
const char *ReadRegisters(XmlDocument &document, SvdPeripheral &peripheral)
{
    std::uint32_t lastOffset = 0;
    while (document.FindElement(u"register")) {
        document.EnterElement();
        SvdRegister reg;
        if (!document.FindElement(u"name"))
            return kNoRegisterName;
        reg.name = document.ElementText();
        reg.description = OptionalDescription(document, kRegisterDescriptionRun);
        if (!document.FindElement(u"addressOffset"))
            return kNoAddressOffset;
        reg.addressOffset = SvdText::ReadNumber(document.ElementText(), 16);
        reg.address = peripheral.baseAddress + reg.addressOffset;
        lastOffset = reg.addressOffset;
        if (!document.FindElement(u"fields"))
            return kNoFields;
        document.EnterElement();
        if (const char *failure = ReadFields(document, reg))
            return failure;
        document.LeaveElement();
        document.LeaveElement();
        peripheral.registers.append(std::move(reg));
    }
    peripheral.span = lastOffset + 4;
    return nullptr;
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
    if (!EnterPeripherals(document))
        return names;
    while (document.FindElement(u"peripheral")) {
        document.EnterElement();
        names.append(document.FindElement(u"name") ? document.ElementText() : QString());
        document.LeaveElement();
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
    if (!EnterPeripherals(document))
        return Failure(kNoPeripherals);
    while (document.FindElement(u"peripheral")) {
        document.EnterElement();
        if (!document.FindElement(u"name"))
            return Failure(kNoPeripheralName);
        if (document.ElementText() != name) {
            document.LeaveElement();
            continue;
        }
        SvdPeripheralResult result;
        SvdPeripheral &peripheral = result.peripheral;
        peripheral.name = name.toString();
        if (!document.FindElement(u"baseAddress"))
            return Failure(kNoBaseAddress);
        peripheral.baseAddress = SvdText::ReadNumber(document.ElementText(), 16);
        if (!document.FindElement(u"registers"))
            return Failure(kNoRegisters);
        document.EnterElement();
        if (const char *failure = ReadRegisters(document, peripheral))
            return Failure(failure);
        result.outcome = SvdPeripheralResult::Outcome::Found;
        return result;
    }
    return {};
}

} // namespace SvdDeviceModel

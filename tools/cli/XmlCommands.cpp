// Commands over the XML reader and the SVD device model.
#include "tools/cli/CliCommand.h"

#include "regmap/SvdDeviceModel.h"
#include "regmap/SvdMessages.h"
#include "xml/XmlDocument.h"
#include "link/Tr.h"

namespace {

// Descriptions on one line: line breaks shown as "\n", carriage returns as "\r".
QString OneLine(QString text)
{
    text.replace(u'\n', QStringLiteral("\\n"));
    text.replace(u'\r', QStringLiteral("\\r"));
    return text;
}

constexpr qsizetype kWriteChunk = 1 << 16;

// "0x%08X"
QString Hex(std::uint32_t value)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(value, 8, 16, QChar(u'0')).toUpper();
}

// Prints "sound" or "not sound", then the error text; whatever the file, it
// succeeds.
int XmlCheck(const CliContext &context)
{
    if (context.args.size() != 1)
        return CliUsageError;
    XmlDocument document;
    document.LoadFile(context.args[0]);
    CliPrintLine(document.IsSound() ? QStringLiteral("sound") : QStringLiteral("not sound"));
    CliPrintLine(document.ErrorText());
    return CliSuccess;
}

// A file that cannot be opened or read fails as svd-peripheral fails on it.
int SvdNames(const CliContext &context)
{
    if (context.args.size() != 1)
        return CliUsageError;
    XmlDocument document;
    if (!document.LoadFile(context.args[0])) {
        CliWriteError(Tr(SvdMessages::kNoPeripherals));
        return CliFailure;
    }
    QString out;
    for (const QString &name : SvdDeviceModel::ReadPeripheralNames(document))
        out += name + u'\n';
    CliWrite(out);
    return CliSuccess;
}

int SvdPeripheralCommand(const CliContext &context)
{
    if (context.args.size() != 2)
        return CliUsageError;
    const SvdPeripheralResult result = SvdDeviceModel::ReadPeripheral(context.args[0], context.args[1]);
    if (result.outcome == SvdPeripheralResult::Outcome::Failed) {
        CliWriteError(result.message);
        return CliFailure;
    }
    if (result.outcome == SvdPeripheralResult::Outcome::NotPresent) {
        CliPrintLine(QStringLiteral("not present"));
        return CliSuccess;
    }
    const SvdPeripheral &peripheral = result.peripheral;
    QString out;
    out +=
        QStringLiteral("peripheral %1 %2 %3\n").arg(peripheral.name, Hex(peripheral.baseAddress), Hex(peripheral.span));
    for (const SvdRegister &reg : peripheral.registers) {
        out += QStringLiteral("register %1 %2 %3\n").arg(reg.name, Hex(reg.address), Hex(reg.addressOffset));
        out += OneLine(reg.description) + u'\n';
        if (reg.size != 32)
            out += QStringLiteral("size %1\n").arg(reg.size);
        for (const SvdField &field : reg.fields) {
            out += QStringLiteral("field %1 %2 %3\n")
                       .arg(field.name, QString::number(field.bitOffset), QString::number(field.bitWidth));
            out += OneLine(field.description) + u'\n';
            for (const SvdEnumValue &value : field.enumValues) {
                out += QStringLiteral("enum %1 0x%2\n").arg(value.name, QString::number(value.value, 16).toUpper());
                // Fields may share a long list of values, printed for each:
                // the text goes out in pieces, never held whole.
                if (out.size() >= kWriteChunk) {
                    CliWrite(out);
                    out.clear();
                }
            }
        }
    }
    CliWrite(out);
    return CliSuccess;
}

const CliCommandRegistration kXmlCommands{
    {"xml-check", "FILE",
     QT_TRANSLATE_NOOP("Corvane", "check that FILE is well-formed XML: prints sound or not sound, then the error text"),
     XmlCheck},
    {"svd-names", "FILE", QT_TRANSLATE_NOOP("Corvane", "list the peripheral names of the SVD file FILE, one per line"),
     SvdNames},
    {"svd-peripheral", "FILE NAME",
     QT_TRANSLATE_NOOP("Corvane", "print peripheral NAME of the SVD file FILE with its registers and fields"),
     SvdPeripheralCommand},
};

} // namespace

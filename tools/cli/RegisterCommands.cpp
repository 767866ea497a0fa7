// Commands that build the register rows of peripherals and print or change
// them, as the register windows do on screen.
#include "regmap/RowExport.h"
#include "tools/cli/CliMessages.h"
#include "tools/cli/CliRegisters.h"
#include "link/Tr.h"

#include <QtGlobal>
#include <QFile>

namespace {

bool ParseNumber(const QString &text, int &into)
{
    bool ok = false;
    into = text.toInt(&ok);
    return ok && into > 0;
}

bool ParseOptions(const QStringList &args, RowOptions &options)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == u"--width" || arg == u"--dpi" || arg == u"--base" || arg == u"--format") {
            if (i + 1 >= args.size())
                return false;
            const QString &value = args[++i];
            if (arg == u"--width" && !ParseNumber(value, options.width))
                return false;
            if (arg == u"--dpi" && !ParseNumber(value, options.dpi))
                return false;
            if (arg == u"--base") {
                if (value != u"dec" && value != u"hex")
                    return false;
                options.numberBase = value == u"hex" ? 1 : 0;
            }
            if (arg == u"--format") {
                if (value != u"text" && value != u"csv" && value != u"json")
                    return false;
                options.format = value;
            }
        } else {
            options.names << arg;
        }
    }
    return !options.names.isEmpty();
}

int Rows(const CliContext &context)
{
    RowOptions options;
    if (!ParseOptions(context.args, options) || options.format != u"text")
        return CliUsageError;
    CliRegisters window(context, options);
    // The rows a window shows at start: the last saved snapshots, "—" for the rest.
    window.Map().ShowLastSnapshots();
    if (!window.Build(options.names))
        return CliFailure;
    if (options.width > 0)
        window.Realign(options.width);
    window.Print();
    return window.User().ExitStatus();
}

int PeripheralRead(const CliContext &context)
{
    RowOptions options;
    if (!ParseOptions(context.args, options) || options.width > 0)
        return CliUsageError;
    CliRegisters window(context, options);
    if (!window.Build(options.names))
        return CliFailure;
    for (const auto &top : window.Map().Tree().TopRows()) {
        window.Map().ReadRow(top.get(), false);
        if (window.User().Failed())
            return CliFailure;
    }
    const RegisterRowTree &tree = window.Map().Tree();
    if (options.format == u"csv")
        CliWrite(QString::fromUtf8(RowExport::Csv(RowExport::Records(tree))));
    else if (options.format == u"json")
        CliWrite(QString::fromUtf8(RowExport::Json(RowExport::Records(tree))));
    else
        window.Print();
    return window.User().ExitStatus();
}

int RegisterWrite(const CliContext &context)
{
    if (context.args.size() != 3)
        return CliUsageError;
    RowOptions options;
    options.names = {context.args[0]};
    CliRegisters window(context, options);
    if (!window.Build(options.names))
        return CliFailure;
    RegisterMap &regs = window.Map();
    RegisterRow *reg = window.FindRegister(context.args[0], context.args[1]);
    if (!reg) {
        window.User().ShowFailure(Tr(CliMessages::kNoRegister).arg(context.args[1], context.args[0]));
        return CliFailure;
    }
    const QString snapshot = regs.DefaultSnapshotPath(context.args[0]);
    if (QFile::exists(snapshot))
        regs.LoadSnapshot(context.args[0], snapshot);
    // As "立即写入": the edit goes to the chip at once.
    if (regs.EditValue(reg->Child(0), context.args[2]))
        regs.WriteRow(reg, true);
    return window.User().ExitStatus();
}

const CliCommandRegistration kRegistration{
    {"rows", "[--width W] [--dpi D] [--base dec|hex] NAME...",
     QT_TRANSLATE_NOOP("Corvane", "print the register window rows of these peripherals"), Rows},
    {"peripheral-read", "[--base dec|hex] [--format text|csv|json] NAME...",
     QT_TRANSLATE_NOOP("Corvane", "read these peripherals into their snapshot files and print their rows"),
     PeripheralRead},
    {"register-write", "NAME REGISTER VALUE",
     QT_TRANSLATE_NOOP("Corvane", "set a register's value and write it to the chip"), RegisterWrite},
};

} // namespace

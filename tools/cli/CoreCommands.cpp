// Commands on the HCPU's core: its registers, a register write, the fault report.
#include "ops/CoreOps.h"
#include "ops/FaultReport.h"
#include "ops/FirmwareSymbols.h"
#include "ops/OpsMessages.h"
#include "tools/cli/CliMessages.h"
#include "tools/cli/CliTarget.h"
#include "link/Tr.h"

#include <QtGlobal>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

struct CoreOptions
{
    bool halt = false;
    bool json = false;
    QString elf;
    QStringList positional;
};

// --halt everywhere; --format and --elf where the command takes them.
bool ParseCoreOptions(const QStringList &args, bool takesFormat, bool takesElf, CoreOptions &options)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == u"--halt") {
            options.halt = true;
        } else if (takesFormat && arg == u"--format" && i + 1 < args.size()) {
            const QString format = args[++i];
            if (format != u"text" && format != u"json")
                return false;
            options.json = format == u"json";
        } else if (takesElf && arg == u"--elf" && i + 1 < args.size()) {
            options.elf = args[++i];
        } else if (arg.startsWith(u"--")) {
            return false;
        } else {
            options.positional << arg;
        }
    }
    return true;
}

CoreOps::Options OpsOptions(const CoreOptions &options)
{
    CoreOps::Options ops;
    ops.halting = options.halt ? CoreOps::Halting::HaltAndKeepHalted : CoreOps::Halting::RefuseRunning;
    return ops;
}

QString Hex(uint32_t value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(8, u'0');
}

void PrintJson(const QJsonObject &object)
{
    CliWrite(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)));
}

int Core(const CliContext &context)
{
    CoreOptions options;
    if (!ParseCoreOptions(context.args, true, false, options) || !options.positional.isEmpty())
        return CliUsageError;
    CliTarget target(context);
    const std::vector<CoreRegister> shown = CoreOps::ShownRegisters();
    const auto values = CoreOps::Read(target.env, shown, OpsOptions(options));
    if (!values)
        return target.user.ExitStatus();
    QJsonObject object;
    QString text;
    for (const CoreRegister id : shown) {
        const QString name = QString::fromLatin1(CoreRegisters::Info(id).name);
        const auto found = values->find(id);
        const bool given = found != values->end();
        object.insert(name, given ? QJsonValue(Hex(found->second)) : QJsonValue::Null);
        text += QStringLiteral("%1 %2\n").arg(name, -10).arg(given ? Hex(found->second)
                                                                   : QString::fromLatin1(OpsMessages::kFaultNotGiven));
    }
    options.json ? PrintJson(object) : CliWrite(text);
    return target.user.ExitStatus();
}

int CoreWrite(const CliContext &context)
{
    CoreOptions options;
    if (!ParseCoreOptions(context.args, false, false, options) || options.positional.size() != 2)
        return CliUsageError;
    CliTarget target(context);
    CoreOps::Write(target.env, options.positional[0], options.positional[1], OpsOptions(options));
    return target.user.ExitStatus();
}

int Fault(const CliContext &context)
{
    CoreOptions options;
    if (!ParseCoreOptions(context.args, true, true, options) || !options.positional.isEmpty())
        return CliUsageError;
    CliTarget target(context);
    std::unique_ptr<FirmwareSymbols> symbols;
    if (!options.elf.isEmpty()) {
        QString failure;
        symbols = FirmwareSymbols::Open(options.elf, &failure);
        if (!symbols) {
            target.user.ShowFailure(Tr(CliMessages::kElfUnreadable).arg(options.elf, failure));
            return target.user.ExitStatus();
        }
    }
    const auto reading = CoreOps::ReadFault(target.env, OpsOptions(options));
    if (!reading)
        return target.user.ExitStatus();
    FaultReport::Report report = FaultReport::Decode(*reading);
    if (symbols)
        FaultReport::AddPlaces(report, *symbols);
    options.json ? PrintJson(FaultReport::Json(report)) : CliWrite(FaultReport::Text(report));
    return target.user.ExitStatus();
}

const CliCommandRegistration kRegistration{
    {"core", "[--halt] [--format text|json]",
     QT_TRANSLATE_NOOP(
         "Corvane",
         "print the HCPU's core registers; a running core is refused unless --halt (halt it and keep it halted)"),
     Core},
    {"core-write", "NAME VALUE [--halt]",
     QT_TRANSLATE_NOOP("Corvane",
                       "write R0-R12, SP, PC or xPSR of the halted HCPU (VALUE hexadecimal) and read it back"),
     CoreWrite},
    {"fault", "[--elf FILE] [--halt] [--format text|json]",
     QT_TRANSLATE_NOOP(
         "Corvane",
         "print the fault report: fault registers in words, the exception, the stacked frame; --elf adds functions and "
         "lines"),
     Fault},
};

} // namespace

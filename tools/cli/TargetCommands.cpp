// Commands that run the control panel's memory and chip-control operations.
#include "ops/ChipControl.h"
#include "ops/MemoryFields.h"
#include "ops/MemoryOps.h"
#include "tools/cli/CliTarget.h"

#include <QtGlobal>

namespace {

// The dump field: the read prints what it finally shows.
struct PrintedDump : DumpView
{
    void SetDumpText(const QString &text) override { shown = text; }
    QString shown;
};

int Read(const CliContext &context)
{
    if (context.args.size() != 2)
        return CliUsageError;
    CliTarget target(context);
    PrintedDump dump;
    const MemoryOps::Result result =
        MemoryOps::Read(target.env, MemoryFields::Number(context.args[0]), MemoryFields::Number(context.args[1]), dump);
    if (result.Succeeded() && !dump.shown.isEmpty())
        CliPrintLine(dump.shown);
    return target.user.ExitStatus();
}

int ReadFile(const CliContext &context)
{
    if (context.args.size() != 3)
        return CliUsageError;
    CliTarget target(context);
    target.user.SetChosenFile(context.args[2]);
    PrintedDump dump;
    MemoryOps::ReadToFile(target.env, MemoryFields::Number(context.args[0]), MemoryFields::Number(context.args[1]),
                          dump);
    return target.user.ExitStatus();
}

int Write(const CliContext &context)
{
    if (context.args.size() != 2)
        return CliUsageError;
    CliTarget target(context);
    MemoryOps::WriteWord(target.env, MemoryFields::Number(context.args[0]), MemoryFields::Word(context.args[1]));
    return target.user.ExitStatus();
}

int WriteFile(const CliContext &context)
{
    if (context.args.size() != 2)
        return CliUsageError;
    CliTarget target(context);
    target.user.SetChosenFile(context.args[1]);
    MemoryOps::WriteFromFile(target.env, MemoryFields::Number(context.args[0]));
    return target.user.ExitStatus();
}

template<void (*Action)(OperationEnv &)> int Control(const CliContext &context)
{
    if (!context.args.isEmpty())
        return CliUsageError;
    CliTarget target(context);
    Action(target.env);
    return target.user.ExitStatus();
}

void HaltHcpu(OperationEnv &env)
{
    ChipControl::HaltHcpu(env);
}
void HaltLcpu(OperationEnv &env)
{
    ChipControl::HaltLcpu(env);
}
void CleanCache(OperationEnv &env)
{
    ChipControl::CleanCache(env);
}

const CliCommandRegistration kRegistration{
    {"read", "ADDR LEN", QT_TRANSLATE_NOOP("Corvane", "read up to 1024 bytes and print them as a hex dump"), Read},
    {"read-file", "ADDR LEN FILE", QT_TRANSLATE_NOOP("Corvane", "read up to 8 MiB into FILE"), ReadFile},
    {"write", "ADDR WORD", QT_TRANSLATE_NOOP("Corvane", "write one 32-bit word"), Write},
    {"write-file", "ADDR FILE", QT_TRANSLATE_NOOP("Corvane", "write the whole of FILE from ADDR on"), WriteFile},
    {"watchdog-off", "", QT_TRANSLATE_NOOP("Corvane", "stop the chip model's watchdogs"),
     Control<ChipControl::WatchdogOff>},
    {"halt-hcpu", "", QT_TRANSLATE_NOOP("Corvane", "halt the high-performance CPU"), Control<HaltHcpu>},
    {"halt-lcpu", "", QT_TRANSLATE_NOOP("Corvane", "halt the low-power CPU"), Control<HaltLcpu>},
    {"clean-cache", "", QT_TRANSLATE_NOOP("Corvane", "clean the level-1 data cache by set and way"),
     Control<CleanCache>},
    {"run", "", QT_TRANSLATE_NOOP("Corvane", "let the halted cores run; until then every command leaves them halted"),
     Control<ChipControl::Run>},
};

} // namespace

#include "ops/CoreOps.h"

#include "link/ChipProfile.h"
#include "link/LinkCycle.h"
#include "link/MessageText.h"
#include "link/NumberInput.h"
#include "ops/ChipControl.h"
#include "ops/FaultReport.h"
#include "ops/OpsMessages.h"

namespace CoreOps {

namespace {

// An open cycle with a halted core and its registers; nothing when a message was shown.
struct HaltedCore
{
    std::unique_ptr<CoreRegisterPort> port;
    bool haltedHere = false;
};

std::optional<HaltedCore> OpenHalted(LinkCycle &cycle, const Options &options)
{
    if (!cycle.Open())
        return std::nullopt;
    ChipControl::Pauses pauses;
    pauses.afterHaltMs = options.pauseAfterHaltMs;
    const CoreHalt halt = ChipControl::HaltRequest(pauses);
    HaltedCore core{cycle.CoreRegisters(halt, options.readyDeadlineMs)};
    const std::optional<bool> halted = core.port->Halted();
    if (!halted)
        return std::nullopt;
    if (*halted)
        return core;
    if (options.halting == Halting::RefuseRunning) {
        if (options.runningRefused)
            *options.runningRefused = true;
        else
            cycle.Fail(OpsMessages::kCoreRunning);
        cycle.Close(); // a GDB server lets the core run on as it found it
        return std::nullopt;
    }
    if (!cycle.HaltCore(halt))
        return std::nullopt;
    cycle.RecordHalted({.hcpu = true});
    core.haltedHere = true;
    return core;
}

// The read worked: a core halted here stays halted.
void Finish(LinkCycle &cycle, const HaltedCore &core)
{
    if (core.haltedHere)
        cycle.CloseLeavingHalted();
    else
        cycle.Close();
}

// Nothing shown for NotGiven; false when the link failed (its message shown).
bool ReadInto(CoreRegisterPort &port, CoreRegister id, CoreRegisterValues *values)
{
    uint32_t value = 0;
    switch (port.Read(id, &value)) {
    case CoreRegisterPort::Outcome::Done:
        (*values)[id] = value;
        return true;
    case CoreRegisterPort::Outcome::NotGiven:
        return true;
    case CoreRegisterPort::Outcome::Failed:
        break;
    }
    return false;
}

std::optional<uint32_t> ParseValue(const QString &text)
{
    if (const std::optional<uint64_t> value = NumberInput::Value(text, NumberInput::Form{}))
        return uint32_t(*value);
    return std::nullopt;
}

bool Writable(CoreRegister id)
{
    return CoreRegisters::Info(id).writable;
}

} // namespace

std::vector<CoreRegister> ShownRegisters()
{
    std::vector<CoreRegister> shown;
    for (const CoreRegisterInfo &info : CoreRegisters::All())
        if (CoreRegisters::IsShownByDefault(info.id))
            shown.push_back(info.id);
    return shown;
}

std::optional<CoreRegisterValues> Read(OperationEnv &env, const std::vector<CoreRegister> &registers,
                                       const Options &options)
{
    LinkCycle cycle(env.config, env.links, env.user);
    if (!cycle.Preface())
        return std::nullopt;
    std::optional<HaltedCore> core = OpenHalted(cycle, options);
    if (!core)
        return std::nullopt;
    CoreRegisterValues values;
    for (CoreRegister id : registers)
        if (!ReadInto(*core->port, id, &values))
            return std::nullopt;
    Finish(cycle, *core);
    return values;
}

std::optional<uint32_t> Write(OperationEnv &env, const QString &name, const QString &valueText, const Options &options)
{
    LinkCycle cycle(env.config, env.links, env.user);
    if (!cycle.Preface())
        return std::nullopt;
    const std::optional<CoreRegister> id = CoreRegisters::Find(name);
    if (!id) {
        cycle.Fail(MessageText::Format(OpsMessages::kNoCoreRegister, name.toUtf8().constData()));
        return std::nullopt;
    }
    const char *registerName = CoreRegisters::Info(*id).name;
    if (!Writable(*id)) {
        cycle.Fail(MessageText::Format(OpsMessages::kCoreRegisterReadOnly, registerName));
        return std::nullopt;
    }
    const std::optional<uint32_t> value = ParseValue(valueText);
    if (!value) {
        cycle.Fail(MessageText::Format(OpsMessages::kCoreValue, valueText.toUtf8().constData()));
        return std::nullopt;
    }
    std::optional<HaltedCore> core = OpenHalted(cycle, options);
    if (!core)
        return std::nullopt;
    uint32_t readBack = 0;
    CoreRegisterPort::Outcome outcome = core->port->Write(*id, *value);
    if (outcome == CoreRegisterPort::Outcome::Done)
        outcome = core->port->Read(*id, &readBack);
    if (outcome == CoreRegisterPort::Outcome::Failed)
        return std::nullopt;
    if (outcome == CoreRegisterPort::Outcome::NotGiven) {
        cycle.Fail(MessageText::Format(OpsMessages::kCoreRegisterNotGiven, registerName));
        return std::nullopt;
    }
    if (readBack != *value) {
        cycle.Fail(MessageText::Format(OpsMessages::kCoreWriteMismatch, registerName, *value, readBack));
        return std::nullopt;
    }
    Finish(cycle, *core);
    return readBack;
}

namespace {

// CFSR to AFSR in one read, SFSR and SFAR in another: a link that refuses
// the Security Extension's pair still gives the rest.
bool ReadFaultWords(LinkCycle &cycle, FaultWords *words)
{
    if (!cycle.Read(kCfsr, 6 * 4))
        return false;
    const TransferBuffer &buffer = cycle.Buffer();
    words->cfsr = buffer.Word(0);
    words->hfsr = buffer.Word(4);
    words->dfsr = buffer.Word(8);
    words->mmfar = buffer.Word(12);
    words->bfar = buffer.Word(16);
    words->afsr = buffer.Word(20);
    if (cycle.ReadUnchecked(kSfsr, 2 * 4)) {
        words->sfsr = buffer.Word(0);
        words->sfar = buffer.Word(4);
    }
    return true;
}

// The banked stack pointer named by EXC_RETURN; the current state's MSP or
// PSP (or SP for MSP, the handler's stack) stands for it when the exception
// was taken to the stack's state. Called in Handler mode only.
std::optional<uint32_t> FrameStackPointer(const CoreRegisterValues &core, const FaultReport::ExcReturn &excReturn)
{
    const CoreRegister banked = excReturn.processStack
                                    ? (excReturn.secureStack ? CoreRegister::PSP_S : CoreRegister::PSP_NS)
                                    : (excReturn.secureStack ? CoreRegister::MSP_S : CoreRegister::MSP_NS);
    if (const auto found = core.find(banked); found != core.end())
        return found->second;
    if (excReturn.toSecure != excReturn.secureStack)
        return std::nullopt;
    if (const auto current = core.find(excReturn.processStack ? CoreRegister::PSP : CoreRegister::MSP);
        current != core.end())
        return current->second;
    // In Handler mode SP is the current state's MSP (a server may give SP alone).
    const auto sp = core.find(CoreRegister::SP);
    if (excReturn.processStack || sp == core.end())
        return std::nullopt;
    return sp->second;
}

// False only when the link failed (its message shown); a frame that cannot
// be read is said in frameProblem.
bool ReadFrame(LinkCycle &cycle, FaultReading *reading)
{
    const auto xpsr = reading->core.find(CoreRegister::XPSR);
    const auto lr = reading->core.find(CoreRegister::LR);
    if (xpsr == reading->core.end() || lr == reading->core.end()) {
        reading->frameProblem =
            MessageText::Format(OpsMessages::kFrameStackNotGiven, xpsr == reading->core.end() ? "xPSR" : "LR");
        return true;
    }
    if ((xpsr->second & 0x1FF) == 0) {
        reading->frameProblem = QString::fromLatin1(OpsMessages::kFrameThreadMode);
        return true;
    }
    const std::optional<FaultReport::ExcReturn> excReturn = FaultReport::DecodeExcReturn(lr->second);
    if (!excReturn) {
        reading->frameProblem = QString::fromLatin1(OpsMessages::kFrameNoExcReturn);
        return true;
    }
    reading->frameStack = excReturn->StackName();
    reading->extendedFrame = !excReturn->standardFrame;
    const QByteArray stackName = reading->frameStack.toLatin1();
    const std::optional<uint32_t> sp = FrameStackPointer(reading->core, *excReturn);
    if (!sp) {
        reading->frameProblem = MessageText::Format(OpsMessages::kFrameStackNotGiven, stackName.constData());
        return true;
    }
    const uint32_t address = *sp + FaultReport::FrameOffset(*excReturn);
    const uint32_t bytes = uint32_t(FaultReport::FrameWords(*excReturn)) * 4;
    if (address < *sp || address + bytes - 1 < address) {
        reading->frameProblem =
            MessageText::Format(OpsMessages::kFrameOutside, stackName.constData(), *sp, OpsMessages::kFramePastEnd);
        return true;
    }
    for (const uint32_t probe : {*sp, address, address + bytes - 1}) {
        if (const auto refusal = ChipProfile::CheckReadAddress(cycle.ChipModel(), probe)) {
            reading->frameProblem = MessageText::Format(OpsMessages::kFrameOutside, stackName.constData(), *sp,
                                                        refusal->toUtf8().constData());
            return true;
        }
    }
    if (!cycle.ReadUnchecked(address, bytes)) {
        reading->frameProblem = MessageText::Format(OpsMessages::kFrameReadFailed, stackName.constData(), *sp);
        return true;
    }
    reading->frameAddress = address;
    for (uint32_t i = 0; i < bytes / 4 && i < 8 + 17; ++i)
        reading->frame.push_back(cycle.Buffer().Word(4 * i));
    return true;
}

} // namespace

std::optional<FaultReading> ReadFault(OperationEnv &env, const Options &options)
{
    LinkCycle cycle(env.config, env.links, env.user);
    if (!cycle.Preface())
        return std::nullopt;
    std::optional<HaltedCore> core = OpenHalted(cycle, options);
    if (!core)
        return std::nullopt;
    FaultReading reading;
    for (const CoreRegister id :
         {CoreRegister::XPSR, CoreRegister::LR, CoreRegister::PC, CoreRegister::SP, CoreRegister::MSP,
          CoreRegister::PSP, CoreRegister::MSP_S, CoreRegister::PSP_S, CoreRegister::MSP_NS, CoreRegister::PSP_NS})
        if (!ReadInto(*core->port, id, &reading.core))
            return std::nullopt;
    if (!ReadFaultWords(cycle, &reading.words) || !ReadFrame(cycle, &reading))
        return std::nullopt;
    Finish(cycle, *core);
    return reading;
}

} // namespace CoreOps

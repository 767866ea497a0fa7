#include "ops/ChipControl.h"

#include "link/ChipProfile.h"
#include "link/LinkCycle.h"

#include <QThread>

namespace ChipControl {

namespace {

// Bit 0 of the preparation register must be set before the VX21A LCPU halts.
bool PrepareLcpuHalt(LinkCycle &cycle, const Pauses &pauses)
{
    if (!ChipProfile::NeedsLcpuHaltPreparation(cycle.ChipModel()))
        return true;
    if (!cycle.Read(kLcpuPreparationRegister, 4))
        return false;
    if (!cycle.WriteWord(kLcpuPreparationRegister, cycle.Buffer().Word(0) | 1u))
        return false;
    QThread::msleep(pauses.afterPreparationMs);
    return true;
}

bool OpenCycle(LinkCycle &cycle)
{
    return cycle.Preface() && cycle.Open();
}

CoreHalt HaltOf(const Pauses &pauses)
{
    return {kHaltRegisterDebugView, kHaltRequest, kRunRequest, kLcpuHaltFlagRegister, pauses.afterHaltMs};
}

} // namespace

CoreHalt HaltRequest(const Pauses &pauses)
{
    return HaltOf(pauses);
}

void WatchdogOff(OperationEnv &env)
{
    LinkCycle cycle(env.config, env.links, env.user);
    if (!OpenCycle(cycle))
        return;
    for (uint32_t address : ChipProfile::WatchdogRegisters(cycle.ChipModel()))
        if (!cycle.WriteWord(address, kWatchdogOffValue))
            return;
    cycle.Close();
}

// Each link halts in its own way; the stopped core stays stopped after it.
void HaltHcpu(OperationEnv &env, const Pauses &pauses)
{
    LinkCycle cycle(env.config, env.links, env.user);
    if (!OpenCycle(cycle))
        return;
    if (!cycle.HaltCore(HaltOf(pauses)))
        return;
    cycle.RecordHalted({.hcpu = true});
    cycle.CloseLeavingHalted();
}

void HaltLcpu(OperationEnv &env, const Pauses &pauses)
{
    LinkCycle cycle(env.config, env.links, env.user);
    if (!OpenCycle(cycle) || !PrepareLcpuHalt(cycle, pauses))
        return;
    if (!cycle.HaltLcpu(HaltOf(pauses)))
        return;
    cycle.RecordHalted({.lcpu = true});
    cycle.CloseLeavingHalted();
}

void Run(OperationEnv &env)
{
    LinkCycle cycle(env.config, env.links, env.user);
    if (!OpenCycle(cycle))
        return;
    if (cycle.RunCores(HaltOf({})))
        cycle.Close();
}

uint32_t CleanBySetWayValue(uint32_t set, uint32_t way)
{
    return ((way << 25) | (set & 0x1FF)) << 5;
}

void CleanCache(OperationEnv &env, const Pauses &pauses)
{
    LinkCycle cycle(env.config, env.links, env.user);
    if (!OpenCycle(cycle))
        return;
    if (!cycle.WriteWord(kCacheSizeSelection, 0) || !cycle.Read(kCacheSizeIdentification, 4))
        return;
    const uint32_t identification = cycle.Buffer().Word(0);
    const uint32_t lastWay = (identification >> 3) & 0x3FF;
    const uint32_t lastSet = (identification >> 13) & 0x7FFF;
    for (uint32_t set = lastSet + 1; set-- > 0;) {
        for (uint32_t way = lastWay + 1; way-- > 0;) {
            cycle.Buffer().SetWord(0, CleanBySetWayValue(set, way));
            // Over the UART link a failed clean is not examined: the loop runs on.
            if (!cycle.WriteRepeated(kCleanBySetWay, 4))
                return;
            QThread::msleep(pauses.perCacheLineMs);
        }
    }
    cycle.Close();
}

} // namespace ChipControl

#include "ops/ChipControl.h"

#include "link/ChipProfile.h"
#include "link/LinkCycle.h"

#include <QThread>

namespace ChipControl {

namespace {

bool WriteWord(LinkCycle &cycle, uint32_t address, uint32_t value)
{
    cycle.Buffer().SetWord(0, value);
    return cycle.Write(address, 4);
}

// Bit 0 of the preparation register must be set before the VX21A LCPU halts.
bool PrepareLcpuHalt(LinkCycle &cycle, const Pauses &pauses)
{
    if (!ChipProfile::NeedsLcpuHaltPreparation(cycle.ChipModel()))
        return true;
    if (!cycle.Read(kLcpuPreparationRegister, 4))
        return false;
    if (!WriteWord(cycle, kLcpuPreparationRegister, cycle.Buffer().Word(0) | 1u))
        return false;
    QThread::msleep(pauses.afterPreparationMs);
    return true;
}

bool OpenCycle(LinkCycle &cycle)
{
    return cycle.Preface() && cycle.Open();
}

} // namespace

void WatchdogOff(OperationEnv &env)
{
    LinkCycle cycle(env.config, env.links, env.user);
    if (!OpenCycle(cycle))
        return;
    for (uint32_t address : ChipProfile::WatchdogRegisters(cycle.ChipModel()))
        if (!WriteWord(cycle, address, kWatchdogOffValue))
            return;
    cycle.Close();
}

void HaltHcpu(OperationEnv &env, const Pauses &pauses)
{
    LinkCycle cycle(env.config, env.links, env.user);
    if (!OpenCycle(cycle))
        return;
    if (cycle.Kind() == LinkCycle::Link::Gdb) {
        // The opening stopped the core; leaving without detach keeps it stopped.
        cycle.CloseLeavingStopped();
        return;
    }
    if (cycle.Kind() == LinkCycle::Link::JLink) {
        env.links.jlink.Halt();
        QThread::msleep(pauses.afterHaltMs);
    } else if (!WriteWord(cycle, kHaltRegisterDebugView, kHaltRequest)) {
        return;
    }
    cycle.Close();
}

void HaltLcpu(OperationEnv &env, const Pauses &pauses)
{
    LinkCycle cycle(env.config, env.links, env.user);
    if (!OpenCycle(cycle) || !PrepareLcpuHalt(cycle, pauses))
        return;
    if (cycle.Kind() == LinkCycle::Link::Uart) {
        if (WriteWord(cycle, kHaltRegisterDebugView, kHaltRequest))
            cycle.Close();
        return;
    }
    // The probe halts the LCPU through a fresh connection while the flag is
    // set; a GDB server's connection stops the target when it opens.
    const bool gdb = cycle.Kind() == LinkCycle::Link::Gdb;
    if (!WriteWord(cycle, kLcpuHaltFlagRegister, 1) || !(gdb ? cycle.ReopenGdb() : cycle.ReopenProbe()))
        return;
    if (!gdb)
        env.links.jlink.Halt();
    if (WriteWord(cycle, kLcpuHaltFlagRegister, 0))
        gdb ? cycle.CloseLeavingStopped() : cycle.Close();
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
    if (!WriteWord(cycle, kCacheSizeSelection, 0) || !cycle.Read(kCacheSizeIdentification, 4))
        return;
    const uint32_t identification = cycle.Buffer().Word(0);
    const uint32_t lastWay = (identification >> 3) & 0x3FF;
    const uint32_t lastSet = (identification >> 13) & 0x7FFF;
    const bool probe = cycle.Kind() != LinkCycle::Link::Uart;
    for (uint32_t set = lastSet + 1; set-- > 0;) {
        for (uint32_t way = lastWay + 1; way-- > 0;) {
            cycle.Buffer().SetWord(0, CleanBySetWayValue(set, way));
            if (probe) {
                if (!cycle.Write(kCleanBySetWay, 4))
                    return;
            } else {
                // Over the UART link a failed clean is not examined: the loop runs on.
                cycle.WriteUnchecked(kCleanBySetWay, 4);
            }
            QThread::msleep(pauses.perCacheLineMs);
        }
    }
    cycle.Close();
}

} // namespace ChipControl

#pragma once

#include "link/TargetBackend.h"
#include "ops/Operation.h"

// The control panel's chip-control buttons: fixed register sequences per
// chip model and per link. None takes input; none shows anything on success.
// A halted core stays halted through every later action until Run().
namespace ChipControl {

inline constexpr uint32_t kWatchdogOffValue = 0x00000034;
inline constexpr uint32_t kHaltRequest = 0xA05F0003;
// The debug key with debug enabled and the halt bit clear: the core runs.
inline constexpr uint32_t kRunRequest = 0xA05F0001;
inline constexpr uint32_t kHaltRegisterDebugView = 0xF000EDF0;
inline constexpr uint32_t kLcpuPreparationRegister = 0x500C002C;
inline constexpr uint32_t kLcpuHaltFlagRegister = 0x5000B008;
inline constexpr uint32_t kCacheSizeSelection = 0xE000ED84;
inline constexpr uint32_t kCacheSizeIdentification = 0xE000ED80;
inline constexpr uint32_t kCleanBySetWay = 0xE000EF6C;

// Pauses of the sequences; tests shorten them.
struct Pauses
{
    unsigned long afterHaltMs = 100;
    unsigned long afterPreparationMs = 100;
    unsigned long perCacheLineMs = 10;
};

// The registers and pause of the HCPU's halt request, for other actions that halt it.
CoreHalt HaltRequest(const Pauses &pauses = {});

void WatchdogOff(OperationEnv &env);
void HaltHcpu(OperationEnv &env, const Pauses &pauses = {});
void HaltLcpu(OperationEnv &env, const Pauses &pauses = {});
// "运行": lets the cores run that a halt stopped; until then every action
// leaves them halted.
void Run(OperationEnv &env);
void CleanCache(OperationEnv &env, const Pauses &pauses = {});

// The clean by set/way register value for one set and way.
uint32_t CleanBySetWayValue(uint32_t set, uint32_t way);

} // namespace ChipControl

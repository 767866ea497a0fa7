#pragma once

#include <QString>

#include <cstdint>
#include <map>
#include <optional>
#include <span>

// The Cortex-M33's core registers as a debugger reaches them: the selector
// written to DCRSR, and the names a GDB server's target description uses.
// CONTROL, FAULTMASK, BASEPRI and PRIMASK share one selector, a byte each.
enum class CoreRegister : uint8_t {
    R0,
    R1,
    R2,
    R3,
    R4,
    R5,
    R6,
    R7,
    R8,
    R9,
    R10,
    R11,
    R12,
    SP,
    LR,
    PC,
    XPSR,
    MSP,
    PSP,
    CONTROL,
    FAULTMASK,
    BASEPRI,
    PRIMASK,
    MSP_NS,
    PSP_NS,
    MSP_S,
    PSP_S,
    MSPLIM_S,
    PSPLIM_S,
    MSPLIM_NS,
    PSPLIM_NS,
    FPSCR,
    S0, // S0 to S31 follow in order
    S31 = S0 + 31,
};

struct CoreRegisterInfo
{
    CoreRegister id;
    const char *name;    // as the user types and reads it
    uint8_t selector;    // DCRSR REGSEL
    int8_t byteLane;     // the byte of a packed selector, or -1 for the whole word
    const char *gdbName; // in the target description
    bool writable;       // by core-write
};

namespace CoreRegisters {

// Every register, in the order they are shown.
std::span<const CoreRegisterInfo> All();
const CoreRegisterInfo &Info(CoreRegister id);
// By name, any case ("pc", "R3", "xpsr", "msp_ns"); nothing for an unknown name.
std::optional<CoreRegister> Find(const QString &name);
// The registers a plain read shows: R0 to FPSCR, without the S registers.
bool IsShownByDefault(CoreRegister id);

} // namespace CoreRegisters

// Values read; a register absent was not given (a GDB server without it).
using CoreRegisterValues = std::map<CoreRegister, uint32_t>;

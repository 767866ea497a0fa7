#pragma once

#include "link/CoreRegisters.h"
#include "ops/Operation.h"

#include <optional>
#include <vector>

// Reading and writing the HCPU's core registers, and the one halted read a
// fault report is made from. Each runs one link cycle and shows at most one
// message. The core must be halted: a running core is refused with a message
// naming the halt buttons, unless the caller asks to halt it, in which case it
// stays halted afterwards as after "halt HCPU".
namespace CoreOps {

enum class Halting { RefuseRunning, HaltAndKeepHalted };

struct Options
{
    Halting halting = Halting::RefuseRunning;
    // How long the core may take to set S_REGRDY over the memory links.
    int readyDeadlineMs = 100;
    unsigned long pauseAfterHaltMs = 100;
    // When given, a running core refused is no message: this is set instead
    // and the caller says so in its own place (a window with its halt offer).
    bool *runningRefused = nullptr;
};

// The registers asked for; those a GDB server does not give are absent.
// Nothing when a message was shown.
std::optional<CoreRegisterValues> Read(OperationEnv &env, const std::vector<CoreRegister> &registers,
                                       const Options &options = {});

// core-write: NAME is one of R0-R12, SP, PC, xPSR (any case); VALUE is
// hexadecimal with or without 0x. The value is read back; the value read
// back, or nothing when a message was shown.
std::optional<uint32_t> Write(OperationEnv &env, const QString &name, const QString &valueText,
                              const Options &options = {});

// The system control block's fault registers.
inline constexpr uint32_t kCfsr = 0xE000ED28; // CFSR, HFSR, DFSR, MMFAR, BFAR, AFSR follow
inline constexpr uint32_t kSfsr = 0xE000EDE4; // SFAR follows

// The words of the fault registers; absent: the link did not give them.
struct FaultWords
{
    std::optional<uint32_t> cfsr, hfsr, dfsr, mmfar, bfar, afsr, sfsr, sfar;
};

// Everything a fault report is made from, read in one halted link cycle.
struct FaultReading
{
    FaultWords words;
    CoreRegisterValues core;
    // The stack the exception's frame went to and its address, when known.
    QString frameStack;
    std::optional<uint32_t> frameAddress;
    bool extendedFrame = false;
    // The frame's words from frameAddress on: R0-R3, R12, LR, PC, xPSR, then
    // S0-S15 and FPSCR with an extended frame; empty when not read.
    std::vector<uint32_t> frame;
    // Why no frame was read (outside readable memory, no EXC_RETURN in LR,
    // a stack pointer not given); empty when it was.
    QString frameProblem;
};

std::optional<FaultReading> ReadFault(OperationEnv &env, const Options &options = {});

// The registers a plain read shows (R0 to FPSCR).
std::vector<CoreRegister> ShownRegisters();

} // namespace CoreOps

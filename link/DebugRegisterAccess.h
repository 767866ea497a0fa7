#pragma once

#include "link/CoreRegisterPort.h"

class LinkCycle;

// The core registers through the core's debug registers in memory, for the
// links that only move memory (the probe and the UART debug link): the
// selector goes to DCRSR, the core answers with S_REGRDY in DHCSR, the value
// sits in DCRDR. The three registers are reached at `dhcsr` and the two words
// after it, where the link sees the core's debug block.
class DebugRegisterAccess final : public CoreRegisterPort
{
public:
    static constexpr uint32_t kDhcsr = 0xE000EDF0;
    static constexpr uint32_t kDcrsrOffset = 4;
    static constexpr uint32_t kDcrdrOffset = 8;
    static constexpr uint32_t kRegisterReady = 1u << 16; // S_REGRDY
    static constexpr uint32_t kHalted = 1u << 17;        // S_HALT
    static constexpr uint32_t kWriteRequest = 1u << 16;  // REGWnR
    static constexpr int kDefaultReadyDeadlineMs = 100;

    DebugRegisterAccess(LinkCycle &cycle, uint32_t dhcsr, int readyDeadlineMs = kDefaultReadyDeadlineMs);

    std::optional<bool> Halted() override;
    Outcome Read(CoreRegister id, uint32_t *value) override;
    Outcome Write(CoreRegister id, uint32_t value) override;

private:
    bool Transfer(uint8_t selector, bool write, const char *registerName);
    bool WaitReady(const char *registerName);
    bool Allowed(uint32_t address, bool write);
    bool ReadWord(uint32_t address, uint32_t *value);
    bool WriteWord(uint32_t address, uint32_t value);

    LinkCycle &m_cycle;
    uint32_t m_dhcsr;
    int m_readyDeadlineMs;
};

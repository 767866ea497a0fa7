#pragma once

#include <array>
#include <cstdint>

// A Cortex-M33's debug registers as the simulated targets answer them: DHCSR
// (the halt request and S_HALT, S_REGRDY), DCRSR (a register selector, with
// REGWnR for a write) and DCRDR (the value), over a register file. Plain C++:
// the stand-in probe library carries no Qt.
//
// The core moves a register only while halted; a selector written to a
// running core leaves S_REGRDY clear, as does the injected fault.
class SimulatedDebugCore
{
public:
    static constexpr uint32_t kDcrsrOffset = 4;
    static constexpr uint32_t kDcrdrOffset = 8;

    // `dhcsr` is where the link sees DHCSR; DCRSR and DCRDR follow it.
    explicit SimulatedDebugCore(uint32_t dhcsr)
        : m_dhcsr(dhcsr)
    {
        Reset();
    }

    // Whether the word at `address` (word aligned) is one of the three registers.
    bool Covers(uint32_t address) const { return address >= m_dhcsr && address < m_dhcsr + 12; }
    uint32_t ReadWord(uint32_t address) const;
    void WriteWord(uint32_t address, uint32_t value);

    bool Halted() const { return m_halted; }
    void SetHalted(bool halted) { m_halted = halted; }
    // By DCRSR selector (0-127).
    uint32_t Register(uint8_t selector) const { return m_registers[selector & 0x7F]; }
    void SetRegister(uint8_t selector, uint32_t value) { m_registers[selector & 0x7F] = value; }
    // The core never sets S_REGRDY again.
    void SetReadyNever(bool never) { m_readyNever = never; }
    // A register file a debugger would find in a firmware's main loop.
    void LoadPlausibleRegisters();
    void Reset();

private:
    uint32_t m_dhcsr;
    bool m_halted = false;
    bool m_debugEnabled = false;
    bool m_ready = true;
    bool m_readyNever = false;
    uint32_t m_dcrdr = 0;
    std::array<uint32_t, 128> m_registers{};
};

#include "SimulatedDebugCore.h"

namespace {

constexpr uint32_t kDebugKey = 0xA05Fu;
constexpr uint32_t kDebugEnable = 1u << 0; // C_DEBUGEN
constexpr uint32_t kHaltBit = 1u << 1;     // C_HALT
constexpr uint32_t kRegisterReady = 1u << 16;
constexpr uint32_t kHaltedStatus = 1u << 17;
constexpr uint32_t kWriteRequest = 1u << 16;

} // namespace

uint32_t SimulatedDebugCore::ReadWord(uint32_t address) const
{
    const uint32_t offset = address - m_dhcsr;
    if (offset == kDcrdrOffset)
        return m_dcrdr;
    if (offset == kDcrsrOffset)
        return 0; // write-only
    return (m_debugEnabled ? kDebugEnable : 0u) | (m_halted ? kHaltBit | kHaltedStatus : 0u) |
           (m_ready && !m_readyNever ? kRegisterReady : 0u);
}

void SimulatedDebugCore::WriteWord(uint32_t address, uint32_t value)
{
    const uint32_t offset = address - m_dhcsr;
    if (offset == kDcrdrOffset) {
        m_dcrdr = value;
    } else if (offset == kDcrsrOffset) {
        m_ready = false;
        if (!m_halted || m_readyNever)
            return;
        const uint8_t selector = uint8_t(value & 0x7F);
        if (value & kWriteRequest)
            m_registers[selector] = m_dcrdr;
        else
            m_dcrdr = m_registers[selector];
        m_ready = true;
    } else if ((value >> 16) == kDebugKey) { // DHCSR takes writes with its key only
        m_debugEnabled = value & kDebugEnable;
        m_halted = m_debugEnabled && (value & kHaltBit);
    }
}

void SimulatedDebugCore::LoadPlausibleRegisters()
{
    for (uint8_t r = 0; r <= 12; ++r)
        m_registers[r] = 0x01010101u * r;
    m_registers[13] = 0x20007F80;   // SP
    m_registers[14] = 0x00000E81;   // LR
    m_registers[15] = 0x00000F40;   // PC
    m_registers[16] = 0x01000000;   // xPSR: Thumb, Thread mode
    m_registers[17] = 0x20007F80;   // MSP
    m_registers[18] = 0x20006000;   // PSP
    m_registers[0x1A] = 0x20007F80; // MSP_S
    m_registers[0x1B] = 0x20006000; // PSP_S
}

void SimulatedDebugCore::Reset()
{
    m_halted = m_debugEnabled = m_readyNever = false;
    m_ready = true;
    m_dcrdr = 0;
    m_registers.fill(0);
    LoadPlausibleRegisters();
}

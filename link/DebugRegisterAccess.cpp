#include "link/DebugRegisterAccess.h"

#include "link/ChipProfile.h"
#include "link/LinkCycle.h"
#include "link/LinkMessages.h"
#include "link/MessageText.h"

#include <QElapsedTimer>
#include <QThread>

DebugRegisterAccess::DebugRegisterAccess(LinkCycle &cycle, uint32_t dhcsr, int readyDeadlineMs)
    : m_cycle(cycle)
    , m_dhcsr(dhcsr)
    , m_readyDeadlineMs(readyDeadlineMs)
{}

// The debug registers pass the chip table's checks as any memory transfer does.
bool DebugRegisterAccess::Allowed(uint32_t address, bool write)
{
    const auto refusal = write ? ChipProfile::CheckWriteAddress(m_cycle.ChipModel(), address)
                               : ChipProfile::CheckReadAddress(m_cycle.ChipModel(), address);
    if (!refusal)
        return true;
    m_cycle.Fail(*refusal);
    m_cycle.Close();
    return false;
}

bool DebugRegisterAccess::WriteWord(uint32_t address, uint32_t value)
{
    return Allowed(address, true) && m_cycle.WriteWord(address, value);
}

bool DebugRegisterAccess::ReadWord(uint32_t address, uint32_t *value)
{
    if (!Allowed(address, false) || !m_cycle.Read(address, 4))
        return false;
    *value = m_cycle.Buffer().Word(0);
    return true;
}

std::optional<bool> DebugRegisterAccess::Halted()
{
    uint32_t dhcsr = 0;
    if (!ReadWord(m_dhcsr, &dhcsr))
        return std::nullopt;
    return (dhcsr & kHalted) != 0;
}

// The deadline is taken once, before the first look: a link that answers
// slowly spends it on its own exchanges, never more.
bool DebugRegisterAccess::WaitReady(const char *registerName)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        uint32_t dhcsr = 0;
        if (!ReadWord(m_dhcsr, &dhcsr))
            return false;
        if (dhcsr & kRegisterReady)
            return true;
        if (clock.elapsed() >= m_readyDeadlineMs) {
            m_cycle.Fail(MessageText::Format(LinkMessages::kRegisterNotReady, registerName, m_readyDeadlineMs));
            m_cycle.Close();
            return false;
        }
        QThread::msleep(1);
    }
}

bool DebugRegisterAccess::Transfer(uint8_t selector, bool write, const char *registerName)
{
    const uint32_t request = selector | (write ? kWriteRequest : 0u);
    return WriteWord(m_dhcsr + kDcrsrOffset, request) && WaitReady(registerName);
}

CoreRegisterPort::Outcome DebugRegisterAccess::Read(CoreRegister id, uint32_t *value)
{
    const CoreRegisterInfo &info = CoreRegisters::Info(id);
    uint32_t word = 0;
    if (!Transfer(info.selector, false, info.name) || !ReadWord(m_dhcsr + kDcrdrOffset, &word))
        return Outcome::Failed;
    *value = info.byteLane < 0 ? word : (word >> (8 * info.byteLane)) & 0xFF;
    return Outcome::Done;
}

// A byte of the packed special registers goes back into the word read first,
// so its neighbours keep their values.
CoreRegisterPort::Outcome DebugRegisterAccess::Write(CoreRegister id, uint32_t value)
{
    const CoreRegisterInfo &info = CoreRegisters::Info(id);
    uint32_t word = value;
    if (info.byteLane >= 0) {
        uint32_t packed = 0;
        if (!Transfer(info.selector, false, info.name) || !ReadWord(m_dhcsr + kDcrdrOffset, &packed))
            return Outcome::Failed;
        const int shift = 8 * info.byteLane;
        word = (packed & ~(0xFFu << shift)) | ((value & 0xFF) << shift);
    }
    if (!WriteWord(m_dhcsr + kDcrdrOffset, word) || !Transfer(info.selector, true, info.name))
        return Outcome::Failed;
    return Outcome::Done;
}

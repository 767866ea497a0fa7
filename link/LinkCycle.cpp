#include "link/LinkCycle.h"

#include "link/LinkMessages.h"
#include "link/MessageText.h"
#include "link/Settings.h"

LinkCycle::LinkCycle(const ConfigFile &config, TargetLinks &links, UserContext &user, LinkCycleGate::Turn turn)
    : m_config(config)
    , m_links(links)
    , m_user(user)
    , m_pass(links.gate, turn)
{}

LinkCycle::~LinkCycle()
{
    // An operation that returns early without closing must not leave the
    // probe or the port open for the next one.
    if (m_open)
        Close();
    m_links.uart.PinChipModel(std::nullopt);
}

bool LinkCycle::Preface()
{
    m_busy.emplace(m_user.busy);
    m_dataSource = LoadSettings(m_config, SettingsPart::DataSourceOnly).dataSource;
    m_chipModel = m_user.panel.ChipModel();
    m_links.uart.PinChipModel(m_chipModel);
    if (m_dataSource == Stored(DataSource::Offline))
        return Fail(LinkMessages::kSelectOnlineData);
    return true;
}

void LinkCycle::PrefaceWith(int dataSource)
{
    m_busy.emplace(m_user.busy);
    m_dataSource = dataSource;
    m_chipModel = m_user.panel.ChipModel();
    m_links.uart.PinChipModel(m_chipModel);
}

bool LinkCycle::Fail(const QString &message, const QString &reason)
{
    m_user.messages.ShowFailure(MessageText::Cut(message), reason);
    return false;
}

void LinkCycle::Note(const QString &message)
{
    m_user.messages.ShowNote(MessageText::Cut(message));
}

// Chosen on first use, after the preface and the caller's overrides, and
// kept for the cycle's life: a re-opening uses the same link.
TargetBackend &LinkCycle::Backend()
{
    if (!m_backend)
        m_backend = TargetBackends::ForDataSource(
            m_dataSource, {m_config, m_links, m_chipModel, m_probeOverride, m_uartRefusalFormat, m_connectFailure});
    return *m_backend;
}

bool LinkCycle::Open()
{
    m_open = Backend().Open(*this);
    return m_open;
}

bool LinkCycle::Reopen()
{
    CloseLeavingHalted();
    return Open();
}

bool LinkCycle::HaltCore(const CoreHalt &halt)
{
    return Backend().HaltCore(*this, halt);
}

bool LinkCycle::HaltLcpu(const CoreHalt &halt)
{
    return Backend().HaltLcpu(*this, halt);
}

bool LinkCycle::PreviewsFileReads()
{
    return Backend().PreviewsFileReads();
}

bool LinkCycle::WritesBytes()
{
    return Backend().WritesBytes();
}

const char *LinkCycle::ReadFailureFormat()
{
    return Backend().FailureTexts().readBody;
}

const char *LinkCycle::WriteFailureFormat()
{
    return Backend().FailureTexts().writeBody;
}

QString LinkCycle::RegisterReadFailure(uint32_t address)
{
    return MessageText::Format(Backend().FailureTexts().readWord, address);
}

QString LinkCycle::RegisterWriteFailure(uint32_t address)
{
    return MessageText::Format(Backend().FailureTexts().writeWord, address);
}

bool LinkCycle::Read(uint32_t address, uint32_t byteCount)
{
    return ReadUnchecked(address, byteCount) || BodyFailed(ReadFailureFormat(), address, byteCount);
}

bool LinkCycle::Write(uint32_t address, uint32_t byteCount)
{
    return WriteUnchecked(address, byteCount) || BodyFailed(WriteFailureFormat(), address, byteCount);
}

bool LinkCycle::WriteWord(uint32_t address, uint32_t value)
{
    m_links.buffer.SetWord(0, value);
    return Write(address, 4);
}

// Callers stay within the transfer buffer; a larger count is refused like a
// failed transfer rather than let it overrun the buffer.
bool LinkCycle::ReadUnchecked(uint32_t address, uint32_t byteCount)
{
    if (byteCount > TransferBuffer::kSize)
        return false;
    return Backend().ReadMemory(address, byteCount);
}

bool LinkCycle::WriteUnchecked(uint32_t address, uint32_t byteCount)
{
    if (byteCount > TransferBuffer::kSize)
        return false;
    return Backend().WriteMemory(address, byteCount);
}

bool LinkCycle::WriteRepeated(uint32_t address, uint32_t byteCount)
{
    if (Backend().ExaminesRepeatedWrites())
        return Write(address, byteCount);
    WriteUnchecked(address, byteCount);
    return true;
}

bool LinkCycle::BodyFailed(const char *format, uint32_t address, uint32_t byteCount)
{
    Fail(MessageText::Format(format, address, byteCount));
    Close();
    return false;
}

void LinkCycle::Close()
{
    if (!m_open)
        return;
    m_open = false;
    m_backend->Close();
}

void LinkCycle::CloseWithoutLeave()
{
    if (!m_open)
        return;
    m_open = false;
    m_backend->CloseWithoutLeave();
}

void LinkCycle::CloseLeavingHalted()
{
    if (!m_open)
        return;
    m_open = false;
    m_backend->CloseLeavingHalted();
}

#include "link/LinkCycle.h"

#include "link/HaltRecord.h"
#include "link/LinkMessages.h"
#include "link/MessageText.h"
#include "link/Settings.h"
#include "link/Tr.h"

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
    m_shownReason = reason.isEmpty() ? m_linkReason : reason;
    m_shownFailure = MessageText::Cut(message);
    m_linkReason.clear();
    m_user.messages.ShowFailure(m_shownFailure, m_shownReason);
    return false;
}

bool LinkCycle::Fail(const char *message, const QString &reason)
{
    return Fail(Tr(message), reason);
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
    if (!m_open)
        return false;
    LearnHalted();
    Backend().KeepHalted(m_halted.Any());
    return true;
}

// An entry no longer holds when the link found the target running (or the
// halted HCPU running), or the target is not the one halted (its identity changed: something let it run,
// or it started again). Such an entry is dropped, and the target runs on after
// the action; entries of older versions carry no identity and are dropped
// by a link that tells one.
void LinkCycle::LearnHalted()
{
    if (m_haltLearned)
        return;
    m_haltLearned = true;
    m_target = Backend().TargetName();
    const HaltEntry entry = HaltRecord::ReadEntry(m_config, m_target);
    m_halted = entry.cores;
    if (!m_halted.Any())
        return;
    if (!IsStale(entry))
        return;
    m_halted = {};
    // Only the entry judged stale goes: a halt another writer recorded
    // meanwhile stays.
    QString failure;
    const bool dropped = HaltRecord::Update(
        m_config, m_target,
        [&](HaltEntry now) { return now.identity == entry.identity && now.at == entry.at ? HaltEntry{} : now; },
        &failure);
    if (!dropped && !failure.isEmpty())
        Note(failure);
}

bool LinkCycle::IsStale(const HaltEntry &entry)
{
    if (Backend().FoundRunning())
        return true;
    const bool hcpuRuns = entry.cores.hcpu && Backend().HcpuRuns(*this);
    m_linkReason.clear(); // a status that did not come is no reason for a later failure
    if (hcpuRuns)
        return true;
    m_identity = Backend().TargetIdentity();
    return !m_identity.isEmpty() && entry.identity != m_identity;
}

bool LinkCycle::Reopen(Reopening how)
{
    // The identity a halt records is the first connection's, the one every
    // later action opens first.
    if (m_open && m_identity.isEmpty())
        m_identity = Backend().TargetIdentity();
    Backend().OpenAfresh();
    if (how == Reopening::LettingRun) {
        if (m_open)
            Backend().KeepHalted(false);
        Close();
    } else {
        CloseLeavingHalted();
    }
    return Open();
}

bool LinkCycle::RecordHalted(const HaltedCores &cores)
{
    m_halted.hcpu = m_halted.hcpu || cores.hcpu;
    m_halted.lcpu = m_halted.lcpu || cores.lcpu;
    if (m_identity.isEmpty() && m_open)
        m_identity = Backend().TargetIdentity();
    QString failure;
    const bool written = HaltRecord::Update(
        m_config, m_target,
        [&](HaltEntry now) {
            // The same target halted by another writer: its cores count too.
            if (now.identity == m_identity) {
                m_halted.hcpu = m_halted.hcpu || now.cores.hcpu;
                m_halted.lcpu = m_halted.lcpu || now.cores.lcpu;
            }
            return HaltEntry{m_halted, m_identity, QDateTime::currentDateTimeUtc()};
        },
        &failure);
    if (m_open)
        Backend().KeepHalted(true);
    if (!written)
        return Fail(failure);
    return true;
}

bool LinkCycle::RunCores(const CoreHalt &halt)
{
    if (!Backend().RunCores(*this, m_halted, halt))
        return false;
    m_halted = {};
    if (m_open)
        Backend().KeepHalted(false);
    QString failure;
    if (!HaltRecord::Update(
            m_config, m_target, [](HaltEntry) { return HaltEntry{}; }, &failure)) {
        Fail(failure);
        Close();
        return false;
    }
    return true;
}

bool LinkCycle::HaltCore(const CoreHalt &halt)
{
    return Backend().HaltCore(*this, halt);
}

bool LinkCycle::HaltLcpu(const CoreHalt &halt)
{
    return Backend().HaltLcpu(*this, halt);
}

std::unique_ptr<CoreRegisterPort> LinkCycle::CoreRegisters(const CoreHalt &halt, int readyDeadlineMs)
{
    return Backend().CoreRegisters(*this, halt, readyDeadlineMs);
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
    const bool done = Backend().ReadMemory(address, byteCount);
    m_linkReason = done ? QString() : Backend().FailureReason();
    return done;
}

bool LinkCycle::WriteUnchecked(uint32_t address, uint32_t byteCount)
{
    if (byteCount > TransferBuffer::kSize)
        return false;
    const bool done = Backend().WriteMemory(address, byteCount);
    m_linkReason = done ? QString() : Backend().FailureReason();
    return done;
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

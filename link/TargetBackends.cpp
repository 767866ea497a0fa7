#include "link/TargetBackend.h"

#include "link/ChipProfile.h"
#include "link/DebugRegisterAccess.h"
#include "link/GdbConnectionHold.h"
#include "link/GdbCoreRegisters.h"
#include "link/LinkCycle.h"
#include "link/LinkMessages.h"
#include "link/MessageText.h"
#include "link/SettingValues.h"
#include "link/Settings.h"
#include "link/TargetLinks.h"
#include "link/Tr.h"

#include <QCryptographicHash>
#include <QThread>

namespace {

// The J-Link library bound at start-up.
class JLinkBackend final : public TargetBackend
{
public:
    explicit JLinkBackend(const BackendSetup &setup)
        : m_config(setup.config)
        , m_jlink(setup.links.jlink)
        , m_buffer(setup.links.buffer)
        , m_serialNumber(setup.probeSerialNumber)
        , m_connectFailure(setup.connectFailure)
    {}

    bool Open(LinkCycle &cycle) override
    {
        if (!m_jlink.IsBound())
            return cycle.Fail(LinkMessages::kProbeLibraryMissing);
        // Taken once: a re-opening selects the same probe.
        if (!m_serialNumber)
            m_serialNumber = uint32_t(LoadSettings(m_config, SettingsPart::JLink).jlinkSerialNumber);
        if (m_jlink.EmuSelectByUsbSn(*m_serialNumber) < 0)
            return cycle.Fail(LinkMessages::kProbeSelect);
        m_jlink.Open();
        if (!m_jlink.IsOpen())
            return cycle.Fail(LinkMessages::kProbeIsOpen);
        if (!m_jlink.EmuIsConnected()) {
            cycle.Fail(LinkMessages::kProbeIsConnected);
            m_jlink.Close();
            return false;
        }
        m_jlink.TifSelect(JLinkApi::kInterfaceSwd);
        m_jlink.SetSpeed(JLinkApi::kSpeedKHz);
        m_jlink.ExecCommand("device=CORTEX-M33");
        if (m_jlink.Connect() != 0) {
            cycle.Fail(m_connectFailure);
            m_jlink.Close();
            return false;
        }
        return true;
    }

    bool ReadMemory(uint32_t address, uint32_t byteCount) override
    {
        return m_jlink.ReadMemEx(address, byteCount, m_buffer.data()) == int(byteCount);
    }

    bool WriteMemory(uint32_t address, uint32_t byteCount) override
    {
        return m_jlink.WriteMemEx(address, byteCount, m_buffer.data()) == int(byteCount);
    }

    void Close() override { m_jlink.Close(); }

    bool HaltCore(LinkCycle &, const CoreHalt &halt) override
    {
        m_jlink.Halt();
        QThread::msleep(halt.pauseAfterHaltMs);
        return true;
    }

    // The probe halts the LCPU through a fresh connection while the flag is set.
    bool HaltLcpu(LinkCycle &cycle, const CoreHalt &halt) override
    {
        if (!cycle.WriteWord(halt.lcpuFlagRegister, 1) || !cycle.Reopen())
            return false;
        m_jlink.Halt();
        return cycle.WriteWord(halt.lcpuFlagRegister, 0);
    }

    // Go lets the HCPU run; the LCPU runs as it halted, through a fresh
    // connection while the flag is set.
    bool RunCores(LinkCycle &cycle, const HaltedCores &halted, const CoreHalt &halt) override
    {
        m_jlink.Go();
        if (!halted.lcpu)
            return true;
        if (!cycle.WriteWord(halt.lcpuFlagRegister, 1) || !cycle.Reopen())
            return false;
        m_jlink.Go();
        return cycle.WriteWord(halt.lcpuFlagRegister, 0);
    }

    std::unique_ptr<CoreRegisterPort> CoreRegisters(LinkCycle &cycle, const CoreHalt &, int readyDeadlineMs) override
    {
        return std::make_unique<DebugRegisterAccess>(cycle, DebugRegisterAccess::kDhcsr, readyDeadlineMs);
    }

    QString TargetName() const override
    {
        return HaltRecord::TargetName(Stored(DataSource::JLink), QString::number(m_serialNumber.value_or(0)));
    }

    bool PreviewsFileReads() const override { return true; }

    const TransferFailureTexts &FailureTexts() const override
    {
        static constexpr TransferFailureTexts kTexts{LinkMessages::kProbeReadBody, LinkMessages::kProbeWriteBody,
                                                     LinkMessages::kProbeReadWord, LinkMessages::kProbeWriteWord};
        return kTexts;
    }

private:
    const ConfigFile &m_config;
    JLinkLibrary &m_jlink;
    TransferBuffer &m_buffer;
    std::optional<uint32_t> m_serialNumber;
    const char *m_connectFailure;
};

// The UART debug link over the configured serial port.
class UartBackend final : public TargetBackend
{
public:
    explicit UartBackend(const BackendSetup &setup)
        : m_config(setup.config)
        , m_uart(setup.links.uart)
        , m_chipModel(setup.chipModel)
        , m_refusalFormat(setup.uartRefusalFormat)
    {}

    bool Open(LinkCycle &cycle) override
    {
        if (!ChipProfile::SupportsUartDebug(m_chipModel))
            return cycle.Fail(MessageText::Format(m_refusalFormat, m_chipModel.toUtf8().constData()));
        const Settings settings = LoadSettings(m_config, SettingsPart::Uart);
        m_portName = settings.uartPort;
        m_port = m_uart.OpenPort(settings.uartPort, settings.uartSpeedIndex);
        if (!m_port.IsOpen())
            return cycle.Fail(LinkMessages::kUartOpen, m_port.OpenFailure());
        if (!m_uart.EnterDebugMode(m_port)) {
            const QString reason = FailureReason();
            m_port.Close();
            return cycle.Fail(LinkMessages::kUartEnterDebugMode, reason);
        }
        return true;
    }

    bool ReadMemory(uint32_t address, uint32_t byteCount) override
    {
        return m_uart.ReadMem(m_port, address, uint16_t(byteCount));
    }

    bool WriteMemory(uint32_t address, uint32_t byteCount) override
    {
        return m_uart.WriteMem(m_port, address, uint16_t(byteCount));
    }

    void Close() override
    {
        m_uart.LeaveDebugMode(m_port);
        m_port.Close();
    }

    void CloseWithoutLeave() override { m_port.Close(); }

    // Both cores halt by the request word written into the debug view.
    bool HaltCore(LinkCycle &cycle, const CoreHalt &halt) override
    {
        return cycle.WriteWord(halt.debugViewRegister, halt.request);
    }

    bool HaltLcpu(LinkCycle &cycle, const CoreHalt &halt) override { return HaltCore(cycle, halt); }

    // The same register without the halt bit lets both cores run.
    bool RunCores(LinkCycle &cycle, const HaltedCores &, const CoreHalt &halt) override
    {
        return cycle.WriteWord(halt.debugViewRegister, halt.runRequest);
    }

    // The debug registers sit beside the halt request, in the debug view.
    std::unique_ptr<CoreRegisterPort> CoreRegisters(LinkCycle &cycle, const CoreHalt &halt,
                                                    int readyDeadlineMs) override
    {
        return std::make_unique<DebugRegisterAccess>(cycle, halt.debugViewRegister, readyDeadlineMs);
    }

    QString TargetName() const override { return HaltRecord::TargetName(Stored(DataSource::Uart), m_portName); }

    // The core's debug halting status register says whether it is halted;
    // a chip that started again since its halt runs. The operation may have
    // put its data into the buffer already: its first word is kept.
    bool HcpuRuns(LinkCycle &cycle) override
    {
        constexpr uint32_t kDebugHaltingStatus = 0xE000EDF0;
        constexpr uint32_t kHalted = 1u << 17;
        TransferBuffer &buffer = cycle.Buffer();
        const uint32_t kept = buffer.Word(0);
        const bool read = cycle.ReadUnchecked(kDebugHaltingStatus, 4);
        const bool runs = read && (buffer.Word(0) & kHalted) == 0;
        buffer.SetWord(0, kept);
        return runs;
    }

    // A port that hung up (a USB adapter unplugged) is the one reason the
    // system gives; a chip that does not answer gives none.
    QString FailureReason() const override
    {
        if (!m_port.HasFailed())
            return QString();
        return MessageText::Format(LinkMessages::kPortReason, m_portName.toUtf8().constData(),
                                   Tr(LinkMessages::kPortHungUp).toUtf8().constData());
    }

    bool ExaminesRepeatedWrites() const override { return false; }
    bool WritesBytes() const override { return false; }

    const TransferFailureTexts &FailureTexts() const override
    {
        static constexpr TransferFailureTexts kTexts{LinkMessages::kUartReadBody, LinkMessages::kUartWriteBody,
                                                     LinkMessages::kUartReadWord, LinkMessages::kUartWriteWord};
        return kTexts;
    }

private:
    const ConfigFile &m_config;
    UartLink &m_uart;
    QString m_chipModel;
    const char *m_refusalFormat;
    QString m_portName;
    SerialPort m_port;
};

// A GDB server's remote protocol. Its connection stops the target when it
// opens and the detach lets it run, so a halt is leaving without the detach,
// and every later action leaves the same way until the cores run again.
class GdbBackend final : public TargetBackend
{
public:
    explicit GdbBackend(const BackendSetup &setup)
        : m_config(setup.config)
        , m_links(setup.links)
        , m_gdb(setup.links.gdb)
        , m_buffer(setup.links.buffer)
    {}

    // TCP connect, feature exchange and stopping the target; GdbRemote bounds
    // every wait, so a silent server costs its deadline, never a hang. A
    // connection a watch keeps open to the same server is taken back
    // instead; one found lost is connected again, once.
    bool Open(LinkCycle &cycle) override
    {
        m_server = LoadSettings(m_config, SettingsPart::Gdb).gdbServer.trimmed();
        if (m_gdb.IsConnected()) {
            if (!m_afresh && m_links.gdbHeldServer == m_server && m_gdb.Reclaim())
                return true;
            // Another server, or a fresh connection asked for: the old one ends as a close would.
            m_links.gdbHeldServer.clear();
            if (m_gdb.IsResumed())
                m_gdb.Detach();
            else
                m_gdb.Close();
        }
        if (!m_gdb.Open(m_server))
            return cycle.Fail(MessageText::Format(LinkMessages::kGdbConnect, m_server.toUtf8().constData()),
                              m_gdb.FailureReason());
        m_links.gdbHeldServer = m_server;
        return true;
    }

    bool ReadMemory(uint32_t address, uint32_t byteCount) override
    {
        return m_gdb.ReadMemory(address, byteCount, m_buffer.data());
    }

    bool WriteMemory(uint32_t address, uint32_t byteCount) override
    {
        return m_gdb.WriteMemory(address, byteCount, m_buffer.data());
    }

    // Detach lets the target run on as it did before the connection. While
    // a watch holds the connection it stays open, the target let run unless
    // a halt is kept.
    void Close() override
    {
        if (Held()) {
            if (m_keepHalted || m_gdb.Resume())
                return;
            m_gdb.Close();
            return;
        }
        m_keepHalted ? m_gdb.Close() : void(m_gdb.Detach());
        m_links.gdbHeldServer.clear();
    }
    void CloseLeavingHalted() override
    {
        if (Held())
            return;
        m_gdb.Close();
        m_links.gdbHeldServer.clear();
    }
    void OpenAfresh() override { m_afresh = true; }

    // The opening stopped the core already.
    bool HaltCore(LinkCycle &, const CoreHalt &) override { return true; }

    bool HaltLcpu(LinkCycle &cycle, const CoreHalt &halt) override
    {
        return cycle.WriteWord(halt.lcpuFlagRegister, 1) && cycle.Reopen() && cycle.WriteWord(halt.lcpuFlagRegister, 0);
    }

    // The detach at the close lets the HCPU run; the LCPU's connection is
    // reached as its halt reached it, and detached in turn.
    bool RunCores(LinkCycle &cycle, const HaltedCores &halted, const CoreHalt &halt) override
    {
        if (!halted.lcpu)
            return true;
        return cycle.WriteWord(halt.lcpuFlagRegister, 1) && cycle.Reopen(LinkCycle::Reopening::LettingRun) &&
               cycle.WriteWord(halt.lcpuFlagRegister, 0);
    }

    std::unique_ptr<CoreRegisterPort> CoreRegisters(LinkCycle &cycle, const CoreHalt &, int) override
    {
        return std::make_unique<GdbCoreRegisters>(cycle, m_gdb, m_gdb.FoundRunning());
    }

    QString TargetName() const override { return HaltRecord::TargetName(Stored(DataSource::Gdb), m_server); }
    bool FoundRunning() const override { return m_gdb.FoundRunning(); }
    // The halted core's registers: a target that ran, or started again,
    // shows others.
    QString TargetIdentity() override
    {
        QByteArray registers;
        if (!m_gdb.ReadRegisters(&registers))
            return QString();
        return QString::fromLatin1(QCryptographicHash::hash(registers, QCryptographicHash::Sha1).toHex().left(16));
    }
    void KeepHalted(bool keep) override { m_keepHalted = keep; }
    QString FailureReason() const override { return m_gdb.FailureReason(); }

    const TransferFailureTexts &FailureTexts() const override
    {
        static constexpr TransferFailureTexts kTexts{LinkMessages::kGdbReadBody, LinkMessages::kGdbWriteBody,
                                                     LinkMessages::kGdbReadWord, LinkMessages::kGdbWriteWord};
        return kTexts;
    }

private:
    bool Held() const { return m_links.gdbHolders > 0 && !m_afresh && m_gdb.IsConnected() && !m_gdb.StreamFailed(); }

    const ConfigFile &m_config;
    TargetLinks &m_links;
    GdbRemote &m_gdb;
    TransferBuffer &m_buffer;
    QString m_server;
    bool m_keepHalted = false;
    // A re-opening that needs a connection of its own (the LCPU's halt and run):
    // nothing held is reused or kept by this cycle.
    bool m_afresh = false;
};

} // namespace

namespace TargetBackends {

std::unique_ptr<TargetBackend> ForDataSource(int dataSource, const BackendSetup &setup)
{
    if (dataSource == Stored(DataSource::JLink))
        return std::make_unique<JLinkBackend>(setup);
    if (dataSource == Stored(DataSource::Gdb))
        return std::make_unique<GdbBackend>(setup);
    return std::make_unique<UartBackend>(setup);
}

} // namespace TargetBackends

#include "link/LinkCycle.h"

#include "link/ChipProfile.h"
#include "link/MessageText.h"
#include "link/Settings.h"

namespace {

const char kLibraryMissing[] =
    "Please copy libjlinkarm.so file from the path of the JLink(SEGGER) software to the path of this tool!";

} // namespace

LinkCycle::LinkCycle(const ConfigFile &config, TargetLinks &links, UserContext &user, LinkCycleGate::Turn turn)
    : m_config(config)
    , m_links(links)
    , m_user(user)
    , m_pass(links.gate, turn)
{
}

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
    if (m_dataSource == 0)
        return Fail("Please select online data type !\n");
    return true;
}

void LinkCycle::PrefaceWith(int dataSource)
{
    m_busy.emplace(m_user.busy);
    m_dataSource = dataSource;
    m_chipModel = m_user.panel.ChipModel();
    m_links.uart.PinChipModel(m_chipModel);
}

bool LinkCycle::Fail(const QString &message)
{
    m_user.messages.ShowMessage(MessageText::Cut(message));
    return false;
}

void LinkCycle::Note(const QString &message)
{
    m_user.messages.ShowMessage(MessageText::Cut(message));
}

bool LinkCycle::Open()
{
    switch (Kind()) {
    case Link::JLink:
        return OpenProbe();
    case Link::Gdb:
        return OpenGdb();
    case Link::Uart:
        break;
    }
    return OpenUart();
}

bool LinkCycle::OpenProbe()
{
    JLinkLibrary &jlink = m_links.jlink;
    if (!jlink.IsBound())
        return Fail(kLibraryMissing);
    m_probeSerialNumber = m_probeOverride
        ? *m_probeOverride
        : uint32_t(LoadSettings(m_config, SettingsPart::JLink).jlinkSerialNumber);
    if (jlink.EmuSelectByUsbSn(m_probeSerialNumber) < 0)
        return Fail("jlink_EMU_SelectByUSBSN error\n");
    jlink.Open();
    if (!jlink.IsOpen())
        return Fail("jlink_IsOpen error\n");
    if (!jlink.EmuIsConnected()) {
        Fail("jlink_EMU_IsConnected error\n");
        jlink.Close();
        return false;
    }
    jlink.TifSelect(JLinkApi::kInterfaceSwd);
    jlink.SetSpeed(JLinkApi::kSpeedKHz);
    jlink.ExecCommand("device=CORTEX-M33");
    if (jlink.Connect() != 0) {
        Fail(m_connectFailure);
        jlink.Close();
        return false;
    }
    m_open = true;
    return true;
}

bool LinkCycle::OpenUart()
{
    if (!ChipProfile::SupportsUartDebug(m_chipModel))
        return Fail(MessageText::Format(m_uartRefusalFormat, m_chipModel.toUtf8().constData()));
    const Settings settings = LoadSettings(m_config, SettingsPart::Uart);
    m_port = m_links.uart.OpenPort(settings.uartPort, settings.uartSpeedIndex);
    if (!m_port.IsOpen())
        return Fail("uart open error !\n");
    if (!m_links.uart.EnterDebugMode(m_port)) {
        m_port.Close();
        return Fail("EnterDebugMode error !\n");
    }
    m_open = true;
    return true;
}

// TCP connect, feature exchange and stopping the target; GdbRemote bounds
// every wait, so a silent server costs its deadline, never a hang.
bool LinkCycle::OpenGdb()
{
    const Settings settings = LoadSettings(m_config, SettingsPart::Gdb);
    if (!m_links.gdb.Open(settings.gdbServer))
        return Fail("gdb connect GDB_SERVER error !\n");
    m_open = true;
    return true;
}

void LinkCycle::CloseLeavingStopped()
{
    if (!m_open)
        return;
    m_open = false;
    m_links.gdb.Close();
}

bool LinkCycle::ReopenGdb()
{
    CloseLeavingStopped();
    return OpenGdb();
}

const char *LinkCycle::ReadFailureFormat() const
{
    switch (Kind()) {
    case Link::JLink:
        return "jlink_ReadMemEx 0x%08x 0x%x error !\n";
    case Link::Gdb:
        return "gdb_ReadMem 0x%08x 0x%x error !\n";
    case Link::Uart:
        break;
    }
    return "ReadMem 0x%08x 0x%x error !\n";
}

const char *LinkCycle::WriteFailureFormat() const
{
    switch (Kind()) {
    case Link::JLink:
        return "jlink_WriteMemEx 0x%08x 0x%x error !\n";
    case Link::Gdb:
        return "gdb_WriteMem 0x%08x 0x%x error !\n";
    case Link::Uart:
        break;
    }
    return "WriteMem 0x%08x 0x%x error !\n";
}

bool LinkCycle::ReopenProbe()
{
    m_links.jlink.Close();
    m_open = false;
    m_probeOverride = m_probeSerialNumber;
    return OpenProbe();
}

bool LinkCycle::Read(uint32_t address, uint32_t byteCount)
{
    return ReadUnchecked(address, byteCount) || BodyFailed(ReadFailureFormat(), address, byteCount);
}

bool LinkCycle::Write(uint32_t address, uint32_t byteCount)
{
    return WriteUnchecked(address, byteCount) || BodyFailed(WriteFailureFormat(), address, byteCount);
}

// Callers stay within the transfer buffer; a larger count is refused like a
// failed transfer rather than let it overrun the buffer.
bool LinkCycle::ReadUnchecked(uint32_t address, uint32_t byteCount)
{
    if (byteCount > TransferBuffer::kSize)
        return false;
    uint8_t *data = m_links.buffer.data();
    if (Kind() == Link::Gdb)
        return m_links.gdb.ReadMemory(address, byteCount, data);
    return Kind() == Link::JLink ? m_links.jlink.ReadMemEx(address, byteCount, data) == int(byteCount)
                                 : m_links.uart.ReadMem(m_port, address, uint16_t(byteCount));
}

bool LinkCycle::WriteUnchecked(uint32_t address, uint32_t byteCount)
{
    if (byteCount > TransferBuffer::kSize)
        return false;
    const uint8_t *data = m_links.buffer.data();
    if (Kind() == Link::Gdb)
        return m_links.gdb.WriteMemory(address, byteCount, data);
    return Kind() == Link::JLink ? m_links.jlink.WriteMemEx(address, byteCount, data) == int(byteCount)
                                 : m_links.uart.WriteMem(m_port, address, uint16_t(byteCount));
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
    if (Kind() == Link::JLink) {
        m_links.jlink.Close();
    } else if (Kind() == Link::Gdb) {
        // Detach lets the target run on as it did before the connection.
        m_links.gdb.Detach();
    } else {
        m_links.uart.LeaveDebugMode(m_port);
        m_port.Close();
    }
}

void LinkCycle::CloseWithoutLeave()
{
    if (!m_open)
        return;
    if (Kind() == Link::Uart) {
        m_open = false;
        m_port.Close();
    } else {
        Close();
    }
}

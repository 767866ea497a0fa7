#include "StandInProbe.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr int kUsb = 1;

void Warn(const std::string &text)
{
    if (!text.empty())
        std::fprintf(stderr, "jlink-standin: %s", text.c_str());
}

std::string Hex(uint32_t value, bool padded)
{
    char text[16];
    std::snprintf(text, sizeof text, padded ? "0x%08" PRIx32 : "0x%" PRIx32, value);
    return text;
}

bool FitsAddressSpace(uint32_t address, uint32_t byteCount)
{
    return uint64_t(address) + byteCount <= uint64_t(1) << 32;
}

// The result is an int: larger transfers could not report their count.
bool IsTransferable(uint32_t address, uint32_t byteCount)
{
    return FitsAddressSpace(address, byteCount) && byteCount <= uint32_t(INT32_MAX);
}

} // namespace

StandInProbe &StandInProbe::Instance()
{
    static StandInProbe probe;
    return probe;
}

StandInProbe::StandInProbe()
{
    if (const char *path = std::getenv("JLINK_STANDIN_CONFIG"); path && *path) {
        std::string error;
        m_config = StandInConfig::Load(path, error);
        Warn(error.empty() ? error : std::string(path) + ":\n" + error);
    }
    if (const char *path = std::getenv("JLINK_STANDIN_LOG"); path && *path)
        m_logFile = path;
    ApplyStartState();
}

void StandInProbe::ApplyStartState()
{
    m_probes = m_config.probes;
    m_faults = Faults{};
    for (const auto &fault : m_config.faults)
        if (!SetFaultLocked(fault.name, fault.fromCall))
            Warn("unknown fault \"" + fault.name + "\"\n");
    m_readCalls = m_writeCalls = m_connectCalls = 0;
    m_selected.reset();
    m_open = m_connected = false;
    m_core.Reset();
    m_speed = 0;
    m_calls.clear();
    m_memory.Clear();
    if (!m_config.memoryFile.empty()) {
        std::string error;
        m_memory.LoadFile(m_config.memoryFile, error);
        Warn(error);
    }
    TakeHaltFromMemory();
}

void StandInProbe::Reset()
{
    std::lock_guard lock(m_mutex);
    ApplyStartState();
}

void StandInProbe::SetProbes(const std::vector<uint32_t> &serialNumbers)
{
    std::lock_guard lock(m_mutex);
    m_probes = serialNumbers;
}

bool StandInProbe::SetFault(const std::string &name, int fromCall)
{
    std::lock_guard lock(m_mutex);
    return SetFaultLocked(name, fromCall);
}

bool StandInProbe::SetFaultLocked(const std::string &name, int fromCall)
{
    const int from = std::max(fromCall, 1);
    if (name == "no-probe")
        m_probes.clear();
    else if (name == "select")
        m_faults.select = true;
    else if (name == "open")
        m_faults.open = true;
    else if (name == "not-connected")
        m_faults.notConnected = true;
    else if (name == "connect") {
        m_faults.connectFrom = from;
        m_connectCalls = 0;
    } else if (name == "probe-arrives")
        m_faults.probeArrives = true;
    else if (name == "huge-count")
        m_faults.hugeCount = true;
    else if (name == "short-read") {
        m_faults.shortReadFrom = from;
        m_readCalls = 0;
    } else if (name == "short-write") {
        m_faults.shortWriteFrom = from;
        m_writeCalls = 0;
    } else if (name == "regrdy-never")
        m_core.SetReadyNever(true);
    else
        return false;
    return true;
}

void StandInProbe::SetMemoryFile(const std::string &path)
{
    std::lock_guard lock(m_mutex);
    m_config.memoryFile = path;
    m_memory.Clear();
    if (!path.empty()) {
        std::string error;
        m_memory.LoadFile(path, error);
        Warn(error);
    }
    TakeHaltFromMemory();
}

void StandInProbe::Poke(uint32_t address, uint32_t count, const uint8_t *from)
{
    std::lock_guard lock(m_mutex);
    if (!FitsAddressSpace(address, count))
        return;
    m_memory.Write(address, count, from);
    PersistMemory();
}

void StandInProbe::Peek(uint32_t address, uint32_t count, uint8_t *into)
{
    std::lock_guard lock(m_mutex);
    if (FitsAddressSpace(address, count))
        m_memory.Read(address, count, into);
}

std::string StandInProbe::CallLog() const
{
    std::lock_guard lock(m_mutex);
    std::string text;
    for (const auto &line : m_calls)
        text += line + "\n";
    return text;
}

void StandInProbe::ClearCallLog()
{
    std::lock_guard lock(m_mutex);
    m_calls.clear();
}

void StandInProbe::Record(const std::string &line)
{
    std::lock_guard lock(m_mutex);
    RecordLocked(line);
}

void StandInProbe::RecordLocked(const std::string &line)
{
    m_calls.push_back(line);
    if (m_logFile.empty())
        return;
    if (FILE *file = std::fopen(m_logFile.c_str(), "a")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

void StandInProbe::PersistMemory()
{
    if (m_config.memoryFile.empty())
        return;
    std::string error;
    if (!m_memory.SaveFile(m_config.memoryFile, error))
        Warn(error + "\n");
}

int StandInProbe::EmuGetList(int hostInterfaces, JLINKARM_EMU_CONNECT_INFO *records, int maxRecords)
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_EMU_GetList " + std::to_string(hostInterfaces) + (records ? " array " : " null ") +
                 std::to_string(maxRecords));
    if (!(hostInterfaces & kUsb))
        return 0;
    const int attached = int(m_probes.size());
    if (!records || maxRecords <= 0) {
        if (m_faults.hugeCount)
            return 0x7FFFFFFF; // a broken library's count
        if (m_faults.probeArrives) {
            m_faults.probeArrives = false;
            m_probes.push_back(m_probes.empty() ? 1 : m_probes.back() + 1);
        }
        return attached;
    }
    // Like the vendor's library: every probe attached is counted, even
    // beyond the records handed over.
    const int filled = std::min(attached, maxRecords);
    for (int i = 0; i < filled; ++i) {
        JLINKARM_EMU_CONNECT_INFO &record = records[i];
        std::memset(&record, 0, sizeof record);
        record.SerialNumber = m_probes[std::size_t(i)];
        record.Connection = kUsb;
        std::snprintf(record.acProduct, sizeof record.acProduct, "J-Link stand-in");
    }
    return attached;
}

int StandInProbe::EmuSelectByUsbSn(unsigned serialNumber)
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_EMU_SelectByUSBSN " + std::to_string(serialNumber));
    const auto it = std::find(m_probes.begin(), m_probes.end(), serialNumber);
    if (m_faults.select || it == m_probes.end())
        return -1;
    m_selected = serialNumber;
    return int(it - m_probes.begin());
}

const char *StandInProbe::Open()
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_Open");
    if (m_faults.open || m_probes.empty()) {
        m_open = false;
        return "Cannot connect to J-Link.";
    }
    if (!m_selected)
        m_selected = m_probes.front();
    m_open = true;
    return nullptr;
}

void StandInProbe::Close()
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_Close");
    m_open = m_connected = false;
    m_selected.reset();
}

char StandInProbe::IsOpen()
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_IsOpen");
    return m_open ? 1 : 0;
}

char StandInProbe::EmuIsConnected()
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_EMU_IsConnected");
    return m_open && !m_faults.notConnected ? 1 : 0;
}

char StandInProbe::IsConnected()
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_IsConnected");
    return m_connected ? 1 : 0;
}

int StandInProbe::ExecCommand(const char *in, char *out, int size)
{
    std::lock_guard lock(m_mutex);
    RecordLocked(std::string("JLINK_ExecCommand ") + (in ? "\"" + std::string(in) + "\"" : "null") +
                 (out ? " buffer " : " null ") + std::to_string(size));
    if (out && size > 0)
        out[0] = '\0';
    return 0;
}

int StandInProbe::Connect()
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_Connect");
    ++m_connectCalls;
    const bool refused = m_faults.connectFrom && m_connectCalls >= *m_faults.connectFrom;
    m_connected = m_open && !m_faults.notConnected && !refused;
    return m_connected ? 0 : -1;
}

int StandInProbe::GetSn()
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_GetSN");
    return m_open && m_selected ? int(*m_selected) : -1;
}

void StandInProbe::SetSpeed(uint32_t kHz)
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_SetSpeed " + std::to_string(kHz));
    m_speed = kHz;
}

uint32_t StandInProbe::GetSpeed()
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_GetSpeed");
    return m_speed;
}

int StandInProbe::TifSelect(int interface)
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_TIF_Select " + std::to_string(interface));
    return 0;
}

uint32_t StandInProbe::Transferred(uint32_t byteCount, const std::optional<int> &shortFrom, int call) const
{
    return shortFrom && call >= *shortFrom && byteCount > 0 ? byteCount - 1 : byteCount;
}

int StandInProbe::ReadMemEx(uint32_t address, uint32_t byteCount, void *into, uint32_t flags)
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_ReadMemEx " + Hex(address, true) + " " + Hex(byteCount, false) + " " + std::to_string(flags));
    if (!m_connected || !into || !IsTransferable(address, byteCount))
        return -1;
    const uint32_t count = Transferred(byteCount, m_faults.shortReadFrom, ++m_readCalls);
    m_memory.Read(address, count, static_cast<uint8_t *>(into));
    OverlayDebugRegisters(address, count, static_cast<uint8_t *>(into));
    return int(count);
}

int StandInProbe::WriteMemEx(uint32_t address, uint32_t byteCount, const void *from, uint32_t flags)
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_WriteMemEx " + Hex(address, true) + " " + Hex(byteCount, false) + " " + std::to_string(flags));
    if (!m_connected || !from || !IsTransferable(address, byteCount))
        return -1;
    const uint32_t count = Transferred(byteCount, m_faults.shortWriteFrom, ++m_writeCalls);
    m_memory.Write(address, count, static_cast<const uint8_t *>(from));
    PassToDebugRegisters(address, count, static_cast<const uint8_t *>(from));
    PersistMemory();
    return int(count);
}

char StandInProbe::Halt()
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_Halt");
    if (!m_connected)
        return 1;
    m_core.SetHalted(true);
    KeepHaltInMemory(kHaltRequest);
    return 0;
}

char StandInProbe::IsHalted()
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_IsHalted");
    return m_core.Halted() ? 1 : 0;
}

void StandInProbe::Go()
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_Go");
    m_core.SetHalted(false);
    KeepHaltInMemory(kRunRequest);
}

int StandInProbe::ResetTarget()
{
    std::lock_guard lock(m_mutex);
    RecordLocked("JLINK_Reset");
    if (!m_connected)
        return -1;
    m_core.SetHalted(true); // a reset leaves the core halted, as debuggers expect
    return 0;
}

// Whole words of the debug registers answer in place of the memory behind them.
void StandInProbe::OverlayDebugRegisters(uint32_t address, uint32_t count, uint8_t *into) const
{
    for (uint32_t offset = (4 - (address & 3)) & 3; offset + 4 <= count; offset += 4) {
        if (!m_core.Covers(address + offset))
            continue;
        const uint32_t word = m_core.ReadWord(address + offset);
        for (uint32_t i = 0; i < 4; ++i)
            into[offset + i] = uint8_t(word >> (8 * i));
    }
}

void StandInProbe::PassToDebugRegisters(uint32_t address, uint32_t count, const uint8_t *from)
{
    for (uint32_t offset = (4 - (address & 3)) & 3; offset + 4 <= count; offset += 4)
        if (m_core.Covers(address + offset))
            m_core.WriteWord(address + offset, uint32_t(from[offset]) | uint32_t(from[offset + 1]) << 8 |
                                                   uint32_t(from[offset + 2]) << 16 | uint32_t(from[offset + 3]) << 24);
}

uint32_t StandInProbe::CoreRegister(uint8_t selector) const
{
    std::lock_guard lock(m_mutex);
    return m_core.Register(selector);
}

void StandInProbe::SetCoreRegister(uint8_t selector, uint32_t value)
{
    std::lock_guard lock(m_mutex);
    m_core.SetRegister(selector, value);
}

// The halt lives in DHCSR's word of the memory file too, so the processes
// sharing the file in turn (one corvane-cli run after another) find the core
// as the last one left it; the register file starts afresh in each.
void StandInProbe::KeepHaltInMemory(uint32_t request)
{
    uint8_t bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = uint8_t(request >> (8 * i));
    m_memory.Write(kDhcsr, 4, bytes);
    PersistMemory();
}

void StandInProbe::TakeHaltFromMemory()
{
    uint8_t bytes[4] = {};
    m_memory.Read(kDhcsr, 4, bytes);
    const uint32_t word =
        uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    m_core.WriteWord(kDhcsr, word); // taken only with the debug key
}

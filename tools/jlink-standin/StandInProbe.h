#pragma once

#include "SimulatedDebugCore.h"
#include "SparseMemory.h"
#include "StandInConfig.h"

#include "link/JLinkApi.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

// The simulated probe behind the exported library calls: probes on USB, the
// open and connect state, the target memory, injected faults and the record
// of calls. One instance per loaded library; every call takes the lock.
class StandInProbe
{
public:
    static StandInProbe &Instance();

    // Control.
    void Reset();
    void SetProbes(const std::vector<uint32_t> &serialNumbers);
    bool SetFault(const std::string &name, int fromCall);
    void SetMemoryFile(const std::string &path);
    void Poke(uint32_t address, uint32_t count, const uint8_t *from);
    void Peek(uint32_t address, uint32_t count, uint8_t *into);
    std::string CallLog() const;
    // The core behind DHCSR at 0xE000EDF0, halted by JLINK_Halt.
    uint32_t CoreRegister(uint8_t selector) const;
    void SetCoreRegister(uint8_t selector, uint32_t value);
    void ClearCallLog();

    // The library calls.
    int EmuGetList(int hostInterfaces, JLINKARM_EMU_CONNECT_INFO *records, int maxRecords);
    int EmuSelectByUsbSn(unsigned serialNumber);
    const char *Open();
    void Close();
    char IsOpen();
    char EmuIsConnected();
    char IsConnected();
    int ExecCommand(const char *in, char *out, int size);
    int Connect();
    int GetSn();
    void SetSpeed(uint32_t kHz);
    uint32_t GetSpeed();
    int TifSelect(int interface);
    int ReadMemEx(uint32_t address, uint32_t byteCount, void *into, uint32_t flags);
    int WriteMemEx(uint32_t address, uint32_t byteCount, const void *from, uint32_t flags);
    char Halt();
    char IsHalted();
    void Go();
    int ResetTarget();
    // Functions the tool never calls: recorded, otherwise inert.
    void Record(const std::string &line);

private:
    struct Faults
    {
        bool select = false;
        bool open = false;
        bool notConnected = false;
        std::optional<int> connectFrom;
        bool probeArrives = false;
        bool hugeCount = false;
        std::optional<int> shortReadFrom;
        std::optional<int> shortWriteFrom;
    };

    StandInProbe();
    void ApplyStartState();
    bool SetFaultLocked(const std::string &name, int fromCall);
    void RecordLocked(const std::string &line);
    void PersistMemory();
    void KeepHaltInMemory(uint32_t request);
    void TakeHaltFromMemory();
    void OverlayDebugRegisters(uint32_t address, uint32_t count, uint8_t *into) const;
    void PassToDebugRegisters(uint32_t address, uint32_t count, const uint8_t *from);
    uint32_t Transferred(uint32_t byteCount, const std::optional<int> &shortFrom, int call) const;

    mutable std::mutex m_mutex;
    StandInConfig m_config;
    std::string m_logFile;
    std::vector<uint32_t> m_probes;
    Faults m_faults;
    int m_readCalls = 0;
    int m_connectCalls = 0;
    int m_writeCalls = 0;
    std::optional<uint32_t> m_selected;
    bool m_open = false;
    bool m_connected = false;
    static constexpr uint32_t kDhcsr = 0xE000EDF0;
    static constexpr uint32_t kHaltRequest = 0xA05F0003;
    static constexpr uint32_t kRunRequest = 0xA05F0001;
    SimulatedDebugCore m_core{kDhcsr};
    uint32_t m_speed = 0;
    SparseMemory m_memory;
    std::vector<std::string> m_calls;
};

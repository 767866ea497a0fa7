#pragma once

#include "ChipBusView.h"
#include "ReplyFaults.h"
#include "RequestDecoder.h"
#include "SimulatedDebugCore.h"
#include "SparseMemory.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

// A VX21 chip in UART debug mode, on a pseudo-terminal. The host opens the
// slave side (PortPath) like any serial port; the chip answers enter, read,
// write and leave requests from a thread until stopped. The chip keeps its
// own descriptor of the slave open, so the host may open and close the port
// as often as it likes without hanging the line up.
//
// Memory is addressed as the debug bus sees it (the address in the frames);
// Peek and Poke take CPU addresses and go through the chip's own bus view.
class SimulatedChip
{
public:
    explicit SimulatedChip(const QString &model);
    ~SimulatedChip();
    SimulatedChip(const SimulatedChip &) = delete;
    SimulatedChip &operator=(const SimulatedChip &) = delete;

    // Opens the pseudo-terminal and starts serving. False for a model
    // without a UART debug mode or when no terminal can be had.
    bool Start();
    void Stop();

    QString Model() const { return m_model; }
    QString PortPath() const { return m_portPath; }
    uint32_t LineBaud() const; // the rate the host last set on the line

    // Memory by CPU address.
    QByteArray Peek(uint32_t address, int count) const;
    void Poke(uint32_t address, const QByteArray &bytes);
    uint32_t PeekWord(uint32_t address) const;
    void PokeWord(uint32_t address, uint32_t value);
    // Memory by bus address.
    QByteArray PeekBus(uint32_t busAddress, int count) const;
    void PokeBus(uint32_t busAddress, const QByteArray &bytes);

    // A word (CPU address) that counts up by one at every read request that
    // covers it, like a free-running timer, so a watch sees it change. None
    // unless added.
    void AddFreeRunningCounter(uint32_t address);

    // What the chip has seen.
    QList<QByteArray> ReceivedFrames() const;
    qint64 ReceivedByteCount() const;
    bool WaitForFrames(int count, int timeoutMs) const;
    void ClearRecord();
    void SetRecording(bool on); // off for long benchmark runs
    int EnterCount() const;
    int LeaveCount() const;
    bool InDebugMode() const;

    // The HCPU behind the debug registers in the debug view (DHCSR at bus
    // 0xF000EDF0): halted by the halt request word, with a register file
    // the host reads and writes through DCRSR and DCRDR.
    bool CoreHalted() const;
    void SetCoreHalted(bool halted);
    uint32_t CoreRegister(uint8_t selector) const;
    void SetCoreRegister(uint8_t selector, uint32_t value);
    // S_REGRDY never comes after a selector is written.
    void InjectRegisterReadyNever(bool never);

    // Faults for the next `replies` replies (see ReplyFaults).
    void InjectReplyBytes(const QByteArray &bytes, int replies);
    void InjectNoAnswer(int replies);
    void InjectNoise(const QByteArray &noise, int replies);
    void InjectCutShort(int keepBytes, int replies);
    void InjectWrongStatus(uint8_t status, int replies);
    void InjectDelay(int delayMs, int replies);
    void InjectAfterReply(const QByteArray &bytes, int delayMs, int replies);
    // The faults wait until this many more replies have gone out untouched.
    void DeferFaults(int replies);
    void ClearFaults();

private:
    using Clock = std::chrono::steady_clock;

    void Serve();
    void Answer(const RequestDecoder::Frame &frame); // called with m_mutex held
    QByteArray Reply(uint8_t code, const QByteArray &data) const;
    void Schedule(Clock::time_point due, const QByteArray &bytes); // m_mutex held
    void EmitDue();
    bool WriteAll(const QByteArray &bytes);
    uint32_t Field32(const QByteArray &payload, int offset) const;
    uint16_t Field16(const QByteArray &payload, int offset) const;
    void CloseDescriptors();
    void CountReads(uint32_t busAddress, int bytes);                         // m_mutex held
    void OverlayDebugRegisters(uint32_t busAddress, QByteArray &data) const; // m_mutex held
    void PassToDebugRegisters(uint32_t busAddress, const QByteArray &data);  // m_mutex held

    const QString m_model;
    const ChipBusView::ByteOrder m_order;
    QString m_portPath;
    int m_master = -1;
    int m_slave = -1;
    int m_stopPipe[2] = {-1, -1};
    std::thread m_thread;

    mutable std::mutex m_mutex;
    mutable std::condition_variable m_framesChanged;
    SparseMemory m_memory;
    SimulatedDebugCore m_core{0xF000EDF0};
    RequestDecoder m_decoder;
    ReplyFaults m_faults;
    std::vector<uint32_t> m_counters; // bus addresses
    std::multimap<Clock::time_point, QByteArray> m_scheduled;
    QList<QByteArray> m_frames;
    qint64 m_receivedBytes = 0;
    bool m_recording = true;
    int m_enterCount = 0;
    int m_leaveCount = 0;
    bool m_debugMode = false;
};

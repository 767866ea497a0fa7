#pragma once

#include "link/ConfigFile.h"
#include "link/TargetLinks.h"
#include "regmap/RegisterRowTree.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class LinkCycle;

struct WatchedPeripheral
{
    QString name;
    uint32_t base = 0;
    uint32_t span = 0;
    // Words (by index from the base) of registers whose reading changes the
    // chip: never read; their bytes in the image stay zero.
    std::vector<bool> leftOut;
};

struct PeripheralBytes
{
    QString name;
    QByteArray bytes; // span bytes, the byte at base first
    uint32_t base = 0;
};

// Re-reads a window's peripherals at a steady rate on a thread of its own.
// Every refresh is one link cycle in the background turn of the links' gate:
// it never starts while another cycle runs, and a user action that asks for
// the link while a refresh runs goes next. Each peripheral is read in one
// transfer; the images reach the refresh handler after the link is closed.
// Over a GDB server the watch keeps one connection for its whole run (see
// GdbConnectionHold): between refreshes the target runs.
//
// A refresh that fails ends the watch: the cycle's one message goes to the
// stop handler, and no further refresh is tried. Both handlers run on the
// watch's thread, after the link is given back; a window hands what they get
// over to its own thread without waiting for it (that thread may be waiting
// in Stop()).
class RegisterWatch
{
public:
    static constexpr int kRates[] = {1, 2, 5, 10, 20}; // refreshes per second

    using RefreshHandler = std::function<void(const std::vector<PeripheralBytes> &images)>;
    // Empty message: the watch was stopped or made its count of refreshes.
    using StopHandler = std::function<void(const QString &message)>;

    struct Settings
    {
        QString chipModel; // taken on the user's side when the watch starts
        std::vector<WatchedPeripheral> peripherals;
        // When given, asked on the watch's thread before each refresh for
        // what to read, instead of `peripherals`: a view that scrolls
        // changes what it watches without stopping the watch.
        std::function<std::vector<WatchedPeripheral>()> currentPeripherals;
        std::chrono::milliseconds interval{1000}; // 0: back to back, for benches
        int refreshLimit = 0;                     // 0: until stopped
    };

    struct Figures
    {
        int refreshes = 0;
        // Refreshes that began a whole interval or more after their turn:
        // at least one turn was lost.
        int late = 0;
        std::chrono::nanoseconds processorTime{0}; // of the watch's thread
        std::chrono::nanoseconds longestRefresh{0};
    };

    // Every peripheral a window shows, with the base and span its rows hold
    // and the words of its registers read with side effects.
    static std::vector<WatchedPeripheral> PeripheralsOf(const RegisterRowTree &tree);

    RegisterWatch(const ConfigFile &config, TargetLinks &links);
    ~RegisterWatch();
    RegisterWatch(const RegisterWatch &) = delete;
    RegisterWatch &operator=(const RegisterWatch &) = delete;

    // False when a watch is already running.
    bool Start(Settings settings, RefreshHandler onRefresh, StopHandler onStop);
    // Asks the watch to end: a refresh waiting for the link gives up its
    // wait, one that runs ends with its cycle and is not handed on. Callable
    // from the handlers.
    void RequestStop();
    // Ends the watch and waits for its thread; not from the handlers.
    void Stop();
    // Waits until the watch has ended by itself or been stopped.
    void Wait();
    bool IsRunning() const;
    Figures LastFigures() const;
    // The system's reason given with the failure that ended the last watch
    // (a port that would not open: busy, no permission), else empty.
    QString LastStopReason() const;

private:
    void Run(Settings settings, RefreshHandler onRefresh, StopHandler onStop);
    bool Refresh(const Settings &settings, std::vector<PeripheralBytes> &images, QString &message);

    const ConfigFile &m_config;
    TargetLinks &m_links;
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopRequested = false;
    bool m_running = false;
    Figures m_figures;
    QString m_stopReason;
};

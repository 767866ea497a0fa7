#pragma once

#include "link/ConfigFile.h"
#include "link/TargetLinks.h"
#include "regmap/RegisterWatch.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// A RegisterWatch whose refreshes and end reach the thread that made this
// object, through queued calls that never wait: the register windows and the
// memory window take their watches' results this way. What a watch hands on
// after Stop(), or after a newer Start(), is dropped on arrival.
//
// Stopping never waits for the refresh that runs (it ends with its cycle);
// the thread of a stopped or ended watch is joined later: at the next start
// once it has ended, in Wait(), or when this object goes, within its link's
// deadlines.
class WatchHandOver
{
public:
    // On the owner's thread: the images of one refresh.
    using RefreshTaker = std::function<void(const std::vector<PeripheralBytes> &images)>;
    // On the owner's thread: the watch ended by itself, with the link's message
    // and the system's reason (both empty when it made its count of refreshes).
    // Never called for a watch stopped here.
    using EndTaker = std::function<void(const QString &message, const QString &reason)>;

    WatchHandOver(const ConfigFile &config, TargetLinks &links);
    ~WatchHandOver();
    WatchHandOver(const WatchHandOver &) = delete;
    WatchHandOver &operator=(const WatchHandOver &) = delete;

    // False while a watch runs.
    bool Start(RegisterWatch::Settings settings, RefreshTaker onRefresh, EndTaker onEnded);
    // Asks the running watch to end and drops whatever it has not handed over.
    void Stop();
    // Waits for the threads of every watch started here.
    void Wait();
    // From a start until its end is handed over, or Stop().
    bool IsRunning() const { return m_running; }
    // The figures of the newest watch.
    RegisterWatch::Figures LastFigures() const;

private:
    void Reap();

    const ConfigFile &m_config;
    TargetLinks &m_links;
    std::unique_ptr<RegisterWatch> m_current;
    std::vector<std::unique_ptr<RegisterWatch>> m_retired;
    QObject m_context; // on the owner's thread; hand-overs are queued to it
    uint64_t m_generation = 0;
    bool m_running = false;
};

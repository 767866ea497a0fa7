#pragma once

#include "link/ConfigFile.h"
#include "link/TargetLinks.h"
#include "memview/MemoryBlock.h"
#include "memview/ReadRules.h"
#include "regmap/RegisterWatch.h"
#include "regmap/WatchHandOver.h"

#include <QString>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

// The watch of a memory view: the register windows' watch (a thread, one
// link cycle per refresh in the background turn) over the stretches of the
// rows the view shows at the moment of each refresh, so scrolling moves the
// watch without stopping it. What a refresh read reaches the thread that
// made this object as blocks, handed over as the register windows' are
// (WatchHandOver).
//
// Stopping never waits for the refresh that runs: its result is dropped,
// and the thread is joined later (at the next start, or when this object
// goes, within its link's deadlines).
class MemoryWatch
{
public:
    MemoryWatch(const ConfigFile &config, TargetLinks &links);
    ~MemoryWatch();
    MemoryWatch(const MemoryWatch &) = delete;
    MemoryWatch &operator=(const MemoryWatch &) = delete;

    // What the next refreshes read: the rows shown, by the rules.
    void SetRegion(const ReadRules &rules, uint32_t first, uint32_t count);
    // One of RegisterWatch::kRates; false for another rate.
    bool Start(int ratePerSecond, const QString &chipModel);
    void Stop();
    bool IsRunning() const { return m_watch.IsRunning(); }
    int AppliedRefreshes() const { return m_applied; }
    RegisterWatch::Figures Figures() const { return m_watch.LastFigures(); }

    // On the owner's thread: the blocks of a refresh; the end of the watch
    // with the link's message (empty when stopped or done).
    std::function<void(const std::vector<MemoryBlock> &blocks)> onRefresh;
    std::function<void(const QString &message)> onEnded;

private:
    struct Region
    {
        std::mutex mutex;
        std::vector<WatchedPeripheral> stretches;
    };

    std::shared_ptr<Region> m_region = std::make_shared<Region>();
    WatchHandOver m_watch;
    int m_applied = 0;
};

#pragma once

#include "link/ConfigFile.h"
#include "link/TargetLinks.h"
#include "link/UserInterfaces.h"
#include "regmap/RegisterWatch.h"
#include "regmap/WatchHandOver.h"
#include "regmap/RowChanges.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <deque>
#include <functional>

class RegisterWindow;

// A register window's watch as its view runs it. The refreshes are read on
// the watch's thread and handed over (WatchHandOver); their images are put
// into the window's rows, and the change marks moved on, on the thread that
// made this object (the window's):
// one peripheral per turn of that thread's event loop, so a window of many
// peripherals never holds its thread for a whole refresh at once.
// A failing link ends the watch with its one message, shown through the
// window's user side on that thread. Images still on their way when the
// watch is stopped are dropped.
class WindowWatch
{
public:
    WindowWatch(RegisterWindow &window, const ConfigFile &config, TargetLinks &links, UserContext &user);
    ~WindowWatch();
    WindowWatch(const WindowWatch &) = delete;
    WindowWatch &operator=(const WindowWatch &) = delete;

    // One of RegisterWatch::kRates; false for another rate or when running.
    bool Start(int ratePerSecond);
    void Stop();
    // A read of the peripheral just put newer values into the rows: the
    // images of it still waiting, read before, must not overwrite them.
    void ForgetPending(const QString &peripheral);
    bool IsRunning() const { return m_running; }
    const RowChanges &Changes() const { return m_changes; }
    // Ages every change mark by one step, as a refresh changing nothing
    // would; false once no mark is left. For a stopped watch's marks to fade.
    bool FadeChanges() { return m_changes.AgeAll(); }
    // Refreshes put into the rows since the last start, and the watch's own
    // figures of its last run.
    int AppliedRefreshes() const { return m_applied; }
    RegisterWatch::Figures Figures() const { return m_watch.LastFigures(); }

    // Told on the window's thread after the rows took a refresh, and when the
    // watch has ended (after its message, if any).
    std::function<void()> onRefreshed;
    std::function<void()> onStopped;

private:
    struct Pending;
    void Take(const std::vector<PeripheralBytes> &images);
    void ApplyNext();
    void Apply(const Pending &next);
    void Ended(const QString &message, const QString &reason);

    RegisterWindow &m_window;
    UserContext &m_user;
    WatchHandOver m_watch;
    RowChanges m_changes;
    QObject m_context; // lives on the window's thread; the steps of a refresh are queued to it
    bool m_running = false;
    int m_applied = 0;
    // Images waiting for their turn; the last of a refresh says so.
    struct Pending
    {
        PeripheralBytes image;
        bool endsRefresh = false;
    };
    std::deque<Pending> m_pending;
    QStringList m_watched; // the peripherals of the running watch
    bool m_stepPosted = false;
};

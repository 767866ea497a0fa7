#include "regmap/WindowWatch.h"

#include "regmap/RegisterWindow.h"

#include <QMetaObject>

#include <algorithm>
#include <iterator>

WindowWatch::WindowWatch(RegisterWindow &window, const ConfigFile &config, TargetLinks &links, UserContext &user)
    : m_window(window)
    , m_user(user)
    , m_watch(config, links)
{}

WindowWatch::~WindowWatch()
{
    Stop();
}

bool WindowWatch::Start(int ratePerSecond)
{
    if (m_running || std::find(std::begin(RegisterWatch::kRates), std::end(RegisterWatch::kRates), ratePerSecond) ==
                         std::end(RegisterWatch::kRates))
        return false;
    RegisterWatch::Settings settings;
    settings.chipModel = m_user.panel.ChipModel();
    settings.peripherals = RegisterWatch::PeripheralsOf(m_window.Tree());
    m_watched.clear();
    for (const WatchedPeripheral &peripheral : settings.peripherals)
        m_watched << peripheral.name;
    settings.interval = std::chrono::milliseconds(1000 / ratePerSecond);
    m_applied = 0;
    m_running = m_watch.Start(
        std::move(settings), [this](const std::vector<PeripheralBytes> &images) { Take(images); },
        [this](const QString &message, const QString &reason) { Ended(message, reason); });
    return m_running;
}

void WindowWatch::Stop()
{
    if (!m_running)
        return;
    m_running = false;
    // The refresh that runs has ended when the stop returns: what the window
    // does next meets no cycle of this watch.
    m_watch.Stop();
    m_watch.Wait();
    m_pending.clear();
    if (onStopped)
        onStopped();
}

void WindowWatch::ForgetPending(const QString &peripheral)
{
    // The end of each refresh stays, so that its changes are still observed.
    for (Pending &pending : m_pending)
        if (pending.image.name == peripheral)
            pending.image = {};
}

void WindowWatch::Take(const std::vector<PeripheralBytes> &images)
{
    for (std::size_t i = 0; i < images.size(); ++i)
        m_pending.push_back({images[i], i + 1 == images.size()});
    if (images.empty())
        m_pending.push_back({{}, true});
    if (!m_stepPosted) {
        m_stepPosted = true;
        QMetaObject::invokeMethod(
            &m_context, [this] { ApplyNext(); }, Qt::QueuedConnection);
    }
}

void WindowWatch::ApplyNext()
{
    m_stepPosted = false;
    if (m_pending.empty())
        return;
    Pending next = std::move(m_pending.front());
    m_pending.pop_front();
    // The rest goes in a later turn, after timers and painting had theirs.
    if (!m_pending.empty()) {
        m_stepPosted = true;
        QMetaObject::invokeMethod(
            &m_context, [this] { ApplyNext(); }, Qt::QueuedConnection);
    }
    Apply(next);
}

void WindowWatch::Apply(const Pending &next)
{
    if (!next.image.name.isEmpty())
        m_window.FillPeripheral(next.image.name, next.image.bytes);
    if (!next.endsRefresh)
        return;
    m_changes.Observe(m_window.Tree());
    ++m_applied;
    if (onRefreshed)
        onRefreshed();
}

void WindowWatch::Ended(const QString &message, const QString &reason)
{
    // What was read before the end still reaches the rows, before the message.
    while (!m_pending.empty()) {
        const Pending next = std::move(m_pending.front());
        m_pending.pop_front();
        Apply(next);
    }
    m_running = false;
    // The refresh that failed read nothing: what the rows show is older.
    if (!message.isEmpty())
        for (const QString &name : m_watched)
            m_window.MarkPeripheralStale(name);
    if (!message.isEmpty())
        m_user.messages.ShowFailure(message, reason);
    if (onStopped)
        onStopped();
}

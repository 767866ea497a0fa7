#include "regmap/WatchHandOver.h"

#include <QMetaObject>

WatchHandOver::WatchHandOver(const ConfigFile &config, TargetLinks &links)
    : m_config(config)
    , m_links(links)
{}

WatchHandOver::~WatchHandOver()
{
    Stop();
    Wait();
}

void WatchHandOver::Reap()
{
    std::erase_if(m_retired, [](const std::unique_ptr<RegisterWatch> &watch) {
        if (watch->IsRunning())
            return false;
        watch->Wait(); // its thread has ended: the join is at once
        return true;
    });
}

bool WatchHandOver::Start(RegisterWatch::Settings settings, RefreshTaker onRefresh, EndTaker onEnded)
{
    if (m_running)
        return false;
    if (m_current)
        m_retired.push_back(std::move(m_current)); // ended by itself
    Reap();
    const uint64_t generation = ++m_generation;
    m_current = std::make_unique<RegisterWatch>(m_config, m_links);
    RegisterWatch *watch = m_current.get();
    m_running = watch->Start(
        std::move(settings),
        [this, generation, onRefresh](const std::vector<PeripheralBytes> &images) {
            QMetaObject::invokeMethod(
                &m_context,
                [this, generation, onRefresh, images] {
                    if (generation == m_generation && onRefresh)
                        onRefresh(images);
                },
                Qt::QueuedConnection);
        },
        [this, generation, onEnded, watch](const QString &message) {
            // On the watch's thread, after its last refresh: the reason is set.
            QMetaObject::invokeMethod(
                &m_context,
                [this, generation, onEnded, message, reason = watch->LastStopReason()] {
                    if (generation != m_generation)
                        return;
                    ++m_generation;
                    m_running = false;
                    if (onEnded)
                        onEnded(message, reason);
                },
                Qt::QueuedConnection);
        });
    return m_running;
}

void WatchHandOver::Stop()
{
    ++m_generation;
    m_running = false;
    if (!m_current)
        return;
    m_current->RequestStop();
    m_retired.push_back(std::move(m_current));
}

void WatchHandOver::Wait()
{
    for (auto &watch : m_retired)
        watch->Wait();
    if (m_current)
        m_current->Wait();
}

RegisterWatch::Figures WatchHandOver::LastFigures() const
{
    if (m_current)
        return m_current->LastFigures();
    return m_retired.empty() ? RegisterWatch::Figures() : m_retired.back()->LastFigures();
}

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
    settings.interval = std::chrono::milliseconds(1000 / ratePerSecond);
    const uint64_t generation = ++m_generation;
    m_applied = 0;
    m_running = m_watch.Start(
        std::move(settings),
        [this, generation](const std::vector<PeripheralImage> &images) {
            QMetaObject::invokeMethod(
                &m_context, [this, generation, images] { Apply(generation, images); }, Qt::QueuedConnection);
        },
        [this, generation](const QString &message) {
            QMetaObject::invokeMethod(
                &m_context, [this, generation, message] { Ended(generation, message); }, Qt::QueuedConnection);
        });
    return m_running;
}

void WindowWatch::Stop()
{
    if (!m_running)
        return;
    ++m_generation;
    m_running = false;
    m_watch.Stop();
    if (onStopped)
        onStopped();
}

void WindowWatch::Apply(uint64_t generation, const std::vector<PeripheralImage> &images)
{
    if (generation != m_generation)
        return;
    for (const PeripheralImage &image : images)
        m_window.FillPeripheral(image.name, image.bytes);
    m_changes.Observe(m_window.Tree());
    ++m_applied;
    if (onRefreshed)
        onRefreshed();
}

void WindowWatch::Ended(uint64_t generation, const QString &message)
{
    if (generation != m_generation)
        return;
    ++m_generation;
    m_running = false;
    m_watch.Wait();
    if (!message.isEmpty())
        m_user.messages.ShowMessage(message);
    if (onStopped)
        onStopped();
}

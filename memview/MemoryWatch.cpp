#include "memview/MemoryWatch.h"

#include "link/TransferBuffer.h"
#include "memview/MemoryUnits.h"

#include <QMetaObject>

#include <algorithm>
#include <iterator>

MemoryWatch::MemoryWatch(const ConfigFile &config, TargetLinks &links)
    : m_config(config)
    , m_links(links)
{}

MemoryWatch::~MemoryWatch()
{
    onRefresh = {};
    onEnded = {};
    Stop();
    for (auto &watch : m_retired)
        watch->Wait();
}

void MemoryWatch::SetRegion(const ReadRules &rules, uint32_t first, uint32_t count)
{
    std::vector<WatchedPeripheral> stretches;
    for (const AddressRun &run : rules.Runs(first, count, TransferBuffer::kSize))
        stretches.push_back({MemoryUnits::Hex(run.first, 4), run.first, run.length, {}});
    std::lock_guard lock(m_region->mutex);
    m_region->stretches = std::move(stretches);
}

void MemoryWatch::Reap()
{
    std::erase_if(m_retired, [](const std::unique_ptr<RegisterWatch> &watch) {
        if (watch->IsRunning())
            return false;
        watch->Wait(); // its thread has ended: the join is at once
        return true;
    });
}

bool MemoryWatch::Start(int ratePerSecond, const QString &chipModel)
{
    if (m_running || std::find(std::begin(RegisterWatch::kRates), std::end(RegisterWatch::kRates), ratePerSecond) ==
                         std::end(RegisterWatch::kRates))
        return false;
    if (m_current)
        m_retired.push_back(std::move(m_current)); // ended by itself
    Reap();
    RegisterWatch::Settings settings;
    settings.chipModel = chipModel;
    settings.interval = std::chrono::milliseconds(1000 / ratePerSecond);
    settings.currentPeripherals = [region = m_region] {
        std::lock_guard lock(region->mutex);
        return region->stretches;
    };
    const uint64_t generation = ++m_generation;
    m_applied = 0;
    m_current = std::make_unique<RegisterWatch>(m_config, m_links);
    m_running = m_current->Start(
        std::move(settings),
        [this, generation](const std::vector<PeripheralBytes> &images) {
            std::vector<MemoryBlock> blocks;
            for (const PeripheralBytes &image : images)
                blocks.push_back({image.base, image.bytes,
                                  std::vector<ByteState>(std::size_t(image.bytes.size()), ByteState::Value)});
            QMetaObject::invokeMethod(
                &m_context,
                [this, generation, blocks] {
                    if (generation != m_generation)
                        return;
                    ++m_applied;
                    if (onRefresh)
                        onRefresh(blocks);
                },
                Qt::QueuedConnection);
        },
        [this, generation](const QString &message) {
            QMetaObject::invokeMethod(
                &m_context,
                [this, generation, message] {
                    if (generation != m_generation)
                        return;
                    ++m_generation;
                    m_running = false;
                    if (onEnded)
                        onEnded(message);
                },
                Qt::QueuedConnection);
        });
    return m_running;
}

void MemoryWatch::Stop()
{
    if (!m_current)
        return;
    ++m_generation;
    m_current->RequestStop();
    m_retired.push_back(std::move(m_current));
    const bool wasRunning = m_running;
    m_running = false;
    if (wasRunning && onEnded)
        onEnded(QString());
}

RegisterWatch::Figures MemoryWatch::Figures() const
{
    if (m_current)
        return m_current->LastFigures();
    return m_retired.empty() ? RegisterWatch::Figures() : m_retired.back()->LastFigures();
}

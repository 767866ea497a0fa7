#include "memview/MemoryWatch.h"

#include "link/TransferBuffer.h"
#include "memview/MemoryUnits.h"

#include <algorithm>
#include <iterator>

MemoryWatch::MemoryWatch(const ConfigFile &config, TargetLinks &links)
    : m_watch(config, links)
{}

MemoryWatch::~MemoryWatch()
{
    onRefresh = {};
    onEnded = {};
    Stop();
}

void MemoryWatch::SetRegion(const ReadRules &rules, uint32_t first, uint32_t count)
{
    std::vector<WatchedPeripheral> stretches;
    for (const AddressRun &run : rules.Runs(first, count, TransferBuffer::kSize))
        stretches.push_back({MemoryUnits::Hex(run.first, 4), run.first, run.length, {}});
    std::lock_guard lock(m_region->mutex);
    m_region->stretches = std::move(stretches);
}

bool MemoryWatch::Start(int ratePerSecond, const QString &chipModel)
{
    if (m_watch.IsRunning() || std::find(std::begin(RegisterWatch::kRates), std::end(RegisterWatch::kRates),
                                         ratePerSecond) == std::end(RegisterWatch::kRates))
        return false;
    RegisterWatch::Settings settings;
    settings.chipModel = chipModel;
    settings.interval = std::chrono::milliseconds(1000 / ratePerSecond);
    settings.currentPeripherals = [region = m_region] {
        std::lock_guard lock(region->mutex);
        return region->stretches;
    };
    m_applied = 0;
    return m_watch.Start(
        std::move(settings),
        [this](const std::vector<PeripheralBytes> &images) {
            std::vector<MemoryBlock> blocks;
            for (const PeripheralBytes &image : images)
                blocks.push_back({image.base, image.bytes,
                                  std::vector<ByteState>(std::size_t(image.bytes.size()), ByteState::Value)});
            ++m_applied;
            if (onRefresh)
                onRefresh(blocks);
        },
        [this](const QString &message, const QString &) {
            if (onEnded)
                onEnded(message);
        });
}

void MemoryWatch::Stop()
{
    const bool wasRunning = m_watch.IsRunning();
    m_watch.Stop();
    if (wasRunning && onEnded)
        onEnded(QString());
}

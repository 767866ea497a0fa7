#include "regmap/RegisterWatch.h"

#include "link/GdbConnectionHold.h"
#include "link/LinkCycle.h"
#include "link/UserInterfaces.h"
#include "regmap/PeripheralImage.h"
#include "regmap/SnapshotFiles.h"

#include <algorithm>
#include <cstring>
#include <ctime>

namespace {

// The user's side of a refresh: no wait cursor, no dialog, the chip model the
// watch started with, and the cycle's failure kept for the stop handler
// instead of shown from this thread.
class RefreshUser : public MessagePresenter, public FileChooser, public BusyIndicator, public PanelSelections
{
public:
    explicit RefreshUser(QString chipModel)
        : m_chipModel(std::move(chipModel))
    {}

    // Only a failure stops the watch.
    void ShowMessage(MessageKind kind, const QString &text, const QString &why) override
    {
        if (kind == MessageKind::Failure && message.isEmpty()) {
            message = text;
            reason = why;
        }
    }
    QString ChooseFile(const FileRequest &) override { return QString(); }
    void SetBusy(bool) override {}
    QString ChipModel() const override { return m_chipModel; }
    int DataSourceEntry() const override { return -1; }
    QString ProbeText() const override { return QString(); }

    QString message;
    QString reason; // the system's, where the link gave one

private:
    QString m_chipModel;
};

std::chrono::nanoseconds ThreadProcessorTime()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

} // namespace

std::vector<WatchedPeripheral> RegisterWatch::PeripheralsOf(const RegisterRowTree &tree)
{
    std::vector<WatchedPeripheral> peripherals;
    for (const auto &row : tree.TopRows()) {
        peripherals.push_back(
            {row->Name(), row->Traits().base, row->Traits().span, PeripheralImage::LeftOutWords(*row)});
    }
    return peripherals;
}

RegisterWatch::RegisterWatch(const ConfigFile &config, TargetLinks &links)
    : m_config(config)
    , m_links(links)
{}

RegisterWatch::~RegisterWatch()
{
    Stop();
}

bool RegisterWatch::Start(Settings settings, RefreshHandler onRefresh, StopHandler onStop)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_running)
            return false;
    }
    if (m_thread.joinable())
        m_thread.join();
    {
        std::lock_guard lock(m_mutex);
        m_running = true;
        m_stopRequested = false;
        m_figures = Figures();
        m_stopReason.clear();
    }
    m_thread = std::thread(&RegisterWatch::Run, this, std::move(settings), std::move(onRefresh), std::move(onStop));
    return true;
}

void RegisterWatch::RequestStop()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopRequested = true;
    }
    m_wake.notify_all();
}

void RegisterWatch::Stop()
{
    RequestStop();
    Wait();
}

void RegisterWatch::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

bool RegisterWatch::IsRunning() const
{
    std::lock_guard lock(m_mutex);
    return m_running;
}

RegisterWatch::Figures RegisterWatch::LastFigures() const
{
    std::lock_guard lock(m_mutex);
    return m_figures;
}

QString RegisterWatch::LastStopReason() const
{
    std::lock_guard lock(m_mutex);
    return m_stopReason;
}

void RegisterWatch::Run(Settings settings, RefreshHandler onRefresh, StopHandler onStop)
{
    using Clock = std::chrono::steady_clock;
    const auto interval = std::max(settings.interval, std::chrono::milliseconds(0));
    Clock::time_point due = Clock::now();
    QString message;
    {
        // One connection to a GDB server for the whole watch, ended before the stop handler runs.
        const GdbConnectionHold hold(m_links);
        for (int done = 0; settings.refreshLimit == 0 || done < settings.refreshLimit; ++done) {
            {
                std::unique_lock lock(m_mutex);
                if (m_wake.wait_until(lock, due, [&] { return m_stopRequested; }))
                    break;
            }
            const Clock::time_point started = Clock::now();
            const std::chrono::nanoseconds processorBefore = ThreadProcessorTime();
            std::vector<PeripheralBytes> images;
            const bool refreshed = Refresh(settings, images, message);
            {
                std::lock_guard lock(m_mutex);
                ++m_figures.refreshes;
                if (interval.count() > 0 && started - due >= interval)
                    ++m_figures.late;
                m_figures.processorTime += ThreadProcessorTime() - processorBefore;
                m_figures.longestRefresh =
                    std::max<std::chrono::nanoseconds>(m_figures.longestRefresh, Clock::now() - started);
            }
            if (!refreshed)
                break;
            {
                // Stopped meanwhile: what it read (or did not, having given up its
                // wait for the link) is no longer asked for.
                std::lock_guard lock(m_mutex);
                if (m_stopRequested)
                    break;
            }
            if (onRefresh)
                onRefresh(images);
            // The next turn keeps the rate; after a slow refresh it comes at once
            // rather than in a burst of turns to catch up.
            due += interval;
            if (due < Clock::now())
                due = Clock::now();
        }
    }
    {
        std::lock_guard lock(m_mutex);
        m_running = false;
    }
    if (onStop)
        onStop(message);
}

bool RegisterWatch::Refresh(const Settings &settings, std::vector<PeripheralBytes> &images, QString &message)
{
    const std::vector<WatchedPeripheral> peripherals =
        settings.currentPeripherals ? settings.currentPeripherals() : settings.peripherals;
    // A peripheral that cannot pass the transfer buffer is refused by name
    // before the link is touched, as a read of it from the window is.
    for (const WatchedPeripheral &peripheral : peripherals) {
        if (const std::optional<QString> refusal = SnapshotFiles::CheckFits(peripheral.name, peripheral.span, 0)) {
            message = *refusal;
            return false;
        }
    }
    // A view showing nothing readable has nothing to ask of the link.
    if (settings.currentPeripherals && peripherals.empty())
        return true;
    RefreshUser user(settings.chipModel);
    UserContext context{user, user, user, user};
    // A watch stopped while it waits for the link (a long transfer holds it)
    // ends at once: its window may be closing and must not wait for it.
    const LinkCycleGateAttempt pass(m_links.gate, LinkCycleGate::Turn::Background, [this] {
        std::lock_guard lock(m_mutex);
        return m_stopRequested;
    });
    if (!pass.Entered())
        return true;
    {
        LinkCycle cycle(m_config, m_links, context, LinkCycleGate::Turn::Background);
        if (cycle.Preface() && cycle.Open()) {
            for (const WatchedPeripheral &peripheral : peripherals) {
                QByteArray image;
                if (!PeripheralImage::Read(cycle, peripheral.base, peripheral.span, peripheral.leftOut, image))
                    break;
                images.push_back({peripheral.name, std::move(image), peripheral.base});
            }
            cycle.Close();
        }
    }
    message = user.message;
    if (!user.reason.isEmpty()) {
        std::lock_guard lock(m_mutex);
        m_stopReason = user.reason;
    }
    return message.isEmpty();
}

// Links: corvane_regmap corvane_link corvane_simchip
//
// A register window of 20 peripherals (26 registers each, 2080 bytes in all)
// watched at 20 refreshes per second over the simulated chip at the fastest
// UART speed, while a user reads one register from the window every half
// second. Prints how many refreshes were done and how many came late (a
// whole interval or more after their turn: a turn lost), the wall and
// processor time per refresh on the watch's thread, the processor time the
// user's side spends filling the rows and marking changes per refresh, and
// how long the user's reads took, waiting for the running refresh included.
//
// Usage: register_watch_bench [SECONDS]   (default 10)
#include "BenchSupport.h"
#include "link/ConfigFile.h"
#include "link/Settings.h"
#include "link/TargetLinks.h"
#include "regmap/RegisterWatch.h"
#include "regmap/RegisterWindow.h"
#include "regmap/RegisterWindowTable.h"
#include "regmap/RowChanges.h"
#include "SimulatedChip.h"
#include "support/SyntheticSvd.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <deque>
#include <mutex>
#include <vector>

namespace {

constexpr int kPeripherals = 20;
constexpr int kRegisters = 26;
constexpr uint32_t kBase = 0x20001000;
constexpr uint32_t kStride = 0x100;

double ProcessorSeconds(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    const int seconds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 10;
    QTemporaryDir home;
    QDir(home.path()).mkpath("svd");
    QFile svd(home.filePath("svd/VX21A.svd"));
    if (!svd.open(QIODevice::WriteOnly) || svd.write(SvdOfRegisters(kPeripherals, kRegisters, kBase, kStride)) < 0)
        return 1;
    svd.close();

    SimulatedChip chip("VX21A");
    chip.SetRecording(false);
    if (!chip.Start()) {
        std::fprintf(stderr, "the simulated chip did not start\n");
        return 1;
    }
    // Every register counts: each refresh changes every row.
    for (int p = 0; p < kPeripherals; ++p)
        for (int r = 0; r < kRegisters; ++r)
            chip.AddFreeRunningCounter(kBase + uint32_t(p) * kStride + uint32_t(r) * 4);

    ConfigFile config(home.filePath("Corvane.ini"));
    config.WriteInt(ConfigKey::kCommon, ConfigKey::kDataType, 2);
    config.WriteText(ConfigKey::kCommon, ConfigKey::kUartPort, chip.PortPath());
    config.WriteInt(ConfigKey::kCommon, ConfigKey::kUartBaund, 6);
    QuietUser user(QStringLiteral("VX21A"), -1);
    UserContext context = user.Context();
    TargetLinks links([] { return QStringLiteral("VX21A"); });
    RegisterWindowEnv env{config, links, context, home.path()};
    RegisterWindowTable table;
    table.SetNextWindowSlot(0);
    RegisterWindow window(env, table);

    RegisterWatch::Settings settings;
    settings.chipModel = QStringLiteral("VX21A");
    settings.interval = std::chrono::milliseconds(1000 / 20);
    settings.refreshLimit = seconds * 20;
    for (int p = 0; p < kPeripherals; ++p)
        window.AddPeripheralRows(QStringLiteral("P%1").arg(p));
    settings.peripherals = RegisterWatch::PeripheralsOf(window.Tree());
    uint32_t bytes = 0;
    for (const WatchedPeripheral &peripheral : settings.peripherals)
        bytes += peripheral.span;

    // The user's side: images are handed over and applied on this thread,
    // as a window applies them on its own.
    std::mutex mutex;
    std::condition_variable handed;
    std::deque<std::vector<PeripheralBytes>> queue;
    bool ended = false;
    QString failure;
    RegisterWatch watch(config, links);
    watch.Start(
        settings,
        [&](const std::vector<PeripheralBytes> &images) {
            std::lock_guard lock(mutex);
            queue.push_back(images);
            handed.notify_one();
        },
        [&](const QString &message) {
            std::lock_guard lock(mutex);
            failure = message;
            ended = true;
            handed.notify_one();
        });

    RowChanges changes;
    double applySeconds = 0;
    int applied = 0;
    std::vector<double> userReads;
    QElapsedTimer clock;
    clock.start();
    qint64 nextUserRead = 500;
    window.SetSelection(window.Tree().TopRow(0)->Child(3), true);
    for (;;) {
        std::vector<PeripheralBytes> images;
        {
            std::unique_lock lock(mutex);
            handed.wait_for(lock, std::chrono::milliseconds(10), [&] { return !queue.empty() || ended; });
            if (queue.empty() && ended)
                break;
            if (!queue.empty()) {
                images = std::move(queue.front());
                queue.pop_front();
            }
        }
        if (!images.empty()) {
            const double before = ProcessorSeconds(CLOCK_THREAD_CPUTIME_ID);
            for (const PeripheralBytes &image : images)
                window.FillPeripheral(image.name, image.bytes);
            changes.Observe(window.Tree());
            applySeconds += ProcessorSeconds(CLOCK_THREAD_CPUTIME_ID) - before;
            ++applied;
        }
        if (clock.elapsed() >= nextUserRead && watch.IsRunning()) {
            QElapsedTimer read;
            read.start();
            window.ReadSelection();
            userReads.push_back(double(read.nsecsElapsed()) / 1e6);
            nextUserRead += 500;
        }
    }
    watch.Wait();
    const double elapsed = double(clock.elapsed()) / 1000.0;
    const RegisterWatch::Figures figures = watch.LastFigures();
    std::sort(userReads.begin(), userReads.end());

    std::printf("watch of %d peripherals, %u bytes, at 20 refreshes/s over UART speed index 6, %d s\n", kPeripherals,
                bytes, seconds);
    if (!failure.isEmpty())
        std::printf("stopped by: %s", qPrintable(failure));
    std::printf("refreshes done         %d of %d in %.2f s\n", figures.refreshes, settings.refreshLimit, elapsed);
    std::printf("late (a turn lost)     %d\n", figures.late);
    std::printf("longest refresh        %.2f ms (interval 50 ms)\n", double(figures.longestRefresh.count()) / 1e6);
    std::printf("watch thread CPU       %.3f ms per refresh\n",
                double(figures.processorTime.count()) / 1e6 / std::max(1, figures.refreshes));
    std::printf("fill rows + mark       %.3f ms CPU per refresh (%d applied)\n",
                applySeconds * 1e3 / std::max(1, applied), applied);
    if (!userReads.empty())
        std::printf("user register reads    %zu, median %.2f ms, longest %.2f ms (waiting for the refresh included)\n",
                    userReads.size(), userReads[userReads.size() / 2], userReads.back());
    return figures.late == 0 && failure.isEmpty() ? 0 : 1;
}

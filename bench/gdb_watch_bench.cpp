// Links: corvane_regmap corvane_link
//
// A watch of TIMER0 (16 bytes at 0x40000000) on QEMU's mps2-an505 through
// its gdbstub, back to back (interval 0), beside a raw client of the
// remote protocol on one connection that reads, lets the board run and
// interrupts it again, the same number of bytes per round. Prints both in
// refreshes per second, alternating runs, and the watch's ratio to the raw
// client (median of the runs). Needs qemu-system-arm.
//
// Usage: gdb_watch_bench [SECONDS PER RUN] [RUNS]   (default 2 and 5)
#include "link/ConfigFile.h"
#include "link/GdbRemote.h"
#include "link/Settings.h"
#include "link/TargetLinks.h"
#include "regmap/RegisterWatch.h"
#include "support/QemuBoard.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

constexpr uint32_t kTimer0 = 0x40000000;
constexpr uint32_t kSpan = 16;

double ThreadCpuUs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e6 + now.tv_nsec / 1e3;
}

struct Rate
{
    double perSecond = -1;
    double cpuUsPerRefresh = -1; // of the thread that reads
};

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Read, continue, interrupt: what a watch that holds its connection does at the least.
Rate RawRate(const QString &server, double seconds)
{
    GdbRemote gdb;
    if (!gdb.Open(server))
        return {};
    const double cpuBefore = ThreadCpuUs();
    uint8_t data[kSpan];
    QElapsedTimer clock;
    clock.start();
    int rounds = 0;
    while (clock.elapsed() < seconds * 1000) {
        if (!gdb.ReadMemory(kTimer0, kSpan, data) || !gdb.Resume() || !gdb.Interrupt())
            return {};
        ++rounds;
    }
    const Rate rate{rounds / (clock.nsecsElapsed() / 1e9), (ThreadCpuUs() - cpuBefore) / rounds};
    gdb.Detach();
    return rate;
}

Rate WatchRate(const ConfigFile &config, TargetLinks &links, double seconds, QString *message)
{
    RegisterWatch watch(config, links);
    RegisterWatch::Settings settings;
    settings.chipModel = "AN505";
    settings.peripherals = {{"TIMER0", kTimer0, kSpan, {}}};
    settings.interval = std::chrono::milliseconds(0);
    QElapsedTimer clock;
    clock.start();
    watch.Start(settings, {}, [&](const QString &stop) { *message = stop; });
    QThread::msleep(ulong(seconds * 1000));
    watch.Stop();
    const double elapsed = clock.nsecsElapsed() / 1e9;
    const RegisterWatch::Figures figures = watch.LastFigures();
    return {figures.refreshes / elapsed, figures.processorTime.count() / 1e3 / std::max(1, figures.refreshes)};
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const double seconds = argc > 1 ? std::atof(argv[1]) : 2.0;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    QemuBoard board;
    if (QemuBoard::Program().isEmpty() || !board.Start()) {
        std::printf("QEMU's mps2-an505 did not start\n");
        return 1;
    }
    QTemporaryDir home;
    ConfigFile config(home.filePath("Corvane.ini"));
    config.WriteInt(ConfigKey::kCommon, ConfigKey::kDataType, 3);
    config.WriteText(ConfigKey::kCommon, ConfigKey::kGdbServer, board.GdbServer());
    TargetLinks links([] { return QString("AN505"); });

    std::vector<double> raw, watched, rawCpu, watchCpu;
    for (int run = 0; run < runs; ++run) {
        const Rate r = RawRate(board.GdbServer(), seconds);
        QString message;
        const Rate w = WatchRate(config, links, seconds, &message);
        if (!message.isEmpty() || r.perSecond < 0) {
            std::printf("the watch stopped: %s", qPrintable(message));
            return 1;
        }
        raw.push_back(r.perSecond);
        watched.push_back(w.perSecond);
        rawCpu.push_back(r.cpuUsPerRefresh);
        watchCpu.push_back(w.cpuUsPerRefresh);
        std::printf("run %d: raw client %8.0f/s %7.1f us CPU   watch %8.0f/s %7.1f us CPU\n", run + 1, r.perSecond,
                    r.cpuUsPerRefresh, w.perSecond, w.cpuUsPerRefresh);
    }
    const double rawMedian = Median(raw);
    const double watchMedian = Median(watched);
    std::printf("watch of TIMER0 over QEMU's gdbstub, %d runs of %.1f s (medians)\n", runs, seconds);
    std::printf("raw client (read, continue, interrupt)  %8.0f refreshes/s  %7.1f us CPU per refresh\n", rawMedian,
                Median(rawCpu));
    std::printf("watch                                   %8.0f refreshes/s  %7.1f us CPU per refresh\n", watchMedian,
                Median(watchCpu));
    std::printf("watch / raw client: %.2fx the rate (wall), %.2fx the CPU per refresh\n", watchMedian / rawMedian,
                Median(watchCpu) / Median(rawCpu));
    std::printf("board after the runs: %s\n", qPrintable(board.Status()));
    return 0;
}

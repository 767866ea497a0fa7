// Links: corvane_app corvane_simchip
//
// The register window as the user runs it: a window of 20 peripherals (26
// registers each, 2080 bytes, every register a free-running counter so every
// row changes at every refresh) watched through its tool row at 20 refreshes
// per second over the simulated chip at the fastest UART speed, with the
// rows highlighted and two of them plotted. Prints the refreshes done and
// late (a turn lost), the longest stall of the user-interface thread (the
// largest gap between ticks of a 1 ms timer, less the 1 ms), and the
// processor time per refresh on the watch's thread and on the
// user-interface thread. Beside the last, the floor (TreeFloor.h): the
// rows the window shows, in a bare model and tree view of the same size,
// every value text set anew and drawn per refresh, in the same run, and the
// ratio. The platform is offscreen unless QT_QPA_PLATFORM says otherwise.
//
// With --gdb the same window reads QEMU's mps2-an505 through its gdbstub
// (chip AN505, data source GDB): the registers then lie in the board's
// SSRAM2, which holds still, so the rows are read and compared but do not
// change. Needs qemu-system-arm.
//
// --no-plot leaves the plot pane closed.
//
// Usage: register_window_watch_bench [--gdb] [--no-plot] [SECONDS]   (default 10)
#include "app/CorvaneApplication.h"
#include "app/MainWindow.h"
#include "app/RegisterWindowTools.h"
#include "app/RegisterWindowView.h"
#include "app/ValuePlotPane.h"
#include "regmap/RegisterWindow.h"
#include "support/QemuBoard.h"
#include "support/SyntheticSvd.h"
#include "SimulatedChip.h"
#include "TreeFloor.h"
#include "widgets/PropertyGrid.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

constexpr int kPeripherals = 20;
constexpr int kRegisters = 26;
constexpr uint32_t kChipBase = 0x20001000;
constexpr uint32_t kBoardBase = 0x28000000; // SSRAM2 of the mps2-an505
constexpr uint32_t kStride = 0x100;

// The portable folder for the chip (data source UART on `port`) or the board
// (data source GDB on `server`).
bool LayOut(const QString &home, bool board, const QString &link)
{
    const QString chip = board ? QStringLiteral("AN505") : QStringLiteral("VX21A");
    QDir(home).mkpath(QStringLiteral("svd"));
    QFile svd(home + QStringLiteral("/svd/%1.svd").arg(chip));
    if (!svd.open(QIODevice::WriteOnly) ||
        svd.write(SvdOfRegisters(kPeripherals, kRegisters, board ? kBoardBase : kChipBase, kStride, chip)) < 0)
        return false;
    QString ini = QStringLiteral("[CHIP_TYPE]\nNUM=1\nCHIP_0=%1\nSEL=0\n[UART_BAUND]\nNUM=7\nBAUND_0=115200\n"
                                 "BAUND_1=1000000\nBAUND_2=2000000\nBAUND_3=3000000\nBAUND_4=4000000\n"
                                 "BAUND_5=5000000\nBAUND_6=6000000\n[COMMON]\nUART_BAUND=6\nEXPAND_TYPE=2\nHEX_DEC=1\n"
                                 "JLINKDLL=/nonexistent\n")
                      .arg(chip);
    ini += board ? QStringLiteral("DATA_TYPE=3\nGDB_SERVER=%1\n").arg(link)
                 : QStringLiteral("DATA_TYPE=2\nUART_PORT=%1\n").arg(link);
    ini += QStringLiteral("[%1]\nWND_0=1\n").arg(chip);
    for (int p = 0; p < kPeripherals; ++p)
        ini += QStringLiteral("P%1=1\n").arg(p);
    QFile file(home + QStringLiteral("/Corvane.ini"));
    return file.open(QIODevice::WriteOnly) && file.write(ini.toUtf8()) > 0;
}

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool board = arguments.removeAll(QStringLiteral("--gdb")) > 0;
    const bool plot = arguments.removeAll(QStringLiteral("--no-plot")) == 0;
    const int seconds = arguments.isEmpty() ? 10 : std::max(1, arguments.first().toInt());

    SimulatedChip chip("VX21A");
    QemuBoard qemu;
    QString link;
    if (board) {
        if (QemuBoard::Program().isEmpty() || !qemu.Start()) {
            std::fprintf(stderr, "QEMU's mps2-an505 did not start\n");
            return 1;
        }
        link = qemu.GdbServer();
    } else {
        chip.SetRecording(false);
        if (!chip.Start()) {
            std::fprintf(stderr, "the simulated chip did not start\n");
            return 1;
        }
        for (int p = 0; p < kPeripherals; ++p)
            for (int r = 0; r < kRegisters; ++r)
                chip.AddFreeRunningCounter(kChipBase + uint32_t(p) * kStride + uint32_t(r) * 4);
        link = chip.PortPath();
    }
    QTemporaryDir home;
    if (!LayOut(home.path(), board, link))
        return 1;

    CorvaneApplication app(AppOptions{home.path(), true, {}});
    QStringList messages;
    app.User().messageHook = [&](const QString &text) { messages << text; };
    if (!app.InitInstance())
        return 1;
    app.MainFrame()->resize(1200, 800);
    RegisterWindowView *window = app.RegisterWindow(0);
    if (!window)
        return 1;
    QApplication::processEvents();
    messages.clear(); // start-up's own (no probe library here)
    const RegisterRowTree &tree = window->Logic()->Tree();
    if (plot) {
        window->Tools()->Plot(tree.TopRow(0)->Child(0)->Id());
        window->Tools()->Plot(tree.TopRow(19)->Child(25)->Child(1)->Id());
    }

    // Ticks of a 1 ms timer: the largest gap is the longest stall.
    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestGapNs = 0;
    qint64 longestGapAtNs = 0;
    qint64 longestSteadyGapNs = 0; // after the first second: the first fill lays every row out
    std::vector<qint64> gapsNs;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        if (now - lastTick > longestGapNs) {
            longestGapNs = now - lastTick;
            longestGapAtNs = now;
        }
        if (now > 1'000'000'000)
            longestSteadyGapNs = std::max(longestSteadyGapNs, now - lastTick);
        gapsNs.push_back(now - lastTick);
        lastTick = now;
    });

    auto *rate = window->findChild<QComboBox *>(QStringLiteral("rate"));
    auto *watch = window->findChild<QCheckBox *>(QStringLiteral("watch"));
    rate->setCurrentIndex(rate->findData(20));
    const double uiBefore = ThreadSeconds();
    clock.start();
    tick.start();
    watch->setChecked(true);
    QTimer::singleShot(seconds * 1000, &application, &QCoreApplication::quit);
    QApplication::exec();
    tick.stop();
    const double uiSeconds = ThreadSeconds() - uiBefore;
    const WindowWatch &windowWatch = window->Tools()->Watch();
    const int applied = windowWatch.AppliedRefreshes();
    watch->setChecked(false);
    const RegisterWatch::Figures figures = windowWatch.Figures();
    const double elapsed = double(clock.elapsed()) / 1000.0;

    // The floor: the same rows, every value changed and drawn per refresh.
    const QTreeView &treeView = *window->Grid()->Tree();
    const std::vector<FloorRow> rows = RowsShownBy(treeView);
    TreeFloor floor(treeView.size());
    floor.Draw(rows);
    const int floorRefreshes = std::clamp(applied, 20, 200);
    const double floorBefore = ThreadSeconds();
    for (int i = 0; i < floorRefreshes; ++i)
        floor.Refresh(std::uint32_t(i + 1));
    const double floorMs = (ThreadSeconds() - floorBefore) * 1e3 / floorRefreshes;
    const double uiMs = uiSeconds * 1e3 / std::max(1, applied);

    std::printf("register window of %d peripherals (%d bytes) watched at 20/s over %s, %d s\n", kPeripherals,
                kPeripherals * kRegisters * 4,
                board ? "the GDB link to QEMU mps2-an505" : "the simulated chip at UART speed index 6", seconds);
    for (const QString &message : messages)
        std::printf("message: %s", qPrintable(message));
    std::printf("refreshes read         %d (%d due in %.2f s)\n", figures.refreshes, int(elapsed * 20), elapsed);
    std::printf("refreshes drawn        %d\n", applied);
    std::printf("late (a turn lost)     %d\n", figures.late);
    std::printf("longest refresh        %.2f ms on the watch's thread (interval 50 ms)\n",
                double(figures.longestRefresh.count()) / 1e6);
    std::printf("longest UI stall       %.2f ms (largest 1 ms timer gap less 1 ms)\n",
                std::max(0.0, double(longestGapNs) / 1e6 - 1.0));
    std::sort(gapsNs.begin(), gapsNs.end());
    const auto over16 = std::count_if(gapsNs.begin(), gapsNs.end(), [](qint64 gap) { return gap > 17'000'000; });
    std::printf("  at %.2f s; after the first second %.2f ms; stalls over 16 ms: %ld; 99.9th percentile %.2f ms\n",
                double(longestGapAtNs) / 1e9, std::max(0.0, double(longestSteadyGapNs) / 1e6 - 1.0), long(over16),
                gapsNs.empty() ? 0.0 : double(gapsNs[gapsNs.size() * 999 / 1000]) / 1e6 - 1.0);
    std::printf("watch thread CPU       %.3f ms per refresh\n",
                double(figures.processorTime.count()) / 1e6 / std::max(1, figures.refreshes));
    std::printf("UI thread CPU          %.3f ms per refresh (rows, marks, plot, drawing, 1 ms timer included) | "
                "floor %.3f ms (a bare model and tree view of the same %zu rows, every value set anew and drawn) | "
                "ratio %.2f\n",
                uiMs, floorMs, CountRows(rows), uiMs / floorMs);
    app.MainFrame()->close();
    return figures.late == 0 && messages.isEmpty() ? 0 : 1;
}

// Links: corvane_app corvane_simchip
//
// The memory window as the user runs it, drawn on the offscreen platform
// (unless QT_QPA_PLATFORM says otherwise), over the simulated chip at the
// fastest UART speed or, with --gdb, over QEMU's mps2-an505 through its
// gdbstub. Two figures, each beside its goal:
//
// 1. Scrolling a full screen: the window shows 64 rows of 16 bytes; Page
//    Down is pressed again and again, each time onto rows never read. Timed
//    from the key to the first paint that shows every byte of the new rows
//    read, next to one link cycle reading the same 1 KiB alone (the link's
//    transfer time). Goal: the scroll within the transfer time plus 16 ms.
// 2. Watching 1 KiB: the same 64 rows watched at 20 refreshes per second,
//    every word of them changing at each refresh on the simulated chip (on
//    QEMU the counter firmware's words, when bin/an505-counter.elf is
//    there). The longest stall of the user-interface thread is the largest
//    gap between ticks of a 1 ms timer, less the 1 ms. Goal: under 16 ms.
//    On a shared machine the gaps include time the thread waited for a
//    processor: the longest processor time between two ticks is printed
//    beside them, the thread's own work.
//
// Beside the watch's processor time per refresh and the time of one paint,
// the floor (TableFloor.h): the same rows (address, unit texts, characters)
// drawn by a plain widget of the same size and font, in the same run, each
// refresh every unit given a new text and drawn; and the ratio.
//
// Usage: memory_window_bench [--gdb] [SECONDS]   (watch time, default 10)
#include "app/CorvaneApplication.h"
#include "app/MainWindow.h"
#include "app/MemoryHexArea.h"
#include "app/MemoryWindow.h"
#include "link/LinkCycle.h"
#include "memview/MemoryRows.h"
#include "support/QemuBoard.h"
#include "BenchSupport.h"
#include "SimulatedChip.h"
#include "TableFloor.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kRows = 64;
constexpr int kRowBytes = 16;
constexpr uint32_t kScreen = kRows * kRowBytes;
constexpr int kScrolls = 40;
constexpr uint32_t kChipRam = 0x20000000;
constexpr uint32_t kBoardRam = 0x28000000;      // SSRAM2 of the mps2-an505: 2 MiB for the scrolls
constexpr uint32_t kBoardCounters = 0x20000000; // the counter firmware's words

bool LayOut(const QString &home, bool board, const QString &link)
{
    const QString chip = board ? QStringLiteral("AN505") : QStringLiteral("VX21A");
    QString ini = QStringLiteral("[CHIP_TYPE]\nNUM=1\nCHIP_0=%1\nSEL=0\n[UART_BAUND]\nNUM=7\nBAUND_0=115200\n"
                                 "BAUND_1=1000000\nBAUND_2=2000000\nBAUND_3=3000000\nBAUND_4=4000000\n"
                                 "BAUND_5=5000000\nBAUND_6=6000000\n[COMMON]\nUART_BAUND=6\nJLINKDLL=/nonexistent\n")
                      .arg(chip);
    ini += board ? QStringLiteral("DATA_TYPE=3\nGDB_SERVER=%1\n").arg(link)
                 : QStringLiteral("DATA_TYPE=2\nUART_PORT=%1\n").arg(link);
    QFile file(home + QStringLiteral("/Corvane.ini"));
    return file.open(QIODevice::WriteOnly) && file.write(ini.toUtf8()) > 0;
}

// Whether every byte the window shows holds what was read.
bool AllRead(const MemoryView &view)
{
    for (uint32_t k = 0; k < view.ShownBytes(); ++k)
        if (view.State(view.First() + k) != ByteState::Value)
            return false;
    return true;
}

// The time of the first paint of the rows once they are all read.
struct PaintWatcher : QObject
{
    PaintWatcher(QWidget *viewport, const MemoryView &view, const QElapsedTimer &clock)
        : m_view(view)
        , m_clock(clock)
    {
        viewport->installEventFilter(this);
    }
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && drawnNs < 0 && AllRead(m_view))
            drawnNs = m_clock.nsecsElapsed();
        return false;
    }
    qint64 drawnNs = -1;

private:
    const MemoryView &m_view;
    const QElapsedTimer &m_clock;
};

// The rows the window shows as texts: the address, each unit, the
// characters. With `step` above 0 every unit holds a new value made from it,
// as a refresh that changes every word would.
std::vector<QStringList> RowTexts(const MemoryView &view, uint32_t step)
{
    const int unit = view.Unit();
    const int width = view.RowWidth();
    const uint64_t mask = unit >= 8 ? ~uint64_t(0) : (uint64_t(1) << (8 * unit)) - 1;
    std::vector<QStringList> rows;
    rows.reserve(std::size_t(view.RowsShown()));
    for (int r = 0; r < view.RowsShown(); ++r) {
        const uint32_t address = view.First() + uint32_t(r * width);
        QStringList row{QStringLiteral("%1").arg(address, 8, 16, QChar(u'0')).toUpper()};
        QString characters;
        for (int u = 0; u < width; u += unit) {
            const uint32_t at = address + uint32_t(u);
            QString text = view.UnitText(at);
            const uint64_t value = (uint64_t(step) * 0x9E3779B1u + at) & mask;
            if (step > 0)
                text = QStringLiteral("%1").arg(value, int(text.size()), 16, QChar(u'0')).toUpper();
            row << text;
            for (int b = 0; b < unit; ++b) {
                const int c = step > 0 ? int((value >> (8 * b)) & 0xFF) : view.Byte(at + uint32_t(b));
                characters += c >= 0x20 && c < 0x7F ? QChar(char16_t(c)) : QChar(u'.');
            }
        }
        row << characters;
        rows.push_back(std::move(row));
    }
    return rows;
}

double Median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool board = arguments.removeAll(QStringLiteral("--gdb")) > 0;
    const int seconds = arguments.isEmpty() ? 10 : std::max(1, arguments.first().toInt());

    SimulatedChip chip("VX21A");
    QemuBoard qemu;
    QString link;
    bool countersRun = true;
    if (board) {
        const QString firmware = QCoreApplication::applicationDirPath() + QStringLiteral("/an505-counter.elf");
        countersRun = QFile::exists(firmware);
        if (QemuBoard::Program().isEmpty() || !qemu.Start(countersRun ? firmware : QString())) {
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
        for (uint32_t offset = 0; offset < kScreen; offset += 4)
            chip.AddFreeRunningCounter(kChipRam + offset);
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
    app.MainFrame()->resize(1400, 1400);
    QApplication::processEvents();
    messages.clear(); // start-up's own (no probe library here)

    const uint32_t scrollStart = board ? kBoardRam : kChipRam + 0x100000;
    MemoryWindow *window = app.OpenMemoryWindow(scrollStart);
    auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget());
    MemoryView &view = window->View();
    MemoryHexArea *hex = window->Hex();
    // Exactly 64 rows in view.
    for (int i = 0; i < 8 && view.RowsShown() != kRows; ++i) {
        frame->resize(frame->width(), frame->height() + (kRows - view.RowsShown()) * hex->RowHeight());
        QApplication::processEvents();
    }
    if (view.RowsShown() != kRows) {
        std::fprintf(stderr, "the window shows %d rows, not %d\n", view.RowsShown(), kRows);
        return 1;
    }
    QElapsedTimer settle;
    settle.start();
    while (window->Outstanding() > 0 && settle.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);

    // The link's transfer time: one cycle reading the 1 KiB of a screen.
    FakeUser user;
    user.chip = board ? QStringLiteral("AN505") : QStringLiteral("VX21A");
    user.dataSourceEntry = -1;
    UserContext context = user.Context();
    std::vector<double> transfers;
    for (int i = 0; i < kScrolls; ++i) {
        QElapsedTimer clock;
        clock.start();
        LinkCycle cycle(app.Config(), app.Links(), context);
        const MemoryBlock block = MemoryRows::ReadCycle(cycle, view.Rules(), scrollStart, kScreen);
        transfers.push_back(double(clock.nsecsElapsed()) / 1e6);
        if (block.states.empty() || block.states.front() != ByteState::Value) {
            std::fprintf(stderr, "the read of 1 KiB failed\n");
            return 1;
        }
    }

    // Page Down onto rows never read, until they are drawn read.
    hex->setFocus();
    std::vector<double> scrolls;
    std::vector<double> keyHandling;
    std::vector<double> scrollCpu;
    for (int i = 0; i < kScrolls; ++i) {
        QElapsedTimer clock;
        PaintWatcher watcher(hex->viewport(), view, clock);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_PageDown, Qt::NoModifier);
        const double cpuBefore = NowMs(Clock::ThreadCpu);
        clock.start();
        QApplication::sendEvent(hex, &press);
        QApplication::sendEvent(hex, &release);
        keyHandling.push_back(double(clock.nsecsElapsed()) / 1e6);
        while (watcher.drawnNs < 0 && clock.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::AllEvents, 1);
        if (watcher.drawnNs < 0) {
            std::fprintf(stderr, "the rows of scroll %d were never drawn read\n", i);
            return 1;
        }
        scrolls.push_back(double(watcher.drawnNs) / 1e6);
        scrollCpu.push_back(NowMs(Clock::ThreadCpu) - cpuBefore);
    }

    const double transfer = Median(transfers);
    const double scroll = Median(scrolls);
    const double worstScroll = *std::max_element(scrolls.begin(), scrolls.end());
    std::printf("memory window of %d rows x %d bytes over %s\n", kRows, kRowBytes,
                board ? "the GDB link to QEMU mps2-an505" : "the simulated chip at UART speed index 6");
    std::printf("one screen's transfer     median %7.2f ms  (one link cycle reading 1 KiB)\n", transfer);
    std::printf("Page Down to drawn        median %7.2f ms  worst %7.2f ms  goal %.2f ms (transfer + 16 ms): %s\n",
                scroll, worstScroll, transfer + 16.0, scroll <= transfer + 16.0 ? "met" : "missed");
    std::printf("  over the transfer       median %7.2f ms\n", scroll - transfer);
    std::printf("  the key's handling      median %7.3f ms  worst %7.3f ms (the window's thread)\n",
                Median(keyHandling), *std::max_element(keyHandling.begin(), keyHandling.end()));
    std::printf("  window's thread CPU     median %7.2f ms from the key to the drawing (waits included)\n",
                Median(scrollCpu));

    // The watch of the 1 KiB: back to its words, 20 refreshes a second.
    window->GoTo(board ? kBoardCounters : kChipRam);
    settle.restart();
    while (window->Outstanding() > 0 && settle.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 5);
    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestGapNs = 0;
    std::vector<qint64> gapsNs;
    // The window's thread's processor time between two ticks: its own work,
    // which other processes on a shared machine do not lengthen.
    double lastTickCpu = NowMs(Clock::ThreadCpu);
    double longestBusy = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(1);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestGapNs = std::max(longestGapNs, now - lastTick);
        gapsNs.push_back(now - lastTick);
        lastTick = now;
        const double cpu = NowMs(Clock::ThreadCpu);
        longestBusy = std::max(longestBusy, cpu - lastTickCpu);
        lastTickCpu = cpu;
    });
    auto *rate = window->findChild<QComboBox *>(QStringLiteral("rate"));
    auto *watch = window->findChild<QCheckBox *>(QStringLiteral("watch"));
    rate->setCurrentIndex(rate->findData(20));
    int changedDrawn = 0;
    QTimer sample; // how many units are drawn changed, now and then
    sample.setInterval(250);
    QObject::connect(&sample, &QTimer::timeout, [&] {
        int changed = 0;
        for (uint32_t k = 0; k < view.ShownBytes(); k += 4)
            changed += view.UnitStrength(view.First() + k) > 0;
        changedDrawn = std::max(changedDrawn, changed);
    });
    clock.start();
    lastTickCpu = NowMs(Clock::ThreadCpu);
    const double watchCpuBefore = lastTickCpu;
    tick.start();
    sample.start();
    watch->setChecked(true);
    QTimer::singleShot(seconds * 1000, &application, &QCoreApplication::quit);
    QApplication::exec();
    tick.stop();
    sample.stop();
    const double watchCpu = NowMs(Clock::ThreadCpu) - watchCpuBefore;
    const int applied = window->Watch().AppliedRefreshes();
    watch->setChecked(false);
    // One paint of the screen as the watch left it, units drawn changed.
    std::vector<double> paints;
    std::vector<double> paintCpu;
    for (int i = 0; i < 50; ++i) {
        QElapsedTimer paint;
        const double cpuBefore = NowMs(Clock::ThreadCpu);
        paint.start();
        const QPixmap drawn = hex->viewport()->grab();
        paints.push_back(double(paint.nsecsElapsed()) / 1e6);
        paintCpu.push_back(NowMs(Clock::ThreadCpu) - cpuBefore);
    }
    const RegisterWatch::Figures figures = window->Watch().Figures();
    const double elapsed = double(clock.elapsed()) / 1000.0;

    // The floor: the same rows drawn by a plain widget, then refreshed.
    TableFloor floor(hex->size(), hex->font());
    floor.Draw(RowTexts(view, 0));
    std::vector<double> floorPaints;
    std::vector<double> floorPaintCpu;
    for (int i = 0; i < 50; ++i) {
        QElapsedTimer paint;
        const double cpuBefore = NowMs(Clock::ThreadCpu);
        paint.start();
        const QPixmap drawn = floor.Grab();
        floorPaints.push_back(double(paint.nsecsElapsed()) / 1e6);
        floorPaintCpu.push_back(NowMs(Clock::ThreadCpu) - cpuBefore);
    }
    const int floorRefreshes = std::clamp(applied, 20, 200);
    const double floorCpuBefore = NowMs(Clock::ThreadCpu);
    for (int i = 0; i < floorRefreshes; ++i)
        floor.Refresh(RowTexts(view, uint32_t(i + 1)));
    const double floorRefreshCpu = (NowMs(Clock::ThreadCpu) - floorCpuBefore) / floorRefreshes;
    const double watchRefreshCpu = watchCpu / std::max(1, applied);
    const double stall = std::max(0.0, double(longestGapNs) / 1e6 - 1.0);
    std::sort(gapsNs.begin(), gapsNs.end());

    std::printf("watch of 1 KiB at 20/s, %d s%s\n", seconds, countersRun ? "" : " (no firmware: the words hold still)");
    std::printf("refreshes read            %d (%d due in %.2f s), drawn %d, late %d\n", figures.refreshes,
                int(elapsed * 20), elapsed, applied, figures.late);
    std::printf("units drawn changed       up to %d of %u at once\n", changedDrawn, kScreen / 4);
    std::printf("longest refresh           %.2f ms on the watch's thread (interval 50 ms)\n",
                double(figures.longestRefresh.count()) / 1e6);
    std::printf("longest UI stall          %.2f ms  goal under 16 ms: %s; 99.9th percentile %.2f ms\n", stall,
                stall < 16.0 ? "met" : "missed",
                gapsNs.empty() ? 0.0 : double(gapsNs[gapsNs.size() * 999 / 1000]) / 1e6 - 1.0);
    std::printf("longest UI busy           %.2f ms of processor time between two ticks\n", longestBusy);
    std::printf("UI thread CPU             %.3f ms per refresh (1 ms timer and sampling included) | floor %.3f ms "
                "(a plain widget drawing the same %d rows, every unit set anew and drawn) | ratio %.2f\n",
                watchRefreshCpu, floorRefreshCpu, view.RowsShown(), watchRefreshCpu / floorRefreshCpu);
    std::printf("one paint of the screen   median %6.2f ms  worst %6.2f ms; processor time median %.2f ms | floor "
                "%.2f ms (processor %.2f) | ratio %.2f (processor %.2f)\n",
                Median(paints), *std::max_element(paints.begin(), paints.end()), Median(paintCpu), Median(floorPaints),
                Median(floorPaintCpu), Median(paints) / Median(floorPaints), Median(paintCpu) / Median(floorPaintCpu));
    for (const QString &message : messages)
        std::printf("message: %s\n", qPrintable(message));
    app.MainFrame()->close();
    return messages.isEmpty() ? 0 : 1;
}

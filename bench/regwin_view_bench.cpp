// Links: corvane_app
//
// The register window as drawn (offscreen platform), at vendor scale:
//  - adding nrf5340_application's CACHEDATA_S (2048 registers) to an open
//    window at expand level 3, until the rows are drawn;
//  - a start with nrf5340's 20 largest peripherals in window 0 at expand
//    level 3, until the main window is drawn with its rows;
//  - all of nrf5340's peripherals in one window: resident memory, and a
//    rebuild until drawn;
//  - made-up peripherals of 256 to 8192 registers: time until drawn, which
//    should grow linearly.
// Each figure is the wall time on the user-interface thread (everything runs
// there: the longest stall is the whole figure) and that thread's processor
// time, medians of alternating runs, printed beside the floor (TreeFloor.h):
// the same rows in a bare model and tree view, drawn in the same run, and
// the ratio. Skips the vendor figures, saying so, without ../shared/svd-samples.
//
//   regwin_view_bench

#include "app/CorvaneApplication.h"
#include "app/MainWindow.h"
#include "app/RegisterWindowView.h"
#include "regmap/RegisterWindow.h"
#include "regmap/SvdDeviceModel.h"
#include "support/SyntheticSvd.h"
#include "TreeFloor.h"
#include "widgets/PropertyGrid.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTreeView>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

QString SamplePath()
{
    return QFileInfo(QStringLiteral(CORVANE_SOURCE_DIR "/../shared/svd-samples/nrf5340_application.svd"))
        .absoluteFilePath();
}

long ResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// A portable folder whose chip VX21A has `svd`, with `names` in window 0.
struct Folder
{
    Folder(const QByteArray &svd, const QStringList &names, int expandLevel)
    {
        QDir(dir.path()).mkpath(QStringLiteral("svd"));
        QFile file(dir.filePath(QStringLiteral("svd/VX21A.svd")));
        file.open(QIODevice::WriteOnly);
        file.write(svd);
        file.close();
        QString ini = QStringLiteral("[CHIP_TYPE]\nNUM=1\nCHIP_0=VX21A\nSEL=0\n[UART_BAUND]\nNUM=1\nBAUND_0=115200\n"
                                     "[COMMON]\nDATA_TYPE=0\nHEX_DEC=1\nJLINKDLL=/nonexistent\nEXPAND_TYPE=%1\n"
                                     "[VX21A]\nWND_0=1\n")
                          .arg(expandLevel);
        for (const QString &name : names)
            ini += name + QStringLiteral("=1\n");
        QFile config(dir.filePath(QStringLiteral("Corvane.ini")));
        config.open(QIODevice::WriteOnly);
        config.write(ini.toUtf8());
    }
    QTemporaryDir dir;
};

struct App
{
    explicit App(const Folder &folder)
    {
        AppOptions options;
        options.exeDir = folder.dir.path();
        app = std::make_unique<CorvaneApplication>(options);
        app->User().messageHook = [](const QString &) {};
        app->InitInstance();
        app->MainFrame()->resize(1600, 1000);
        app->MainFrame()->show();
    }
    ~App()
    {
        app->MainFrame()->close();
        app.reset();
        QApplication::processEvents();
    }
    RegisterWindowView *Window() const { return app->RegisterWindow(0); }
    // Until the window's rows are painted.
    void Draw() const
    {
        QApplication::processEvents();
        if (RegisterWindowView *window = Window())
            window->Grid()->Tree()->viewport()->repaint();
        app->MainFrame()->repaint();
    }
    std::unique_ptr<CorvaneApplication> app;
};

double Ms(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

// The peripherals of the file with their register counts, largest first.
std::vector<std::pair<QString, int>> BySize(const QString &path)
{
    XmlDocument document;
    document.LoadFile(path);
    std::vector<std::pair<QString, int>> sizes;
    for (const QString &name : SvdDeviceModel::ReadPeripheralNames(document)) {
        const SvdPeripheralResult result = SvdDeviceModel::ReadPeripheral(document, name);
        if (result.outcome == SvdPeripheralResult::Outcome::Found)
            sizes.emplace_back(name, int(result.peripheral.registers.size()));
    }
    std::stable_sort(sizes.begin(), sizes.end(), [](const auto &a, const auto &b) { return a.second > b.second; });
    return sizes;
}

} // namespace

// The rows the window's grid shows, and the size of its tree.
std::vector<FloorRow> ShownRows(const App &app)
{
    return RowsShownBy(*app.Window()->Grid()->Tree());
}

QSize TreeSize(const App &app)
{
    return app.Window()->Grid()->Tree()->size();
}

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir profile;
    qputenv("XDG_CONFIG_HOME", profile.path().toLocal8Bit());
    QApplication application(argc, argv);
    const int runs = 3;

    // Linear growth on made-up peripherals: the first add to an open window
    // (the walk of the peripheral included), against the floor of its rows.
    std::printf("made-up peripheral added at expand level 3 until drawn (median of %d):\n", runs);
    for (int registers : {256, 512, 1024, 2048, 4096, 8192}) {
        Folder folder(SvdOfRegisters(1, registers, 0x40000000, 0x10000), {}, 2);
        std::vector<Cost> ours;
        std::vector<Cost> floors;
        std::vector<FloorRow> rows;
        for (int run = 0; run < runs; ++run) {
            App app(folder);
            app.Draw();
            ours.push_back(CostOf([&] {
                app.Window()->AddPeripheralRows(QStringLiteral("P0"));
                app.Draw();
            }));
            if (rows.empty())
                rows = ShownRows(app);
            TreeFloor floor(TreeSize(app));
            floors.push_back(CostOf([&] { floor.Draw(rows); }));
        }
        std::printf("%5d registers (%6zu rows): %s\n", registers, CountRows(rows),
                    CompareText(MedianCost(ours), MedianCost(floors)).constData());
    }

    const QString sample = SamplePath();
    if (!QFileInfo::exists(sample)) {
        std::printf("skipped the vendor figures: %s is not there\n", qPrintable(sample));
        return 0;
    }
    QFile file(sample);
    file.open(QIODevice::ReadOnly);
    const QByteArray svd = file.readAll();
    const auto sizes = BySize(sample);

    {
        Folder folder(svd, {}, 2);
        App app(folder);
        app.Draw();
        QElapsedTimer timer;
        timer.start();
        app.Window()->AddPeripheralRows(QStringLiteral("CACHEDATA_S"));
        const double added = Ms(timer);
        app.Draw();
        TreeFloor floor(TreeSize(app));
        const std::vector<FloorRow> rows = ShownRows(app);
        const Cost floorCost = CostOf([&] { floor.Draw(rows); });
        std::printf("CACHEDATA_S (2048 registers) at expand level 3: added %.1f ms, drawn %.1f ms (goal < 150 ms); "
                    "floor %.1f ms\n",
                    added, Ms(timer), floorCost.wall);
    }
    {
        QStringList largest;
        for (std::size_t i = 0; i < sizes.size() && i < 20; ++i)
            largest << sizes[i].first;
        Folder folder(svd, largest, 2);
        std::vector<Cost> ours;
        std::vector<Cost> floors;
        for (int run = 0; run < runs; ++run) {
            std::unique_ptr<App> app;
            ours.push_back(CostOf([&] {
                app = std::make_unique<App>(folder);
                app->Draw();
            }));
            const std::vector<FloorRow> rows = ShownRows(*app);
            const QSize size = TreeSize(*app);
            app.reset();
            // The floor starts from nothing too: its view made, filled and drawn.
            std::unique_ptr<TreeFloor> floor;
            floors.push_back(CostOf([&] {
                floor = std::make_unique<TreeFloor>(size);
                floor->Draw(rows);
            }));
        }
        std::printf("start with the 20 largest peripherals in window 0 at expand level 3, until drawn (goal < 1000 "
                    "ms): %s\n",
                    CompareText(MedianCost(ours), MedianCost(floors)).constData());
    }
    {
        QStringList all;
        for (const auto &[name, count] : sizes)
            all << name;
        const long before = ResidentKiB();
        Folder folder(svd, all, 2);
        App app(folder);
        app.Draw();
        const long after = ResidentKiB();
        const std::vector<FloorRow> rows = ShownRows(app);
        TreeFloor floor(TreeSize(app));
        std::vector<Cost> ours;
        std::vector<Cost> floors;
        for (int run = 0; run < 5; ++run) {
            ours.push_back(CostOf([&] {
                app.Window()->RebuildGrid();
                app.Draw();
            }));
            floors.push_back(CostOf([&] { floor.Draw(rows); }));
        }
        std::printf("all %d peripherals in one window (%zu rows): %ld MiB resident (%ld MiB before the window; goal < "
                    "200 MB); rebuild and draw (goal < 300 ms): %s\n",
                    int(all.size()), CountRows(rows), after / 1024, before / 1024,
                    CompareText(MedianCost(ours), MedianCost(floors)).constData());
    }
    return 0;
}

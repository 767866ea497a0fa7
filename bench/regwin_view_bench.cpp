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
// there: the longest stall is the whole figure). Prints its figures; skips,
// saying so, without ../shared/svd-samples.
//
//   regwin_view_bench

#include "app/CorvaneApplication.h"
#include "app/MainWindow.h"
#include "app/RegisterWindowView.h"
#include "regmap/RegisterWindow.h"
#include "regmap/SvdDeviceModel.h"
#include "support/SyntheticSvd.h"
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

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir profile;
    qputenv("XDG_CONFIG_HOME", profile.path().toLocal8Bit());
    QApplication application(argc, argv);

    // Linear growth on made-up peripherals.
    std::printf("registers  add+draw ms  (made-up peripheral, expand level 3)\n");
    for (int registers : {256, 512, 1024, 2048, 4096, 8192}) {
        Folder folder(SvdOfRegisters(1, registers, 0x40000000, 0x10000), {}, 2);
        App app(folder);
        app.Draw();
        QElapsedTimer timer;
        timer.start();
        app.Window()->AddPeripheralRows(QStringLiteral("P0"));
        app.Draw();
        std::printf("%9d  %11.1f\n", registers, Ms(timer));
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
        std::printf("CACHEDATA_S (2048 registers) at expand level 3: added %.1f ms, drawn %.1f ms (goal < 150 ms)\n",
                    added, Ms(timer));
    }
    {
        QStringList largest;
        for (std::size_t i = 0; i < sizes.size() && i < 20; ++i)
            largest << sizes[i].first;
        Folder folder(svd, largest, 2);
        QElapsedTimer timer;
        timer.start();
        App app(folder);
        app.Draw();
        std::printf("start with the 20 largest peripherals in window 0 at expand level 3: drawn in %.1f ms "
                    "(goal < 1000 ms)\n",
                    Ms(timer));
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
        std::vector<double> rebuilds;
        for (int run = 0; run < 5; ++run) {
            QElapsedTimer timer;
            timer.start();
            app.Window()->RebuildGrid();
            app.Draw();
            rebuilds.push_back(Ms(timer));
        }
        std::sort(rebuilds.begin(), rebuilds.end());
        std::printf("all %d peripherals in one window: %ld MiB resident (%ld MiB before the window; goal < 200 MB), "
                    "rebuild and draw %.1f ms median (goal < 300 ms)\n",
                    int(all.size()), after / 1024, before / 1024, rebuilds[rebuilds.size() / 2]);
    }
    return 0;
}

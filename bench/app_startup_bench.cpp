// Links: corvane_app
//
// Application timings on the sample SVD files:
//  - process start to the first drawn main window, with two register windows
//    open (each run a fresh process: exec, loading, start-up, first paint);
//  - switching the chip selector with four register windows open.
// Prints its figures; the platform is offscreen unless QT_QPA_PLATFORM says
// otherwise.
//
//   app_startup_bench [runs]

#include "app/CorvaneApplication.h"
#include "app/ControlPanel.h"
#include "app/MainWindow.h"
#include "link/ChipProfile.h"
#include "regmap/SvdDeviceModel.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QString SampleSvdDir()
{
    return QFileInfo(QStringLiteral(__FILE__)).dir().absoluteFilePath(QStringLiteral("../svd"));
}

// A portable folder: the sample SVD files, and an INI whose chips VX21A and
// VX21C open `windows` register windows, each with five peripherals.
void LayOut(const QString &home, int windows)
{
    QDir(home).mkpath(QStringLiteral("svd"));
    for (const QString &model : ChipProfile::Models())
        QFile::copy(SampleSvdDir() + QStringLiteral("/%1.svd").arg(model),
                    home + QStringLiteral("/svd/%1.svd").arg(model));
    QString ini =
        QStringLiteral("[CHIP_TYPE]\nNUM=5\nCHIP_0=VX21A\nCHIP_1=VX21B\nCHIP_2=VX21C\nCHIP_3=VX21D\nCHIP_4=VX21E\n"
                       "SEL=0\n[UART_BAUND]\nNUM=1\nBAUND_0=115200\n[COMMON]\nDATA_TYPE=0\nEXPAND_TYPE=1\n"
                       "HEX_DEC=1\nJLINKDLL=/nonexistent\n");
    for (const QString &chip : {QStringLiteral("VX21A"), QStringLiteral("VX21C")}) {
        ini += QStringLiteral("[%1]\n").arg(chip);
        for (int k = 0; k < windows; ++k)
            ini += QStringLiteral("WND_%1=1\n").arg(k);
        const QStringList names = SvdDeviceModel::ReadPeripheralNames(home + QStringLiteral("/svd/%1.svd").arg(chip));
        for (int i = 0; i < names.size() && i < 5 * windows; ++i)
            ini += QStringLiteral("%1=%2\n").arg(names[i]).arg(1 << (i % windows));
    }
    QFile file(home + QStringLiteral("/Corvane.ini"));
    file.open(QIODevice::WriteOnly);
    file.write(ini.toUtf8());
}

// Paints of the main window, seen from outside.
class FirstPaint : public QObject
{
public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !painted) {
            painted = true;
            std::printf("painted\n");
            std::fflush(stdout);
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }
    bool painted = false;
};

int RunChild(const QString &home)
{
    CorvaneApplication app(AppOptions{home, true, {}});
    app.User().messageHook = [](const QString &) {};
    FirstPaint watcher;
    qApp->installEventFilter(&watcher);
    if (!app.InitInstance())
        return 1;
    QApplication::exec();
    return watcher.painted ? 0 : 1;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 3 && QByteArray(argv[1]) == "--child") {
        QApplication application(argc, argv);
        return RunChild(QString::fromLocal8Bit(argv[2]));
    }
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    QApplication application(argc, argv);

    // Start-up: a fresh process per run, two register windows.
    QTemporaryDir startupHome;
    LayOut(startupHome.path(), 2);
    std::vector<double> startup;
    for (int run = 0; run < runs; ++run) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer timer;
        timer.start();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), startupHome.path()});
        bool painted = false;
        while (!painted && child.waitForReadyRead(30000))
            painted = child.readAll().contains("painted");
        const double ms = timer.nsecsElapsed() / 1e6;
        child.waitForFinished(30000);
        if (!painted) {
            std::fprintf(stderr, "the child never drew its main window\n");
            return 1;
        }
        startup.push_back(ms);
    }

    // Chip switch: four windows open for both chips.
    QTemporaryDir switchHome;
    LayOut(switchHome.path(), 4);
    CorvaneApplication app(AppOptions{switchHome.path(), true, {}});
    app.User().messageHook = [](const QString &) {};
    if (!app.InitInstance())
        return 1;
    QApplication::processEvents();
    ControlPanel &panel = app.MainFrame()->Panel();
    std::vector<double> switches;
    for (int run = 0; run < runs; ++run) {
        for (int entry : {2, 0}) {
            QElapsedTimer timer;
            timer.start();
            panel.ChipChanged(entry);
            QApplication::processEvents(); // the rebuilt windows are drawn too
            switches.push_back(timer.nsecsElapsed() / 1e6);
        }
    }

    std::printf("platform %s, %d runs\n", qPrintable(QGuiApplication::platformName()), runs);
    std::printf("start to first drawn main window, 2 register windows: median %.1f ms, min %.1f ms, max %.1f ms\n",
                Median(startup), *std::min_element(startup.begin(), startup.end()),
                *std::max_element(startup.begin(), startup.end()));
    std::printf("chip switch with 4 register windows open (20 peripherals): median %.1f ms, min %.1f ms, max %.1f ms\n",
                Median(switches), *std::min_element(switches.begin(), switches.end()),
                *std::max_element(switches.begin(), switches.end()));
    return 0;
}

// Links: corvane_app
//
// Application timings on the sample SVD files:
//  - process start until the rows of the two open register windows are drawn
//    (each run a fresh process: exec, loading, start-up, paints), and the
//    first paint of any widget on the way; a child whose rows are not drawn
//    within a few seconds says which window and why;
//  - switching the chip selector with four register windows open.
// Prints its figures; the platform is offscreen unless QT_QPA_PLATFORM says
// otherwise.
//
//   app_startup_bench [runs]

#include "app/CorvaneApplication.h"
#include "app/ControlPanel.h"
#include "app/MainWindow.h"
#include "app/RegisterWindowView.h"
#include "widgets/PropertyGrid.h"
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
#include <QTreeView>

#include <algorithm>
#include <array>
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

// Paints seen from outside: the first of any widget, then those of the
// register windows' rows. Done when every open register window has drawn
// its tree with rows in it.
class RowsDrawn : public QObject
{
public:
    explicit RowsDrawn(const CorvaneApplication &app)
        : m_app(app)
    {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || done)
            return QObject::eventFilter(watched, event);
        if (!firstPaint) {
            firstPaint = true;
            Say("painted");
        }
        bool all = true;
        int open = 0;
        for (int k = 0; k < CorvaneApplication::kSlotCount; ++k) {
            const RegisterWindowView *window = m_app.RegisterWindow(k);
            if (!window)
                continue;
            ++open;
            QTreeView *tree = window->Grid()->Tree();
            if (watched == tree->viewport() && tree->model()->rowCount() > 0)
                m_drawn[k] = true;
            all = all && m_drawn[k];
        }
        if (open > 0 && all) {
            done = true;
            // Once this paint has gone out.
            QTimer::singleShot(0, qApp, [] {
                Say("rows drawn");
                QCoreApplication::quit();
            });
        }
        return QObject::eventFilter(watched, event);
    }

    // Why the rows were not drawn: each open window's state.
    QString Why() const
    {
        QStringList notes;
        for (int k = 0; k < CorvaneApplication::kSlotCount; ++k) {
            const RegisterWindowView *window = m_app.RegisterWindow(k);
            if (!window || m_drawn[k])
                continue;
            const QTreeView *tree = window->Grid()->Tree();
            notes << QStringLiteral("window_%1: %2 rows, viewport %3, %4x%5")
                         .arg(k)
                         .arg(tree->model()->rowCount())
                         .arg(tree->viewport()->isVisible() ? QStringLiteral("visible") : QStringLiteral("hidden"))
                         .arg(tree->viewport()->width())
                         .arg(tree->viewport()->height());
        }
        return notes.isEmpty() ? QStringLiteral("no register window open") : notes.join(QStringLiteral("; "));
    }

    static void Say(const char *what)
    {
        std::printf("%s\n", what);
        std::fflush(stdout);
    }

    bool firstPaint = false;
    bool done = false;

private:
    const CorvaneApplication &m_app;
    std::array<bool, CorvaneApplication::kSlotCount> m_drawn{};
};

constexpr int kChildPatienceMs = 6000;

int RunChild(const QString &home)
{
    CorvaneApplication app(AppOptions{home, true, {}});
    app.User().messageHook = [](const QString &) {};
    RowsDrawn watcher(app);
    qApp->installEventFilter(&watcher);
    if (!app.InitInstance())
        return 1;
    QTimer::singleShot(kChildPatienceMs, qApp, [&watcher] {
        std::printf("not drawn: %s\n", qPrintable(watcher.Why()));
        std::fflush(stdout);
        QCoreApplication::exit(1);
    });
    return QApplication::exec();
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
    std::vector<double> firstPaints;
    for (int run = 0; run < runs; ++run) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer timer;
        timer.start();
        child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--child"), startupHome.path()});
        QByteArray said;
        double painted = -1;
        while (!said.contains("rows drawn") && !said.contains("not drawn") && child.waitForReadyRead(30000)) {
            said += child.readAll();
            if (painted < 0 && said.contains("painted"))
                painted = timer.nsecsElapsed() / 1e6;
        }
        const double ms = timer.nsecsElapsed() / 1e6;
        child.waitForFinished(30000);
        said += child.readAll();
        if (!said.contains("rows drawn")) {
            const qsizetype why = said.indexOf("not drawn");
            std::fprintf(stderr, "the child never drew its register windows' rows on platform %s: %s\n",
                         qPrintable(QGuiApplication::platformName()),
                         why >= 0 ? said.mid(why).trimmed().constData() : "it ended without saying why");
            return 1;
        }
        startup.push_back(ms);
        firstPaints.push_back(painted);
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
    std::printf("start until both register windows' rows are drawn: median %.1f ms, min %.1f ms, max %.1f ms "
                "(first paint of any widget: median %.1f ms)\n",
                Median(startup), *std::min_element(startup.begin(), startup.end()),
                *std::max_element(startup.begin(), startup.end()), Median(firstPaints));
    std::printf("chip switch with 4 register windows open (20 peripherals): median %.1f ms, min %.1f ms, max %.1f ms\n",
                Median(switches), *std::min_element(switches.begin(), switches.end()),
                *std::max_element(switches.begin(), switches.end()));
    return 0;
}

// Links: corvane_app
//
// Application timings on the sample SVD files:
//  - process start until the rows of the two open register windows are drawn
//    (each run a fresh process: exec, loading, start-up, paints), and the
//    first paint of any widget on the way; a child whose rows are not drawn
//    within a few seconds says which window and why. Beside it the floor: a
//    fresh process showing the same rows in bare tree views of the same
//    sizes (TreeFloor.h), wall and processor time, runs alternating;
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
#include "TreeFloor.h"
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
#include <QTextStream>
#include <QTreeView>

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include <sys/resource.h>

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

// The rows of the open register windows, for the floor: per window a line
// "W width height", then a line per row "depth<TAB>open<TAB>name<TAB>value".
void WriteRows(QTextStream &out, const std::vector<FloorRow> &rows, int depth)
{
    for (const FloorRow &row : rows) {
        out << depth << '\t' << int(row.expanded) << '\t' << QString(row.name).replace(u'\n', u' ') << '\t'
            << QString(row.value).replace(u'\n', u' ') << '\n';
        WriteRows(out, row.children, depth + 1);
    }
}

bool PutFloorRows(const CorvaneApplication &app, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QTextStream out(&file);
    for (int k = 0; k < CorvaneApplication::kSlotCount; ++k) {
        if (const RegisterWindowView *window = app.RegisterWindow(k)) {
            const QTreeView &tree = *window->Grid()->Tree();
            out << "W " << tree.width() << ' ' << tree.height() << '\n';
            WriteRows(out, RowsShownBy(tree), 0);
        }
    }
    return true;
}

// The floor's child: every window's rows in a bare tree view, drawn.
int RunFloorChild(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 1;
    std::vector<std::pair<QSize, std::vector<FloorRow>>> windows;
    std::vector<std::vector<FloorRow> *> open; // the row list at each depth
    for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(QStringLiteral("W "))) {
            const QStringList size = line.split(u' ');
            windows.push_back({QSize(size.value(1).toInt(), size.value(2).toInt()), {}});
            open = {&windows.back().second};
            continue;
        }
        const QStringList parts = line.split(u'\t');
        const std::size_t depth = parts.value(0).toUInt();
        if (parts.size() != 4 || depth >= open.size())
            return 1;
        open.resize(depth + 1);
        open[depth]->push_back({parts[2], parts[3], parts[1] == u'1', {}});
        open.push_back(&open[depth]->back().children);
    }
    std::vector<std::unique_ptr<TreeFloor>> floors;
    for (const auto &[size, rows] : windows) {
        floors.push_back(std::make_unique<TreeFloor>(size));
        floors.back()->Draw(rows);
    }
    RowsDrawn::Say("rows drawn");
    return 0;
}

// Processor time of the children ended and waited for so far.
double ChildrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
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
    if (argc == 3 && QByteArray(argv[1]) == "--floor") {
        QApplication application(argc, argv);
        return RunFloorChild(QString::fromLocal8Bit(argv[2]));
    }
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
    QApplication application(argc, argv);

    // Start-up: a fresh process per run, two register windows.
    QTemporaryDir startupHome;
    LayOut(startupHome.path(), 2);
    // The rows the floor shows: those of the same start, taken in this process.
    const QString floorRows = startupHome.filePath(QStringLiteral("floor-rows.txt"));
    {
        CorvaneApplication app(AppOptions{startupHome.path(), true, {}});
        app.User().messageHook = [](const QString &) {};
        if (!app.InitInstance() || !PutFloorRows(app, floorRows)) {
            std::fprintf(stderr, "could not take the rows for the floor\n");
            return 1;
        }
        app.MainFrame()->close();
    }
    QApplication::processEvents();

    // One child run until it says its rows are drawn: wall and processor ms,
    // and ms to its first paint when it says so.
    struct Run
    {
        double wall = -1;
        double cpu = -1;
        double firstPaint = -1;
    };
    const auto runChild = [](const QStringList &arguments, Run &run) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const double cpuBefore = ChildrenCpuMs();
        QElapsedTimer timer;
        timer.start();
        child.start(QCoreApplication::applicationFilePath(), arguments);
        QByteArray said;
        while (!said.contains("rows drawn") && !said.contains("not drawn") && child.waitForReadyRead(30000)) {
            said += child.readAll();
            if (run.firstPaint < 0 && said.contains("painted"))
                run.firstPaint = timer.nsecsElapsed() / 1e6;
        }
        run.wall = timer.nsecsElapsed() / 1e6;
        child.waitForFinished(30000);
        run.cpu = ChildrenCpuMs() - cpuBefore;
        said += child.readAll();
        if (said.contains("rows drawn"))
            return true;
        const qsizetype why = said.indexOf("not drawn");
        std::fprintf(stderr, "the child never drew its register windows' rows on platform %s: %s\n",
                     qPrintable(QGuiApplication::platformName()),
                     why >= 0 ? said.mid(why).trimmed().constData() : "it ended without saying why");
        return false;
    };
    std::vector<double> startup;
    std::vector<double> startupCpu;
    std::vector<double> firstPaints;
    std::vector<double> floor;
    std::vector<double> floorCpu;
    for (int run = 0; run < runs; ++run) {
        Run ours;
        if (!runChild({QStringLiteral("--child"), startupHome.path()}, ours))
            return 1;
        startup.push_back(ours.wall);
        startupCpu.push_back(ours.cpu);
        firstPaints.push_back(ours.firstPaint);
        Run bare;
        if (!runChild({QStringLiteral("--floor"), floorRows}, bare))
            return 1;
        floor.push_back(bare.wall);
        floorCpu.push_back(bare.cpu);
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
    std::printf("start until both register windows' rows are drawn: median %.1f ms (CPU %.1f), min %.1f ms, max "
                "%.1f ms (first paint of any widget: median %.1f ms) | floor %.1f ms (CPU %.1f) | ratio %.2f (CPU "
                "%.2f)\n",
                Median(startup), Median(startupCpu), *std::min_element(startup.begin(), startup.end()),
                *std::max_element(startup.begin(), startup.end()), Median(firstPaints), Median(floor), Median(floorCpu),
                Median(startup) / Median(floor), Median(startupCpu) / Median(floorCpu));
    std::printf("chip switch with 4 register windows open (20 peripherals): median %.1f ms, min %.1f ms, max %.1f ms\n",
                Median(switches), *std::min_element(switches.begin(), switches.end()),
                *std::max_element(switches.begin(), switches.end()));
    return 0;
}

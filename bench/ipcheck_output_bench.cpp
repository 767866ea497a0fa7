// Links: corvane_ipcheck_ui corvane_ipcheck corvane_widgets corvane_link
//
// A child that prints 100000 lines as fast as it can, run through the IP
// check window as a user would start it: how long until the last row is in
// the output list, next to the child's own run time writing to /dev/null,
// and the longest stall of the user-interface thread meanwhile (the largest
// gap between ticks of a 5 ms timer).
#include "ipcheck/ui/IpCheckWindow.h"
#include "ipcheck/ui/LogList.h"
#include "ipcheck/IpCheckSelections.h"
#include "link/ConfigFile.h"
#include "widgets/EditableListCtrl.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QSignalBlocker>
#include <QTimer>

#include <cstdio>

namespace {

constexpr int kLines = 100000;

class BenchSelections : public IpCheckSelections
{
public:
    QString ChipModel() const override { return "VX21A"; }
    QString UartPortText() const override { return "/dev/null"; }
    QString UartSpeedText() const override { return "115200"; }
};

void Write(const QString &path, const QByteArray &content)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);
    file.write(content);
}

struct Figures
{
    double toLastRowMs = 0;
    double longestStallMs = 0;
    int rows = 0;
};

Figures RunOnce(const QString &exeDir, ConfigFile &config, BenchSelections &panel)
{
    IpCheckWindow window(config, panel, exeDir, 96);
    window.resize(500, 700);
    window.show();
    window.IpList()->SetCheckState(0, 0, EditableListCtrl::CheckState::Checked);

    const int target = kLines + 1; // the separator row, then the child's lines
    Figures figures;
    QElapsedTimer clock;
    qint64 lastTick = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        figures.longestStallMs = std::max(figures.longestStallMs, (now - lastTick) / 1e6);
        lastTick = now;
    });
    QEventLoop loop;
    QObject::connect(window.OutputList()->model(), &QAbstractItemModel::rowsInserted, [&] {
        if (window.OutputList()->RowCount() >= target && figures.toLastRowMs == 0) {
            figures.toLastRowMs = clock.nsecsElapsed() / 1e6;
            loop.quit();
        }
    });
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);

    clock.start();
    ticker.start();
    window.RequestRun(-1);
    loop.exec();
    ticker.stop();
    figures.rows = window.OutputList()->RowCount();
    QSignalBlocker keep(&window);
    return figures;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString exeDir = dir.path();
    const QString python3 = QStandardPaths::findExecutable("python3");
    QDir().mkpath(exeDir + "/python");
    QFile::link(python3, exeDir + "/python/python");
    const QByteArray script = "import sys\n"
                              "write = sys.stdout.write\n"
                              "for i in range(" +
                              QByteArray::number(kLines) +
                              "):\n"
                              "    write('[INFO] line %d of the analyzer output, register 0x%08X\\n' % (i, i))\n";
    Write(exeDir + "/ana/reg_analyzer.py", script);
    Write(exeDir + "/ana/vx21a/analyzer_db.py", "from uart import *\n");
    Write(exeDir + "/ana/vx21a/VX21a.svd",
          "<device><peripherals><peripheral><name>UART1</name></peripheral></peripherals></device>");
    ConfigFile config(exeDir + "/Corvane.ini");
    config.WriteText("COMMON", "CHECKIP_PATH", "ana");
    BenchSelections panel;

    // The child alone, its output thrown away.
    double childMs = 1e9;
    for (int i = 0; i < 3; ++i) {
        QProcess child;
        child.setWorkingDirectory(exeDir + "/ana");
        child.setStandardOutputFile(QProcess::nullDevice());
        QElapsedTimer clock;
        clock.start();
        child.start(python3, {"./reg_analyzer.py", "VX21A", "UART1", "--port=/dev/null", "--baudrate=115200"});
        child.waitForFinished(60000);
        childMs = std::min(childMs, clock.nsecsElapsed() / 1e6);
    }
    std::printf("child alone, output to /dev/null: %.1f ms (best of 3)\n", childMs);

    for (int i = 0; i < 3; ++i) {
        const Figures figures = RunOnce(exeDir, config, panel);
        std::printf("run %d: %d rows, last row in the output list after %.1f ms, longest UI stall %.1f ms\n", i + 1,
                    figures.rows, figures.toLastRowMs, figures.longestStallMs);
    }
    return 0;
}

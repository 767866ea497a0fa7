// Reading 64 KiB from QEMU's mps2-an505 (a Cortex-M33) over its gdbstub:
// corvane-cli's read to file next to gdb-multiarch's "dump binary memory",
// both as whole processes in one run, then the same read inside one process
// and the cost of each step of the link's opening and closing.
//
// Run from the build's bin folder (corvane-cli beside it). Needs
// qemu-system-arm and gdb-multiarch; runs the counter firmware when built.
//
// Links: corvane_link

#include "link/GdbRemote.h"
#include "link/LinkCycle.h"
#include "link/Settings.h"
#include "link/TargetLinks.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int kRounds = 15;
constexpr uint32_t kAddress = 0x28000000; // SSRAM2
constexpr uint32_t kLength = 0x10000;

uint16_t FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address);
    socklen_t size = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
    ::close(fd);
    return ntohs(address.sin_port);
}

struct Figures
{
    double median = 0, best = 0;
};

Figures Measure(int rounds, const std::function<bool()> &step)
{
    std::vector<double> ms;
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!step())
            return {-1, -1};
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.front()};
}

void Print(const char *what, const Figures &f)
{
    if (f.median < 0)
        std::printf("%-46s failed\n", what);
    else
        std::printf("%-46s median %8.2f ms   best %8.2f ms\n", what, f.median, f.best);
}

bool RunQuietly(const QString &program, const QStringList &args)
{
    QProcess process;
    process.start(program, args);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

class SilentUser : public MessagePresenter, public FileChooser, public BusyIndicator, public PanelSelections
{
public:
    void ShowMessage(MessageKind, const QString &text, const QString &) override
    {
        std::fprintf(stderr, "%s", text.toUtf8().constData());
    }
    QString ChooseFile(const FileRequest &) override { return {}; }
    void SetBusy(bool) override {}
    QString ChipModel() const override { return QStringLiteral("AN505"); }
    int DataSourceEntry() const override { return 3; }
    QString ProbeText() const override { return {}; }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString bin = QCoreApplication::applicationDirPath();
    const QString qemu = QStandardPaths::findExecutable("qemu-system-arm");
    const QString gdb = QStandardPaths::findExecutable("gdb-multiarch");
    if (qemu.isEmpty() || gdb.isEmpty() || !QFile::exists(bin + "/corvane-cli")) {
        std::printf("needs qemu-system-arm, gdb-multiarch and corvane-cli beside this program\n");
        return 1;
    }
    const QString server = QString("127.0.0.1:%1").arg(FreePort());
    QStringList args{"-M", "mps2-an505", "-nographic", "-monitor", "none", "-serial", "none", "-gdb", "tcp:" + server};
    const QString firmware = bin + "/an505-counter.elf";
    if (QFile::exists(firmware))
        args << "-kernel" << firmware;
    else
        args << "-S";
    QProcess board;
    board.start(qemu, args);
    if (!board.waitForStarted())
        return 1;
    QThread::msleep(1000);

    QTemporaryDir home;
    {
        QFile ini(home.filePath("Corvane.ini"));
        ini.open(QIODevice::WriteOnly);
        ini.write(QString("[CHIP_TYPE]\nNUM=1\nCHIP_0=AN505\nSEL=0\n[COMMON]\nDATA_TYPE=3\nGDB_SERVER=%1\n")
                      .arg(server)
                      .toUtf8());
    }
    const QString cliOut = home.filePath("cli.bin");
    const QString gdbOut = home.filePath("gdb.bin");
    const QString range = QString("0x%1 0x%2").arg(kAddress, 0, 16).arg(kAddress + kLength, 0, 16);
    const QString addressText = QString::number(kAddress, 16);
    const QString lengthText = QString::number(kLength, 16);

    std::printf("64 KiB from QEMU mps2-an505 at 0x%08x, %d rounds each%s\n\n", kAddress, kRounds,
                QFile::exists(firmware) ? " (counter firmware running)" : "");
    std::printf("Whole processes, one connection each:\n");
    Print("corvane-cli read-file", Measure(kRounds, [&] {
              return RunQuietly(bin + "/corvane-cli",
                                {"--home", home.path(), "read-file", addressText, lengthText, cliOut});
          }));
    Print("gdb-multiarch -batch dump binary memory", Measure(kRounds, [&] {
              return RunQuietly(gdb, {"-batch", "-nx", "-ex", "target remote " + server, "-ex",
                                      "dump binary memory " + gdbOut + " " + range});
          }));
    QFile a(cliOut), b(gdbOut);
    a.open(QIODevice::ReadOnly);
    b.open(QIODevice::ReadOnly);
    const QByteArray fromCli = a.readAll(), fromGdb = b.readAll();
    std::printf("(the two files %s)\n",
                fromCli.size() == qsizetype(kLength) && fromCli == fromGdb ? "are the same 64 KiB" : "DIFFER");

    // Inside one process: the link cycle, and its steps one by one.
    SilentUser user;
    UserContext context{user, user, user, user};
    ConfigFile config(home.filePath("Corvane.ini"));
    TargetLinks links([] { return QStringLiteral("AN505"); });
    std::printf("\nInside one process:\n");
    Print("link cycle: open, 64 KiB in 4 KiB reads, close", Measure(kRounds, [&] {
              LinkCycle cycle(config, links, context);
              if (!cycle.Preface() || !cycle.Open())
                  return false;
              for (uint32_t done = 0; done < kLength; done += 4096)
                  if (!cycle.Read(kAddress + done, 4096))
                      return false;
              cycle.Close();
              return true;
          }));
    GdbRemote remote;
    std::vector<double> connect, features, stop, read, detach;
    for (int i = 0; i < kRounds; ++i) {
        QElapsedTimer t;
        auto lap = [&](std::vector<double> &into) {
            into.push_back(double(t.nsecsElapsed()) / 1e6);
            t.restart();
        };
        auto fail = [&](const char *step) {
            std::printf("step failed: %s\n", step);
            return 1;
        };
        t.start();
        if (!remote.Connect(server))
            return fail("connect");
        lap(connect);
        if (!remote.ExchangeFeatures())
            return fail("feature exchange");
        lap(features);
        if (!remote.StopTarget())
            return fail("stop");
        lap(stop);
        if (!remote.ReadMemory(kAddress, 4096, links.buffer.data()))
            return fail("read");
        lap(read);
        if (!remote.Detach())
            return fail("detach");
        lap(detach);
    }
    auto median = [](std::vector<double> v) {
        std::sort(v.begin(), v.end());
        return v[v.size() / 2];
    };
    std::printf("\nPer step (median of %d), packet size %d:\n", kRounds, remote.PacketSize());
    std::printf("  connect (TCP)                %8.3f ms\n", median(connect));
    std::printf("  feature exchange (+no-ack)   %8.3f ms\n", median(features));
    std::printf("  stop (? / interrupt)         %8.3f ms\n", median(stop));
    std::printf("  read 4 KiB                   %8.3f ms\n", median(read));
    std::printf("  detach and close             %8.3f ms\n", median(detach));

    board.kill();
    board.waitForFinished();
    return 0;
}

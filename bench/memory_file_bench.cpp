// Read to file and write from file of 8 MiB over the simulated chip on a
// pseudo-terminal, next to a raw copy of the same bytes through a
// pseudo-terminal pair. Prints MB/s.
//
// Links: corvane_ops corvane_simchip

#include "BenchSupport.h"
#include "link/Settings.h"
#include "ops/MemoryOps.h"
#include "tools/simchip/SimulatedChip.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <thread>
#include <vector>

namespace {

constexpr int kBytes = 8 * 1024 * 1024;

struct NoDump : DumpView
{
    void SetDumpText(const QString &) override {}
};

double MegabytesPerSecond(qint64 bytes, qint64 nanoseconds)
{
    return double(bytes) / 1e6 / (double(nanoseconds) / 1e9);
}

// The machine's limit: the same bytes through a pseudo-terminal pair in raw mode.
double RawPtyRate()
{
    int master = -1;
    int slave = -1;
    if (openpty(&master, &slave, nullptr, nullptr, nullptr) != 0)
        return 0;
    termios tio{};
    tcgetattr(slave, &tio);
    cfmakeraw(&tio);
    tcsetattr(slave, TCSANOW, &tio);
    std::vector<char> data(kBytes, 0x5A);
    QElapsedTimer timer;
    timer.start();
    std::thread writer([&] {
        for (qint64 done = 0; done < kBytes;) {
            const ssize_t n = write(master, data.data() + done, std::min<qint64>(kBytes - done, 65536));
            if (n <= 0)
                break;
            done += n;
        }
    });
    std::vector<char> into(65536);
    for (qint64 got = 0; got < kBytes;) {
        const ssize_t n = read(slave, into.data(), into.size());
        if (n <= 0)
            break;
        got += n;
    }
    writer.join();
    const double rate = MegabytesPerSecond(kBytes, timer.nsecsElapsed());
    close(master);
    close(slave);
    return rate;
}

} // namespace

int main()
{
    QTemporaryDir home;
    SimulatedChip chip("VX21A");
    if (!chip.Start())
        return 1;
    chip.SetRecording(false);
    ConfigFile config(home.filePath("Corvane.ini"));
    config.WriteInt(ConfigKey::kCommon, ConfigKey::kDataType, 2);
    config.WriteText(ConfigKey::kCommon, ConfigKey::kUartPort, chip.PortPath());
    QuietUser user(QStringLiteral("VX21A"), 2);
    UserContext context = user.Context();
    TargetLinks links([&] { return user.ChipModel(); });
    OperationEnv env{config, links, context, {}};

    QFile source(home.filePath("in.bin"));
    source.open(QIODevice::WriteOnly);
    source.write(QByteArray(kBytes, 0x3C));
    source.close();

    std::printf("raw pty copy of 8 MiB: %.1f MB/s\n", RawPtyRate());
    for (int speedIndex : {1, 6}) {
        config.WriteInt(ConfigKey::kCommon, ConfigKey::kUartBaund, speedIndex);
        NoDump dump;
        QElapsedTimer timer;

        user.chosenFile = source.fileName();
        timer.start();
        MemoryOps::WriteFromFile(env, 0x20000000);
        const double writeRate = MegabytesPerSecond(kBytes, timer.nsecsElapsed());

        user.chosenFile = home.filePath("out.bin");
        timer.start();
        MemoryOps::ReadToFile(env, 0x20000000, 0x800000, dump);
        const double readRate = MegabytesPerSecond(kBytes, timer.nsecsElapsed());

        std::printf("speed index %d: read-file %.1f MB/s, write-file %.1f MB/s\n", speedIndex, readRate, writeRate);
    }
    return 0;
}

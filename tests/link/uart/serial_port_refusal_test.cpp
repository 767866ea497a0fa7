// Why a port did not open: the path and the system's reason, kept for the
// command-line tool to print after the link's message.

#include "link/SerialPort.h"
#include "SimulatedChip.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString OpenFailure(const QString &path)
{
    return SerialPort::Open(path, 115200).OpenFailure();
}

// TIOCEXCL and file modes do not stop root: the check then runs in a child
// that has given up root for nobody's ids.
bool HoldsWithoutRoot(const std::function<bool()> &check)
{
    if (geteuid() != 0)
        return check();
    const pid_t child = fork();
    if (child == 0) {
        const bool dropped = setgid(65534) == 0 && setuid(65534) == 0;
        _exit(dropped && check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(SerialPortRefusal, NamesThePathAndTheReason)
{
    QTemporaryDir dir;
    QFile plain(dir.filePath("plain.bin"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString missing = dir.filePath("missing");

    EXPECT_EQ(OpenFailure(plain.fileName()), plain.fileName() + ": not a terminal");
    EXPECT_EQ(OpenFailure(missing), missing + ": No such file or directory");
    EXPECT_EQ(OpenFailure("/dev/null"), "/dev/null: not a terminal");
    // A bare name is reported by the path it was taken as.
    EXPECT_EQ(OpenFailure("corvane-no-such-port"), "/dev/corvane-no-such-port: No such file or directory");
    // Nothing to tell: no name, or a port that opened.
    EXPECT_EQ(OpenFailure(""), "");
    SimulatedChip chip("VX21A");
    ASSERT_TRUE(chip.Start());
    SerialPort held = SerialPort::Open(chip.PortPath(), 115200);
    ASSERT_TRUE(held.IsOpen());
    EXPECT_EQ(held.OpenFailure(), "");

    // Held by another opener of ours (lock and exclusive mark).
    EXPECT_EQ(OpenFailure(chip.PortPath()), chip.PortPath() + ": Device or resource busy");
    // A moved port keeps the reason.
    SerialPort refused = SerialPort::Open(missing, 115200);
    SerialPort moved = std::move(refused);
    EXPECT_EQ(moved.OpenFailure(), missing + ": No such file or directory");
}

TEST(SerialPortRefusal, ExclusiveTerminalAndForbiddenFile)
{
    SimulatedChip chip("VX21A");
    ASSERT_TRUE(chip.Start());
    const QByteArray port = chip.PortPath().toLocal8Bit();
    // Another program holds the terminal with TIOCEXCL only, as a terminal
    // program does; everyone may open it otherwise.
    ASSERT_EQ(chmod(port.constData(), 0666), 0);
    const int holder = ::open(port.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(ioctl(holder, TIOCEXCL), 0);

    QTemporaryDir dir;
    QFile forbidden(dir.filePath("forbidden"));
    ASSERT_TRUE(forbidden.open(QIODevice::WriteOnly));
    forbidden.close();
    ASSERT_EQ(chmod(dir.path().toLocal8Bit().constData(), 0755), 0);
    ASSERT_EQ(chmod(forbidden.fileName().toLocal8Bit().constData(), 0), 0);

    EXPECT_TRUE(HoldsWithoutRoot([&] {
        return OpenFailure(chip.PortPath()) == chip.PortPath() + ": Device or resource busy" &&
               OpenFailure(forbidden.fileName()) == forbidden.fileName() + ": Permission denied";
    }));
    ::close(holder);
}

} // namespace

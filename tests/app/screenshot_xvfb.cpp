// Screenshot smoke test: the real corvane on the demo board, drawn on a
// virtual X display. The main window, the pane and a register window must
// put non-blank pixels at their places. Skipped when Xvfb is not installed
// (scripts/install-deps.sh gui installs it).

#include "SimulatedChip.h"

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

pid_t g_xvfb = -1;
QString g_display;

// Starts Xvfb on a free display; it names the display on the pipe.
bool StartXvfb(const QString &program)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return false;
    g_xvfb = ::fork();
    if (g_xvfb == 0) {
        ::close(fds[0]);
        const QByteArray fd = QByteArray::number(fds[1]);
        const QByteArray path = program.toLocal8Bit();
        ::execl(path.constData(), "Xvfb", "-displayfd", fd.constData(), "-screen", "0", "1280x800x24", "-nolisten",
                "tcp", static_cast<char *>(nullptr));
        ::_exit(127);
    }
    ::close(fds[1]);
    // Xvfb writes the number and a line feed once it accepts clients.
    QByteArray number;
    char c = 0;
    while (g_xvfb > 0) {
        const ssize_t got = ::read(fds[0], &c, 1);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0 || c == '\n')
            break;
        number += c;
    }
    ::close(fds[0]);
    if (number.isEmpty())
        return false;
    g_display = QStringLiteral(":") + QString::fromLatin1(number);
    return true;
}

void StopXvfb()
{
    if (g_xvfb > 0) {
        ::kill(g_xvfb, SIGTERM);
        ::waitpid(g_xvfb, nullptr, 0);
    }
}

int DistinctColours(const QImage &image, const QRect &region)
{
    QSet<QRgb> colours;
    const QRect area = region.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); y += 2)
        for (int x = area.left(); x <= area.right(); x += 2)
            colours.insert(image.pixel(x, y));
    return int(colours.size());
}

QString DemoIni(const QString &port)
{
    QFile demo(QStringLiteral(CORVANE_SOURCE_DIR "/tools/demo/Corvane.ini"));
    if (!demo.open(QIODevice::ReadOnly))
        return QString();
    QString ini = QString::fromUtf8(demo.readAll());
    ini.replace(QStringLiteral("UART_PORT=\n"), QStringLiteral("UART_PORT=%1\n").arg(port));
    ini += QStringLiteral("\n[VX21A]\nWND_0=1\nRCC=1\nGPIOA=1\nUSART1=1\n");
    return ini;
}

} // namespace

TEST(ScreenshotTest, MainWindowPaneAndRegisterWindowAreDrawn)
{
    if (g_display.isEmpty())
        GTEST_SKIP() << "Xvfb is not installed";

    SimulatedChip chip("VX21A");
    ASSERT_TRUE(chip.Start());
    for (uint32_t offset = 0; offset < 0x10000; offset += 4)
        chip.PokeWord(0x40000000u + offset, 0x0A400000u | offset);

    QTemporaryDir home;
    QTemporaryDir profile;
    QString binDir = qEnvironmentVariable("CORVANE_BIN_DIR");
    if (binDir.isEmpty())
        binDir = QStringLiteral(CORVANE_APP_BIN_DIR);
    ASSERT_TRUE(QFile::copy(QDir(binDir).filePath("corvane"), home.filePath("corvane")));
    QFile::setPermissions(home.filePath("corvane"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // The demo folder carries the stand-in probe library beside the program.
    ASSERT_TRUE(QFile::copy(QDir(binDir).filePath("libjlinkarm.so"), home.filePath("libjlinkarm.so")));
    QDir(home.path()).mkpath("svd");
    ASSERT_TRUE(QFile::copy(QStringLiteral(CORVANE_SOURCE_DIR "/svd/VX21A.svd"), home.filePath("svd/VX21A.svd")));
    QFile ini(home.filePath("Corvane.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(DemoIni(chip.PortPath()).toUtf8());
    ini.close();

    QProcess corvane;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", g_display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("XDG_CONFIG_HOME", profile.path());
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    corvane.setProcessEnvironment(env);
    corvane.setProcessChannelMode(QProcess::ForwardedChannels);
    corvane.start(home.filePath("corvane"), {});
    ASSERT_TRUE(corvane.waitForStarted());

    // The main window takes 1024 x 640 at the top left; the pane sits at its
    // left (its peripheral list below the middle, clear of where a message
    // box would stand), the register window to its right: its caption,
    // header and first rows at the top, its description area at the bottom.
    const QRect pane(10, 420, 340, 180);
    const QRect window(400, 0, 600, 90);
    const QRect description(400, 545, 600, 80);
    QImage shot;
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 60000) {
        QTest::qWait(500);
        shot = QApplication::primaryScreen()->grabWindow(0).toImage();
        if (DistinctColours(shot, pane) >= 4 && DistinctColours(shot, window) >= 4 &&
            DistinctColours(shot, description) >= 4)
            break;
    }
    shot.save(QDir(binDir).filePath("corvane-screenshot.png"));
    EXPECT_GE(DistinctColours(shot, pane), 4) << "pane region is blank";
    EXPECT_GE(DistinctColours(shot, window), 4) << "register window region is blank";
    EXPECT_GE(DistinctColours(shot, description), 4) << "register window description is blank";
    EXPECT_GE(DistinctColours(shot, QRect(0, 0, 1000, 600)), 8) << "main window is blank";
    EXPECT_EQ(corvane.state(), QProcess::Running);
    corvane.terminate();
    if (!corvane.waitForFinished(10000))
        corvane.kill();
}

int main(int argc, char **argv)
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    const bool started = !xvfb.isEmpty() && StartXvfb(xvfb);
    if (started) {
        qputenv("DISPLAY", g_display.toLocal8Bit());
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else {
        g_display.clear();
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int result = 0;
    {
        QApplication application(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    StopXvfb();
    return result;
}

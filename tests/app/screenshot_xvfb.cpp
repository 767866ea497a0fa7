// Screenshot smoke test: the real corvane on the demo board, drawn on a
// virtual X display. The main window, the pane and a register window must
// put non-blank pixels at their places. Skipped when Xvfb is not installed
// (scripts/install-deps.sh gui installs it). A second scenario drives the
// program with the mouse through xdotool.

#include "SimulatedChip.h"
#include "support/FakeGdbServer.h"
#include "support/BuildPaths.h"
#include "support/QemuBoard.h"
#include "support/SourceLanguage.h"

#include <QApplication>
#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QSettings>
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

// Registers the demo shows: every word of the peripheral space non-zero.
void FillPeripherals(SimulatedChip &chip)
{
    for (uint32_t offset = 0; offset < 0x10000; offset += 4)
        chip.PokeWord(0x40000000u + offset, 0x0A400000u | offset);
}

// The portable folder: the program, the stand-in probe library beside it and
// the chip's SVD file.
void LayOutDemoFolder(const QTemporaryDir &home)
{
    const QString binDir = BinDir();
    ASSERT_TRUE(QFile::copy(QDir(binDir).filePath("corvane"), home.filePath("corvane")));
    QFile::setPermissions(home.filePath("corvane"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    ASSERT_TRUE(QFile::copy(QDir(binDir).filePath("libjlinkarm.so"), home.filePath("libjlinkarm.so")));
    QDir(home.path()).mkpath("svd");
    ASSERT_TRUE(QFile::copy(QStringLiteral(CORVANE_SOURCE_DIR "/svd/VX21A.svd"), home.filePath("svd/VX21A.svd")));
}

// The program on the virtual display, with a profile of its own, in the
// source texts or under the locale `lang` (LANG, as a user's shell sets it).
QProcessEnvironment OnTheDisplay(const QString &profile, const QString &lang = QString())
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    InSourceLanguage(env);
    if (!lang.isEmpty())
        env.insert("LANG", lang);
    env.insert("DISPLAY", g_display);
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("XDG_CONFIG_HOME", profile);
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    return env;
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
    FillPeripherals(chip);

    QTemporaryDir home;
    QTemporaryDir profile;
    ASSERT_NO_FATAL_FAILURE(LayOutDemoFolder(home));
    QFile ini(home.filePath("Corvane.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(DemoIni(chip.PortPath()).toUtf8());
    ini.close();

    QProcess corvane;
    corvane.setProcessEnvironment(OnTheDisplay(profile.path()));
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
    shot.save(QDir(BinDir()).filePath("corvane-screenshot.png"));
    EXPECT_GE(DistinctColours(shot, pane), 4) << "pane region is blank";
    EXPECT_GE(DistinctColours(shot, window), 4) << "register window region is blank";
    EXPECT_GE(DistinctColours(shot, description), 4) << "register window description is blank";
    EXPECT_GE(DistinctColours(shot, QRect(0, 0, 1000, 600)), 8) << "main window is blank";
    EXPECT_EQ(corvane.state(), QProcess::Running);
    corvane.terminate();
    if (!corvane.waitForFinished(10000))
        corvane.kill();
}

namespace {

// Runs xdotool with its arguments on the test's display; its output.
QString XDoTool(const QStringList &arguments)
{
    QProcess tool;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("DISPLAY", g_display);
    tool.setProcessEnvironment(env);
    tool.start(QStringLiteral("xdotool"), arguments);
    tool.waitForFinished(20000);
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

QImage Screen()
{
    return QApplication::primaryScreen()->grabWindow(0).toImage();
}

// The rows of a column of the screen drawn in the default look's blue
// selection (a gradient around RGB(51, 153, 255)): the selected row.
QPair<int, int> SelectedBand(const QImage &shot, int x, int top, int bottom)
{
    auto selected = [](QRgb pixel) { return qBlue(pixel) > 220 && qRed(pixel) < 110 && qGreen(pixel) > 120; };
    int first = -1;
    int last = -1;
    for (int y = top; y < bottom && y < shot.height(); ++y) {
        if (selected(shot.pixel(x, y))) {
            if (first < 0)
                first = y;
            last = y;
        } else if (first >= 0) {
            break;
        }
    }
    return {first, last};
}

bool Differ(const QImage &a, const QImage &b, const QRect &region)
{
    return a.copy(region) != b.copy(region);
}

// Pixels of the region in the amber behind a value that changed, within a
// band wide enough for any smoothing of the window's edges and text.
int HighlightedPixels(const QImage &image, const QRect &region)
{
    int highlighted = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            highlighted += qRed(pixel) > 240 && qGreen(pixel) > 180 && qGreen(pixel) < 215 && qBlue(pixel) < 40;
        }
    return highlighted;
}

// What a scenario driven by the mouse lacks on this machine, or empty.
QString MissingForTheMouse()
{
    if (g_display.isEmpty())
        return QStringLiteral("Xvfb is not installed (scripts/install-deps.sh gui)");
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
        return QStringLiteral("xdotool is not installed (scripts/install-deps.sh gui)");
    return QString();
}

// Lays out the demo folder with `ini` as its Corvane.ini, starts the program
// on the display and waits for its first paint; `mainWindow` gets the id of
// its main window.
void StartCorvane(QProcess &corvane, const QTemporaryDir &home, const QTemporaryDir &profile, const QString &ini,
                  QString &mainWindow, const QString &lang = QString())
{
    ASSERT_NO_FATAL_FAILURE(LayOutDemoFolder(home));
    QFile file(home.filePath("Corvane.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(ini.toUtf8());
    file.close();

    corvane.setProcessEnvironment(OnTheDisplay(profile.path(), lang));
    corvane.setProcessChannelMode(QProcess::ForwardedChannels);
    corvane.start(home.filePath("corvane"), {});
    ASSERT_TRUE(corvane.waitForStarted());
    mainWindow = XDoTool({"search", "--sync", "--onlyvisible", "--name", "Corvane v2.3"}).section('\n', 0, 0);
    ASSERT_FALSE(mainWindow.isEmpty());
    QTest::qWait(3000); // first paint
}

} // namespace

// The demo as a person uses it with the mouse: right-click the first
// peripheral of register window 0, choose "寄存器读取", and see the values
// of its registers change in their rows; then change the look from the
// pane's title menu.
TEST(DemoWithMouseTest, ReadAPeripheralFromItsRowMenuAndChangeTheLook)
{
    if (const QString missing = MissingForTheMouse(); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();

    SimulatedChip chip("VX21A");
    ASSERT_TRUE(chip.Start());
    FillPeripherals(chip);

    QTemporaryDir home;
    QTemporaryDir profile;
    // Window 0 alone with RCC, expanded to its registers.
    QString ini = DemoIni(chip.PortPath()).replace("EXPAND_TYPE=0", "EXPAND_TYPE=1");
    ini.replace("\nGPIOA=1\nUSART1=1\n", "\n");
    QProcess corvane;
    QString mainWindow;
    ASSERT_NO_FATAL_FAILURE(StartCorvane(corvane, home, profile, ini, mainWindow));

    // Register window 0 stands right of the pane (370 pixels); a click into
    // its names (a click on a value edits it) and Home select the first row:
    // the peripheral. The selected row is then found by its colour.
    const int x = 450;
    XDoTool({"windowfocus", "--sync", mainWindow}); // no window manager gives it
    XDoTool({"mousemove", "--sync", QString::number(x), "100", "click", "1"});
    XDoTool({"key", "Home"});
    QTest::qWait(800);
    const QImage before = Screen();
    before.save(QDir(BinDir()).filePath("corvane-demo-before-read.png"));
    // The active window's title bar comes first in the same blue.
    const int titleBottom = SelectedBand(before, x, 0, 640).second;
    const auto [top, bottom] = SelectedBand(before, x, titleBottom + 1, 640);
    ASSERT_GE(top, 0) << "no selected row found";
    ASSERT_GT(bottom - top, 8);
    const int rowY = (top + bottom) / 2;
    // The rows below the peripheral hold the register captions.
    const QRect registers(380, bottom + 2, 600, 100);

    XDoTool({"mousemove", "--sync", QString::number(x), QString::number(rowY), "click", "3"});
    QTest::qWait(1000);
    Screen().save(QDir(BinDir()).filePath("corvane-demo-row-menu.png"));
    // Import, save, read, write, copy address: from the bottom, the third
    // entry reads.
    XDoTool({"key", "Up", "Up", "Up", "Return"});
    QElapsedTimer timer;
    timer.start();
    while (!QFileInfo::exists(home.filePath("data/VX21A/RCC.bin")) && timer.elapsed() < 20000)
        QTest::qWait(200);
    QTest::qWait(1000);
    const QImage after = Screen();
    after.save(QDir(BinDir()).filePath("corvane-demo-after-read.png"));
    QFile snapshot(home.filePath("data/VX21A/RCC.bin"));
    ASSERT_TRUE(snapshot.open(QIODevice::ReadOnly)) << "the read did not happen";
    const QByteArray bytes = snapshot.read(4);
    ASSERT_EQ(bytes.size(), 4);
    EXPECT_EQ(uint8_t(bytes[3]), 0x0Au);
    EXPECT_TRUE(Differ(before, after, registers)) << "the register rows look the same after the read";
    EXPECT_TRUE(XDoTool({"search", "--onlyvisible", "--name", "^Corvane$"}).isEmpty()) << "a message box is open";

    // The pane's title bar menu ends with the looks, "关于Corvane..." and
    // "update"; the looks' first entry is "Windows 2000(&2)".
    XDoTool({"mousemove", "--sync", "150", "10", "click", "3"});
    QTest::qWait(1000);
    Screen().save(QDir(BinDir()).filePath("corvane-demo-frame-menu.png"));
    XDoTool({"key", "Up", "Up", "Up", "Right", "Return"});
    QTest::qWait(1500);
    const QImage restyled = Screen();
    restyled.save(QDir(BinDir()).filePath("corvane-demo-look-205.png"));
    QSettings look(QDir(profile.path()).filePath(QStringLiteral("应用程序向导生成的本地应用程序/Corvane.conf")),
                   QSettings::IniFormat);
    EXPECT_EQ(look.value("Workspace/ApplicationLook").toInt(), 205);
    EXPECT_TRUE(Differ(after, restyled, QRect(0, 0, 1000, 600)));

    EXPECT_EQ(corvane.state(), QProcess::Running);
    corvane.terminate();
    if (!corvane.waitForFinished(10000))
        corvane.kill();
}

// The watch in the real program: the register window of TIM2, whose
// counter runs on the demo chip, is still until the watch is switched on
// from the keyboard (Ctrl+F reaches the tool row's find box, two steps back
// is the watch box, Space ticks it); then the counter's row changes on its
// own and is drawn highlighted.
TEST(DemoWithMouseTest, WatchTheTimerAndSeeItsCounterChange)
{
    if (const QString missing = MissingForTheMouse(); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();

    SimulatedChip chip("VX21A");
    ASSERT_TRUE(chip.Start());
    FillPeripherals(chip);
    chip.AddFreeRunningCounter(0x4000A024); // TIM2.CNT

    QTemporaryDir home;
    QTemporaryDir profile;
    QString ini = DemoIni(chip.PortPath()).replace("EXPAND_TYPE=0", "EXPAND_TYPE=1");
    ini.replace("\nRCC=1\nGPIOA=1\nUSART1=1\n", "\nTIM2=1\n");
    QProcess corvane;
    QString mainWindow;
    ASSERT_NO_FATAL_FAILURE(StartCorvane(corvane, home, profile, ini, mainWindow));

    XDoTool({"windowfocus", "--sync", mainWindow});
    XDoTool({"mousemove", "--sync", "560", "300", "click", "1"}); // into the rows
    QTest::qWait(800);
    const QRect rows(380, 90, 600, 400);
    const QImage still = Screen();
    QTest::qWait(1000);
    EXPECT_FALSE(Differ(still, Screen(), rows)) << "the rows change before the watch is on";

    XDoTool({"key", "ctrl+f"});
    QTest::qWait(300);
    XDoTool({"key", "shift+Tab", "shift+Tab", "space"});
    QTest::qWait(1500);
    const QImage first = Screen();
    QTest::qWait(1000);
    const QImage second = Screen();
    second.save(QDir(BinDir()).filePath("corvane-demo-watch.png"));
    EXPECT_TRUE(Differ(first, second, rows)) << "the counter's row did not change while watched";
    // The changed row's highlight: amber behind the counter.
    const int highlighted = HighlightedPixels(second, rows);
    EXPECT_GT(highlighted, 500) << "no highlighted row";
    EXPECT_TRUE(XDoTool({"search", "--onlyvisible", "--name", "^Corvane$"}).isEmpty()) << "a message box is open";

    EXPECT_EQ(corvane.state(), QProcess::Running);
    corvane.terminate();
    if (!corvane.waitForFinished(10000))
        corvane.kill();
}

namespace {

// The four windows of the test below in one language.
void TypeIntoFourWindows(const QString &lang, const QString &suffix)
{
    SimulatedChip chip("VX21A");
    ASSERT_TRUE(chip.Start());
    FillPeripherals(chip);

    QTemporaryDir home;
    QTemporaryDir profile;
    QString ini = DemoIni(chip.PortPath()).replace("EXPAND_TYPE=0", "EXPAND_TYPE=1");
    ini.replace("\nWND_0=1\nRCC=1\nGPIOA=1\nUSART1=1\n",
                "\nWND_0=1\nWND_1=1\nWND_2=1\nWND_3=1\nRCC=1\nGPIOA=2\nUSART1=4\nTIM2=8\n");
    QProcess corvane;
    QString mainWindow;
    ASSERT_NO_FATAL_FAILURE(StartCorvane(corvane, home, profile, ini, mainWindow, lang));
    XDoTool({"windowfocus", "--sync", mainWindow});
    // Window 0 is the first of four beside the pane: a click below its rows
    // gives them the keys; RCC's row comes first, then CR and CFGR.
    XDoTool({"mousemove", "--sync", "450", "400", "click", "1"});
    XDoTool({"key", "Home", "Down", "Down", "F2"});
    QTest::qWait(500);
    XDoTool({"key", "ctrl+a"});
    XDoTool({"type", "0E000105"});
    XDoTool({"key", "Return"});
    QElapsedTimer timer;
    timer.start();
    while (chip.PeekWord(0x40000004) != 0x0E000105u && timer.elapsed() < 20000)
        QTest::qWait(200);
    EXPECT_EQ(chip.PeekWord(0x40000004), 0x0E000105u) << "RCC.CFGR";
    QTest::qWait(1000);
    Screen().save(QDir(BinDir()).filePath(QStringLiteral("corvane-demo-four-windows%1.png").arg(suffix)));
    EXPECT_TRUE(XDoTool({"search", "--onlyvisible", "--name", "^Corvane$"}).isEmpty()) << "a message box is open";
    // The same in other looks, from the pane title's menu, for the eye.
    for (int look = 0; look < 3; ++look) {
        XDoTool({"mousemove", "--sync", "150", "10", "click", "3"});
        QTest::qWait(800);
        QStringList keys{"key", "Up", "Up", "Up", "Right"};
        for (int down = 0; down < 3 * look; ++down)
            keys << "Down";
        XDoTool(keys << "Return");
        QTest::qWait(1200);
        Screen().save(
            QDir(BinDir()).filePath(QStringLiteral("corvane-demo-four-windows-%1%2.png").arg(look).arg(suffix)));
    }

    EXPECT_EQ(corvane.state(), QProcess::Running);
    corvane.terminate();
    if (!corvane.waitForFinished(10000))
        corvane.kill();
}

} // namespace

// In HEX, a value typed over a register goes to the chip as the hexadecimal
// word it reads as (at once: the demo writes immediately). Four register
// windows share the default frame; each draws its values whole, in every
// look, in the source texts and under an English and a Chinese locale (the
// pictures' names end in -en and -zh for those).
TEST(DemoWithKeysTest, AHexValueTypedInFourWindowsReachesTheChip)
{
    if (const QString missing = MissingForTheMouse(); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    for (const auto &[lang, suffix] :
         {std::pair<QString, QString>{QString(), QString()}, {"en_US.UTF-8", "-en"}, {"zh_CN.UTF-8", "-zh"}}) {
        SCOPED_TRACE(lang.toStdString());
        TypeIntoFourWindows(lang, suffix);
    }
}

// A field typed into a register never read (its values "—") changes that
// field alone on the chip: the write reads the register first and keeps the
// other fields as the chip holds them; the rows then show the word.
TEST(DemoWithKeysTest, AFieldTypedIntoANeverReadRegisterKeepsTheOtherFields)
{
    if (const QString missing = MissingForTheMouse(); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();

    SimulatedChip chip("VX21A");
    ASSERT_TRUE(chip.Start());
    FillPeripherals(chip);
    const uint32_t moder = 0x40003000; // GPIOA.MODER
    const uint32_t before = chip.PeekWord(moder);
    ASSERT_NE(before & ~3u, 0u);

    QTemporaryDir home;
    QTemporaryDir profile;
    QString ini = DemoIni(chip.PortPath()).replace("EXPAND_TYPE=0", "EXPAND_TYPE=2");
    ini.replace("\nRCC=1\nGPIOA=1\nUSART1=1\n", "\nGPIOA=1\n");
    QProcess corvane;
    QString mainWindow;
    ASSERT_NO_FATAL_FAILURE(StartCorvane(corvane, home, profile, ini, mainWindow));
    XDoTool({"windowfocus", "--sync", mainWindow});
    // A click into the names gives the rows the keys; GPIOA comes first,
    // then MODER, its value row and MODE0.
    XDoTool({"mousemove", "--sync", "450", "300", "click", "1"});
    XDoTool({"key", "Home", "Down", "Down", "Down", "F2"});
    QTest::qWait(500);
    XDoTool({"key", "ctrl+a"});
    XDoTool({"type", "1"});
    XDoTool({"key", "Return"});
    const uint32_t expected = (before & ~3u) | 1u;
    QElapsedTimer timer;
    timer.start();
    while (chip.PeekWord(moder) != expected && timer.elapsed() < 20000)
        QTest::qWait(200);
    QTest::qWait(800);
    Screen().save(QDir(BinDir()).filePath("corvane-demo-field-edit.png"));
    EXPECT_EQ(chip.PeekWord(moder), expected) << "GPIOA.MODER before: " << std::hex << before;
    EXPECT_TRUE(XDoTool({"search", "--onlyvisible", "--name", "^Corvane$"}).isEmpty()) << "a message box is open";

    EXPECT_EQ(corvane.state(), QProcess::Running);
    corvane.terminate();
    if (!corvane.waitForFinished(10000))
        corvane.kill();
}

// The memory window of the demo as a person uses it from the keyboard: it
// opens at the start over the document area (the demo marks it open) with
// the focus on its first byte; two hex digits typed write that byte to the
// chip's RAM and the window draws it; Ctrl+G, three Tabs and Space tick
// its watch, and the counter in the RAM is drawn changing, on amber.
namespace {

// The GDB server the installation folder's Corvane.ini names.
QString StoredGdbServer(const QTemporaryDir &home)
{
    QFile file(home.filePath("Corvane.ini"));
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("<no Corvane.ini>");
    for (const QByteArray &line : file.readAll().split('\n'))
        if (line.startsWith("GDB_SERVER="))
            return QString::fromUtf8(line.mid(11)).trimmed();
    return QString();
}

bool MessageBoxOpen()
{
    return !XDoTool({"search", "--onlyvisible", "--name", "^Corvane$"}).isEmpty();
}

} // namespace

// A new GDB server typed into the panel's box while a register window
// watches through the old one: every keystroke lands in the box, the watch
// keeps its server and no message comes until Enter; then the next refreshes
// go to the new server, which Corvane.ini keeps. A text that is not
// host:port is refused with one message and not stored.
TEST(DemoWithKeysTest, AGdbServerTypedWhileAWatchRunsTakesEffectOnEnter)
{
    if (const QString missing = MissingForTheMouse(); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();

    FakeGdbServer first{FakeGdbScript()};
    FakeGdbServer second{FakeGdbScript()};
    SimulatedChip chip("VX21A");
    ASSERT_TRUE(chip.Start());
    QTemporaryDir home;
    QTemporaryDir profile;
    QString ini = DemoIni(chip.PortPath());
    ini.replace("DATA_TYPE=2", "DATA_TYPE=3");
    ini.replace("GDB_SERVER=localhost:1234", "GDB_SERVER=" + QString::fromStdString(first.Address()));
    ini.replace("\nRCC=1\nGPIOA=1\nUSART1=1\n", "\nRCC=1\n");
    QProcess corvane;
    QString mainWindow;
    ASSERT_NO_FATAL_FAILURE(StartCorvane(corvane, home, profile, ini, mainWindow));
    XDoTool({"windowfocus", "--sync", mainWindow});

    // "监视" in register window 0's tool row.
    XDoTool({"mousemove", "--sync", "389", "39", "click", "1"});
    QElapsedTimer timer;
    timer.start();
    // A watch holds one connection; its refreshes are its memory reads.
    const auto refreshes = [](const FakeGdbServer &server) { return server.CountOf("m"); };
    while (refreshes(first) < 2 && timer.elapsed() < 20000)
        QTest::qWait(100);
    ASSERT_GE(refreshes(first), 2) << "the watch does not refresh";

    // The server box stands where the port list stood.
    const QString typed = QString::fromStdString(second.Address());
    XDoTool({"mousemove", "--sync", "197", "90", "click", "1"});
    XDoTool({"key", "ctrl+a"});
    XDoTool({"type", "--delay", "120", typed});
    QTest::qWait(500);
    Screen().save(QDir(BinDir()).filePath("corvane-demo-gdb-server-typed.png"));
    EXPECT_FALSE(MessageBoxOpen()) << "a message while typing";
    EXPECT_EQ(second.Connections(), 0) << "a refresh went to a half-typed server";
    EXPECT_EQ(StoredGdbServer(home), QString::fromStdString(first.Address()));
    const int before = refreshes(first);
    QTest::qWait(600);
    EXPECT_GT(refreshes(first), before) << "the watch stopped while typing";

    XDoTool({"key", "Return"});
    timer.restart();
    while (refreshes(second) < 2 && timer.elapsed() < 20000)
        QTest::qWait(100);
    EXPECT_GE(refreshes(second), 2) << "the refreshes did not go to the new server";
    EXPECT_EQ(StoredGdbServer(home), typed);
    EXPECT_FALSE(MessageBoxOpen());

    // Not host:port: one message when the focus moves on, nothing stored.
    XDoTool({"mousemove", "--sync", "197", "90", "click", "1"});
    XDoTool({"key", "ctrl+a"});
    XDoTool({"type", "--delay", "60", "12"});
    XDoTool({"key", "Tab"});
    timer.restart();
    while (!MessageBoxOpen() && timer.elapsed() < 10000)
        QTest::qWait(100);
    ASSERT_TRUE(MessageBoxOpen()) << "no message for \"12\"";
    Screen().save(QDir(BinDir()).filePath("corvane-demo-gdb-server-refused.png"));
    XDoTool({"key", "Return"}); // the message's OK
    QTest::qWait(1500);
    EXPECT_FALSE(MessageBoxOpen()) << "the message came again";
    EXPECT_EQ(StoredGdbServer(home), typed);

    EXPECT_EQ(corvane.state(), QProcess::Running);
    corvane.terminate();
    if (!corvane.waitForFinished(10000))
        corvane.kill();
}

TEST(DemoWithMouseTest, MemoryWindowWritesATypedByteAndWatchesTheCounter)
{
    if (const QString missing = MissingForTheMouse(); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();

    SimulatedChip chip("VX21A");
    ASSERT_TRUE(chip.Start());
    FillPeripherals(chip);
    for (uint32_t k = 0; k < 0x400; k += 4)
        chip.PokeWord(0x20000000u + k, 0x11223300u | (k / 4));
    chip.AddFreeRunningCounter(0x20000010);

    QTemporaryDir home;
    QTemporaryDir profile;
    QString ini = DemoIni(chip.PortPath());
    ini.replace("[COMMON]\n", "[COMMON]\nMEM_WND_1=20000000\n");
    QProcess corvane;
    QString mainWindow;
    ASSERT_NO_FATAL_FAILURE(StartCorvane(corvane, home, profile, ini, mainWindow));
    XDoTool({"windowfocus", "--sync", mainWindow});
    QTest::qWait(500);

    // The document area right of the pane: the memory window's rows.
    const QRect rows(380, 60, 620, 500);
    const QImage opened = Screen();
    opened.save(QDir(BinDir()).filePath("corvane-demo-memory.png"));
    EXPECT_GE(DistinctColours(opened, rows), 3) << "the memory window's rows are blank";

    XDoTool({"type", "5a"});
    QElapsedTimer timer;
    timer.start();
    while (chip.PeekWord(0x20000000) != 0x1122335Au && timer.elapsed() < 10000)
        QTest::qWait(100);
    EXPECT_EQ(chip.PeekWord(0x20000000), 0x1122335Au) << "the typed byte did not reach the RAM alone";
    QTest::qWait(800);
    const QImage written = Screen();
    written.save(QDir(BinDir()).filePath("corvane-demo-memory-written.png"));
    EXPECT_TRUE(Differ(opened, written, rows)) << "the window did not draw the byte written";

    XDoTool({"key", "ctrl+g", "Tab", "Tab", "Tab", "space"});
    QTest::qWait(1500);
    const QImage first = Screen();
    QTest::qWait(1000);
    const QImage second = Screen();
    second.save(QDir(BinDir()).filePath("corvane-demo-memory-watch.png"));
    EXPECT_TRUE(Differ(first, second, rows)) << "the counter did not change while watched";
    const int highlighted = HighlightedPixels(second, rows);
    EXPECT_GT(highlighted, 60) << "no unit drawn changed";

    // The timer's registers named beside its bytes.
    XDoTool({"key", "ctrl+g"});
    XDoTool({"type", "TIM2"});
    XDoTool({"key", "Return"});
    QTest::qWait(1500);
    const QImage registers = Screen();
    registers.save(QDir(BinDir()).filePath("corvane-demo-memory-registers.png"));
    EXPECT_TRUE(Differ(second, registers, rows)) << "Ctrl+G TIM2 went nowhere";
    EXPECT_TRUE(XDoTool({"search", "--onlyvisible", "--name", "^Corvane$"}).isEmpty()) << "a message box is open";

    EXPECT_EQ(corvane.state(), QProcess::Running);
    corvane.terminate();
    if (!corvane.waitForFinished(10000))
        corvane.kill();
}

// The core window on QEMU's mps2-an505 after its firmware faulted on a load
// from no memory: Ctrl+K opens it, Space reads, the fault tab says the fault
// in words, and a click on its PC link opens a memory window at the
// faulting instruction (whose address the window's open-mark keeps).
TEST(DemoWithMouseTest, CoreWindowShowsTheQemuFaultAndItsPcLinkOpensMemory)
{
    if (const QString missing = MissingForTheMouse(); !missing.isEmpty())
        GTEST_SKIP() << missing.toStdString();
    if (QemuBoard::Program().isEmpty())
        GTEST_SKIP() << "qemu-system-arm is not installed (scripts/install-deps.sh installs it)";
    const QString elf = BinPath(QStringLiteral("an505-fault-load.elf"));
    if (!QFileInfo::exists(elf))
        GTEST_SKIP() << "the AN505 fault firmwares are not built (arm-none-eabi-gcc is missing)";
    // The faulting instruction, as the ELF's symbol table names it.
    QProcess nm;
    nm.start(QStringLiteral("arm-none-eabi-nm"), {elf});
    ASSERT_TRUE(nm.waitForFinished(10000));
    uint32_t faultLoad = 0;
    for (const QString &line : QString::fromLatin1(nm.readAllStandardOutput()).split(u'\n'))
        if (line.endsWith(QLatin1String(" fault_load")))
            faultLoad = line.section(u' ', 0, 0).toUInt(nullptr, 16);
    ASSERT_NE(faultLoad, 0u);

    QemuBoard board;
    ASSERT_TRUE(board.Start(elf));
    QTemporaryDir home;
    QTemporaryDir profile;
    QString ini = DemoIni(QString());
    ini.replace("SEL=0\n", "SEL=5\n");
    ini.replace("DATA_TYPE=2\n", "DATA_TYPE=3\n");
    ini.replace("GDB_SERVER=localhost:1234\n", QStringLiteral("GDB_SERVER=%1\n").arg(board.GdbServer()));
    ini += QStringLiteral("\n[AN505]\nCORE_ELF=%1\n").arg(elf);
    QDir(home.path()).mkpath("svd");
    ASSERT_TRUE(QFile::copy(QStringLiteral(CORVANE_SOURCE_DIR "/svd/AN505.svd"), home.filePath("svd/AN505.svd")));
    QProcess corvane;
    QString mainWindow;
    ASSERT_NO_FATAL_FAILURE(StartCorvane(corvane, home, profile, ini, mainWindow));
    XDoTool({"windowfocus", "--sync", mainWindow});
    QTest::qWait(500);

    const QImage before = Screen();
    XDoTool({"key", "ctrl+k"});
    QTest::qWait(1000);
    XDoTool({"key", "space"}); // Read
    QTest::qWait(4000);
    const QImage registers = Screen();
    registers.save(QDir(BinDir()).filePath("corvane-core-registers.png"));
    const QRect document(0, 60, 1280, 700);
    EXPECT_TRUE(Differ(before, registers, document)) << "no core window was drawn";
    // From Read: Watch, the ELF field, its button, then the tabs; Right shows "fault".
    XDoTool({"key", "Tab", "Tab", "Tab", "Tab", "Right"});
    QTest::qWait(1500);
    const QImage fault = Screen();
    fault.save(QDir(BinDir()).filePath("corvane-core-fault.png"));
    EXPECT_TRUE(Differ(registers, fault, document)) << "the fault tab did not come forward";
    EXPECT_TRUE(XDoTool({"search", "--onlyvisible", "--name", "^Corvane$"}).isEmpty()) << "a message box is open";

    // The link is the only text in the link colour: click its middle.
    const QColor linkColour = QApplication::palette().color(QPalette::Link);
    QRect link;
    for (int y = document.top(); y <= document.bottom(); ++y)
        for (int x = document.left(); x <= document.right(); ++x) {
            const QColor pixel(fault.pixel(x, y));
            if (std::abs(pixel.red() - linkColour.red()) + std::abs(pixel.green() - linkColour.green()) +
                    std::abs(pixel.blue() - linkColour.blue()) <
                60)
                link = link.united(QRect(x, y, 1, 1));
        }
    ASSERT_TRUE(link.isValid()) << "no link drawn on the fault tab";
    EXPECT_LT(link.height(), 30) << "more than one line in the link colour";
    XDoTool({"mousemove", "--sync", QString::number(link.center().x()), QString::number(link.center().y())});
    XDoTool({"click", "1"});
    QTest::qWait(2500);
    const QImage memory = Screen();
    memory.save(QDir(BinDir()).filePath("corvane-core-pc-memory.png"));
    EXPECT_TRUE(Differ(fault, memory, document)) << "no memory window was drawn";
    const QSettings marks(home.filePath("Corvane.ini"), QSettings::IniFormat);
    EXPECT_EQ(marks.value("COMMON/MEM_WND_1").toString().toUInt(nullptr, 16), faultLoad)
        << marks.value("COMMON/MEM_WND_1").toString().toStdString();

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

// Start-up, the register window slots, the main frame and its commands.

#include "AppRig.h"

#include "app/AboutBox.h"
#include "app/InstanceLock.h"
#include "app/ControlPaneDock.h"

#include <QDialog>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QProcess>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include "support/QtTestChecks.h"
#include "support/SourceLanguage.h"

namespace {

QString WindowsIni(const QString &marks)
{
    return StandardIni(QStringLiteral("[VX21A]\n") + marks);
}

bool WaitFor(const std::function<bool()> &condition, int timeoutMs = 10000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QTest::qWait(20);
    }
    return true;
}

} // namespace

TEST(StartupTest, ReopensMarkedWindowsSideBySide)
{
    AppRig rig(WindowsIni(QStringLiteral("WND_1=1\nWND_3=1\n")));
    ASSERT_TRUE(rig.Start());
    EXPECT_EQ(rig.app->ChildFrame(0), nullptr);
    EXPECT_EQ(rig.app->ChildFrame(2), nullptr);
    RegisterWindowFrame *one = rig.app->ChildFrame(1);
    RegisterWindowFrame *three = rig.app->ChildFrame(3);
    ASSERT_NE(one, nullptr);
    ASSERT_NE(three, nullptr);
    EXPECT_EQ(one->windowTitle(), "window_1");
    EXPECT_EQ(three->windowTitle(), "window_3");
    EXPECT_NE(rig.app->RegisterWindow(1), nullptr);
    EXPECT_NE(rig.app->RegisterWindow(3), nullptr);
    // Slot 1 first from the left, slot 3 beside it, same width.
    EXPECT_EQ(one->geometry().x(), 0);
    EXPECT_EQ(three->geometry().x(), one->geometry().width());
    EXPECT_EQ(one->geometry().width(), three->geometry().width());
    for (int k = 0; k < 4; ++k) {
        const bool open = k == 1 || k == 3;
        EXPECT_EQ(rig.Box(k)->isChecked(), open) << k;
        EXPECT_EQ(rig.Box(k)->isEnabled(), !open) << k;
    }
    EXPECT_TRUE(rig.Frame().windowTitle().startsWith("Corvane v2.3"));
}

TEST(StartupTest, ClosingOneWindowClearsItsMarkQuittingKeepsTheRest)
{
    AppRig rig(WindowsIni(QStringLiteral("WND_1=1\nWND_3=1\n")));
    ASSERT_TRUE(rig.Start());
    rig.app->ChildFrame(1)->close();
    rig.Settle();
    EXPECT_EQ(rig.app->ChildFrame(1), nullptr);
    EXPECT_EQ(rig.app->RegisterWindow(1), nullptr);
    EXPECT_NE(rig.app->ChildFrame(3), nullptr);
    EXPECT_EQ(rig.ReadInt("VX21A", "WND_1"), 0);
    EXPECT_FALSE(rig.Box(1)->isChecked());
    EXPECT_TRUE(rig.Box(1)->isEnabled());
    // The remaining window takes the whole width again.
    EXPECT_EQ(rig.app->ChildFrame(3)->geometry().x(), 0);

    rig.Quit();
    EXPECT_EQ(rig.ReadInt("VX21A", "WND_3"), 1);
    ASSERT_TRUE(rig.Start());
    EXPECT_EQ(rig.app->ChildFrame(1), nullptr);
    EXPECT_NE(rig.app->ChildFrame(3), nullptr);
}

TEST(StartupTest, SecondCopyFromTheSameFolderIsRefused)
{
    AppRig first;
    ASSERT_TRUE(first.Start());
    {
        AppOptions options;
        options.exeDir = first.dir.path();
        options.showMainWindow = false;
        CorvaneApplication second(options);
        QStringList messages;
        second.User().messageHook = [&](const QString &text) { messages << text; };
        EXPECT_FALSE(second.InitInstance());
        EXPECT_EQ(messages, QStringList{QString::fromUtf8("此程序正在运行，同一路径只能打开一次。")});
        EXPECT_EQ(second.MainFrame(), nullptr);
    }
    // The other folder runs side by side.
    AppRig other;
    EXPECT_TRUE(other.Start());
    EXPECT_FALSE(other.messages.contains(QString::fromUtf8("此程序正在运行，同一路径只能打开一次。")));
}

TEST(StartupTest, FolderLockAndRelease)
{
    QTemporaryDir folder;
    {
        InstanceLock held;
        ASSERT_TRUE(held.TryAcquire(folder.path()));
        InstanceLock again;
        EXPECT_FALSE(again.TryAcquire(folder.path()));
        // The same folder by another path is the same lock.
        EXPECT_FALSE(again.TryAcquire(folder.path() + "/svd/.."));
    }
    InstanceLock after;
    EXPECT_TRUE(after.TryAcquire(folder.path()));
    EXPECT_FALSE(InstanceLock().TryAcquire(folder.filePath("missing")));
}

// Every file below a folder, by relative path.
static QStringList FilesBelow(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << QDir(folder).relativeFilePath(it.next());
    files.sort();
    return files;
}

TEST(StartupTest, SecondProcessWithAnotherTemporaryFolderIsRefusedAndNoLockFileIsLeft)
{
    AppRig rig;
    ASSERT_TRUE(QFile::copy(QDir(BinDir()).filePath("corvane"), rig.Path("corvane")));
    QTemporaryDir firstTemp;
    QTemporaryDir secondTemp;
    QTemporaryDir profile;
    const QStringList before = FilesBelow(rig.dir.path());

    // The first copy: the real program from the folder, with a temporary
    // folder of its own.
    QProcess first;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    InSourceLanguage(env);
    env.insert("TMPDIR", firstTemp.path());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_CONFIG_HOME", profile.path());
    env.insert("ASAN_OPTIONS", "detect_leaks=0");
    first.setProcessEnvironment(env);
    first.start(rig.Path("corvane"), {});
    ASSERT_TRUE(first.waitForStarted());
    // It has the lock once it made its data folders.
    QTRY_VERIFY_WITH_TIMEOUT(QDir(rig.Path("data/VX21E")).exists(), 60000);

    // The second copy, same folder, another temporary folder.
    const QByteArray oldTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", secondTemp.path().toLocal8Bit());
    EXPECT_FALSE(rig.Start());
    EXPECT_EQ(rig.messages, QStringList{QString::fromUtf8("此程序正在运行，同一路径只能打开一次。")});
    rig.app.reset();
    qputenv("TMPDIR", oldTemp);

    first.terminate();
    ASSERT_TRUE(first.waitForFinished(30000));
    // No lock file anywhere: not in the folder, not in either temporary folder.
    QStringList after = FilesBelow(rig.dir.path());
    after.removeAll("Corvane.ini");
    QStringList expected = before;
    expected.removeAll("Corvane.ini");
    EXPECT_EQ(after, expected);
    EXPECT_TRUE(FilesBelow(firstTemp.path()).isEmpty()) << FilesBelow(firstTemp.path()).join(' ').toStdString();
    EXPECT_TRUE(FilesBelow(secondTemp.path()).isEmpty()) << FilesBelow(secondTemp.path()).join(' ').toStdString();
    // The lock went with the first copy.
    rig.messages.clear();
    EXPECT_TRUE(rig.Start());
    EXPECT_TRUE(rig.messages.isEmpty());
}

TEST(StartupTest, WithoutConfigurationFileNothingOpensAndTwoKeysAreWritten)
{
    AppRig rig(QString{});
    ASSERT_TRUE(rig.Start());
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(rig.app->ChildFrame(k), nullptr);
    EXPECT_EQ(rig.List(1001)->count(), 0);
    EXPECT_EQ(rig.List(1007)->currentIndex(), 0);
    EXPECT_EQ(rig.ReadInt("CHIP_TYPE", "SEL"), 0);
    EXPECT_EQ(rig.ReadInt("COMMON", "DATA_TYPE"), 0);
    for (const char *folder : {"data/temp", "data/VX21A", "data/VX21B", "data/VX21C", "data/VX21D", "data/VX21E"})
        EXPECT_TRUE(QDir(rig.Path(folder)).exists()) << folder;
}

TEST(StartupTest, ProbeLibraryPresentGivesNoMessage)
{
    AppRig rig;
    ASSERT_TRUE(rig.Start());
    EXPECT_TRUE(rig.app->Links().jlink.IsBound());
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('|').toStdString();
}

TEST(StartupTest, FrameHasOnlyThePaneWithTheControlTabInFront)
{
    AppRig rig;
    ASSERT_TRUE(rig.Start());
    EXPECT_TRUE(rig.Frame().menuBar()->isHidden());
    const auto toolBars = rig.Frame().findChildren<QToolBar *>();
    ASSERT_EQ(toolBars.size(), 1);
    EXPECT_TRUE(toolBars[0]->isHidden());
    EXPECT_EQ(toolBars[0]->windowTitle(), "标准");
    EXPECT_EQ(rig.Frame().findChild<QStatusBar *>(), nullptr);
    ControlPaneDock &pane = rig.Frame().Pane();
    EXPECT_EQ(pane.windowTitle(), "Control Panel");
    EXPECT_EQ(rig.Frame().dockWidgetArea(&pane), Qt::LeftDockWidgetArea);
    EXPECT_TRUE(pane.isVisible());
    QTabWidget &tabs = pane.Tabs();
    ASSERT_EQ(tabs.count(), 2);
    EXPECT_EQ(tabs.tabText(0), "交互控制界面");
    EXPECT_EQ(tabs.tabText(1), "寄存器检测界面");
    EXPECT_EQ(tabs.currentIndex(), 0);
    EXPECT_EQ(tabs.tabPosition(), QTabWidget::South);
    // The pane's tab control follows the pane's size.
    rig.Frame().resizeDocks({&pane}, {450}, Qt::Horizontal);
    QApplication::processEvents();
    EXPECT_EQ(tabs.width(), pane.widget()->width());
}

TEST(StartupTest, TileLayoutTable)
{
    struct Case
    {
        int frameWidth, paneWidth, count;
        QList<int> xs;
        int width;
    };
    const QList<Case> cases{
        {1000, 370, 2, {0, 311}, 311},
        {1000, 370, 1, {0}, 622},
        {1000, 370, 3, {0, 207, 414}, 207},
        {1000, 370, 4, {0, 155, 311, 466}, 155},
    };
    for (const Case &c : cases) {
        const QList<QRect> places = MainWindow::TileLayout(QRect(0, 0, 700, 500), c.paneWidth, c.frameWidth, c.count);
        ASSERT_EQ(places.size(), c.count);
        for (int i = 0; i < c.count; ++i) {
            EXPECT_EQ(places[i].x(), c.xs[i]) << c.count << " " << i;
            EXPECT_EQ(places[i].width(), c.width);
            EXPECT_EQ(places[i].y(), 0);
            EXPECT_EQ(places[i].height(), 500);
        }
    }
    EXPECT_TRUE(MainWindow::TileLayout(QRect(0, 0, 10, 10), 0, 100, 0).isEmpty());
}

TEST(StartupTest, CaptionNamesTheActiveWindow)
{
    AppRig rig(WindowsIni(QStringLiteral("WND_2=1\n")));
    ASSERT_TRUE(rig.Start());
    EXPECT_EQ(rig.Frame().windowTitle(), "Corvane v2.3 - window_2");
    EXPECT_EQ(rig.Frame().ActiveWindowSlot(), 2);
    rig.app->ChildFrame(2)->close();
    rig.Settle();
    EXPECT_EQ(rig.Frame().windowTitle(), "Corvane v2.3");
    EXPECT_EQ(rig.Frame().ActiveWindowSlot(), -1);
}

TEST(StartupTest, LookIsStoredAndUsedAtTheNextStart)
{
    AppRig rig;
    ASSERT_TRUE(rig.Start());
    QSettings settings(QString::fromUtf8(MainWindow::kCompany), "Corvane");
    settings.remove("Workspace/ApplicationLook");
    rig.Quit();
    ASSERT_TRUE(rig.Start());
    EXPECT_EQ(rig.Frame().CurrentLook(), 210); // the default
    QAction *silver = rig.Frame().findChild<QAction *>("217");
    ASSERT_NE(silver, nullptr);
    EXPECT_EQ(silver->text(), "银色样式(&S)");
    silver->trigger();
    EXPECT_EQ(rig.Frame().CurrentLook(), 217);
    EXPECT_TRUE(silver->isChecked());
    settings.sync();
    EXPECT_EQ(settings.value("Workspace/ApplicationLook").toInt(), 217);
    rig.Quit();
    ASSERT_TRUE(rig.Start());
    EXPECT_EQ(rig.Frame().CurrentLook(), 217);
}

TEST(StartupTest, InitDockPaneActsOnce)
{
    AppRig rig(StandardIni(QStringLiteral("INIT_DOCKPANE=1\n")));
    ASSERT_TRUE(rig.Start());
    EXPECT_EQ(rig.ReadInt("COMMON", "INIT_DOCKPANE"), 0);
}

TEST(StartupTest, AboutBoxAndUpdaterCommands)
{
    AppRig rig;
    ASSERT_TRUE(rig.Start());
    QString title;
    QString line;
    QTimer::singleShot(0, [&] {
        auto *about = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        title = about->windowTitle();
        line = about->findChild<QLabel *>("version")->text();
        about->accept();
    });
    rig.Frame().SystemCommand(MainWindow::kAboutCommand);
    EXPECT_EQ(title, "关于 Corvane");
    EXPECT_EQ(line, "Corvane，版本 2.3");

    const QString marker = rig.Path("updated");
    rig.WriteFile("update", QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(marker).toUtf8());
    QFile::setPermissions(rig.Path("update"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    rig.Frame().SystemCommand(MainWindow::kUpdateCommand);
    EXPECT_TRUE(WaitFor([&] { return QFile::exists(marker); }));
    // A missing updater shows nothing.
    QFile::remove(rig.Path("update"));
    rig.messages.clear();
    rig.Frame().SystemCommand(MainWindow::kUpdateCommand);
    EXPECT_TRUE(rig.messages.isEmpty());
}

TEST(StartupTest, EndingWithoutClosingTheWindowKeepsTheMarks)
{
    AppRig rig(WindowsIni(QStringLiteral("WND_0=1\nWND_1=1\n")));
    ASSERT_TRUE(rig.Start());
    rig.app.reset(); // the process ends with the windows still up
    QApplication::processEvents();
    EXPECT_EQ(rig.ReadInt("VX21A", "WND_0"), 1);
    EXPECT_EQ(rig.ReadInt("VX21A", "WND_1"), 1);
}

// The GDB server data source on the control panel: its entry, its edit box
// shown only while it is chosen, and the box stored once its text is complete.

#include "AppRig.h"
#include "app/RegisterWindowTools.h"
#include "support/FakeGdbServer.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

QLineEdit *ServerBox(AppRig &rig)
{
    return rig.Panel().findChild<QLineEdit *>(QStringLiteral("1040"));
}

// The person moves the data-source selector with the keyboard.
void PickByKey(AppRig &rig, int entry)
{
    QComboBox *list = rig.List(1007);
    list->setFocus();
    while (list->currentIndex() < entry)
        QTest::keyClick(list, Qt::Key_Down);
    while (list->currentIndex() > entry)
        QTest::keyClick(list, Qt::Key_Up);
}

} // namespace

TEST(PanelGdbServerTest, EntryShowsTheServerBoxOnlyWhileChosen)
{
    AppRig rig(StandardIni(QStringLiteral("GDB_SERVER=lab-pc:2331\n")));
    ASSERT_TRUE(rig.Start());
    rig.Frame().show();
    QComboBox *list = rig.List(1007);
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->itemText(3), "GDB读取");
    QLineEdit *box = ServerBox(rig);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->displayText(), "lab-pc:2331");

    struct Case
    {
        int entry;
        bool server, uart, jlink, speedLabel;
    };
    const QList<Case> cases{
        {3, true, false, false, false}, {2, false, true, false, true},   {3, true, false, false, false},
        {1, false, false, true, true},  {0, false, false, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.entry);
        PickByKey(rig, c.entry);
        EXPECT_EQ(rig.ReadInt("COMMON", "DATA_TYPE"), c.entry);
        EXPECT_EQ(box->isVisible(), c.server);
        EXPECT_EQ(rig.List(1004)->isVisible(), c.uart);
        EXPECT_EQ(rig.List(1002)->isVisible(), c.jlink);
        EXPECT_EQ(rig.Control(1017)->isVisible(), c.speedLabel);
        EXPECT_EQ(rig.Control(1016)->isVisible(), c.entry != 0);
    }
    // The box sits where the port lists sit, inside the panel.
    PickByKey(rig, 3);
    EXPECT_EQ(box->geometry().topLeft(), rig.List(1004)->geometry().topLeft());
    EXPECT_TRUE(rig.Panel().rect().contains(box->geometry()));
}

// The box is stored when the typing is complete: on Enter or when the focus
// moves on, and only a whole "host:port"; a refused text is said once.
TEST(PanelGdbServerTest, TypedServerIsStoredOnEnterOrLeavingTheBoxWhenItIsHostAndPort)
{
    AppRig rig;
    ASSERT_TRUE(rig.Start());
    rig.Frame().show();
    rig.Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&rig.Frame()));
    PickByKey(rig, 3);
    QLineEdit *box = ServerBox(rig);
    EXPECT_EQ(box->displayText(), "localhost:3333"); // nothing stored: the default
    auto stored = [&] { return rig.Config().ReadText("COMMON", "GDB_SERVER", QString("<none>"), 260); };
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, "127.0.0.1:1234");
    EXPECT_EQ(stored(), "<none>") << "nothing stored while typing";
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(stored(), "127.0.0.1:1234");
    EXPECT_TRUE(rig.messages.isEmpty());

    // Leaving the box commits as Enter does.
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, "99");
    EXPECT_EQ(stored(), "127.0.0.1:1234");
    rig.List(1020)->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(stored(), "127.0.0.1:1299");

    // Texts that are not host:port are refused, once each, and not stored.
    struct Case
    {
        const char *typed;
        bool byEnter;
    };
    const Case refused[] = {{"12", false},           {"lab-pc", true},      {":3333", true},       {"lab-pc:0", true},
                            {"lab-pc:65536", false}, {"lab pc:3333", true}, {"lab-pc:33x", false}, {"lab-pc:", true}};
    for (const Case &c : refused) {
        SCOPED_TRACE(c.typed);
        rig.messages.clear();
        QTest::mouseClick(box, Qt::LeftButton);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, c.typed);
        if (c.byEnter)
            QTest::keyClick(box, Qt::Key_Return);
        rig.List(1020)->setFocus(Qt::TabFocusReason);
        QTest::mouseClick(box, Qt::LeftButton);
        rig.List(1020)->setFocus(Qt::MouseFocusReason);
        EXPECT_EQ(stored(), "127.0.0.1:1299");
        EXPECT_EQ(rig.messages,
                  QStringList{QString::fromUtf8(c.typed) + ": not a GDB server, type host:port (port 1 to 65535) !\n"});
    }
    // A message box or another window taking the focus ends no typing.
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, "lab-pc:2");
    rig.List(1020)->setFocus(Qt::ActiveWindowFocusReason);
    EXPECT_EQ(stored(), "127.0.0.1:1299");
    box->setFocus(Qt::ActiveWindowFocusReason);
    QTest::keyClicks(box, "331");
    QTest::keyClick(box, Qt::Key_Enter);
    EXPECT_EQ(stored(), "lab-pc:2331");
    EXPECT_EQ(rig.Panel().DataSourceEntry(), 3);

    rig.Quit();
    ASSERT_TRUE(rig.Start());
    EXPECT_EQ(ServerBox(rig)->displayText(), "lab-pc:2331");
}

// The fault of a box stored at every key: a watch running while a new
// server is typed went to the half-typed one. Now every refresh goes to the
// server stored when it started until the new one is complete.
TEST(PanelGdbServerTest, AWatchKeepsItsServerWhileANewOneIsTyped)
{
    FakeGdbServer first{FakeGdbScript()};
    FakeGdbServer second{FakeGdbScript()};
    AppRig rig(
        StandardIni(
            QStringLiteral("GDB_SERVER=%1\n[VX21A]\nWND_0=1\nUART0=1\n").arg(QString::fromStdString(first.Address())))
            .replace("DATA_TYPE=0", "DATA_TYPE=3"));
    ASSERT_TRUE(rig.Start());
    rig.Frame().show();
    rig.Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&rig.Frame()));
    RegisterWindowView *window = rig.app->RegisterWindow(0);
    ASSERT_NE(window, nullptr);
    auto *rate = window->findChild<QComboBox *>(QStringLiteral("rate"));
    rate->setCurrentIndex(rate->count() - 1); // 20 per second
    QTest::mouseClick(window->findChild<QCheckBox *>(QStringLiteral("watch")), Qt::LeftButton);
    ASSERT_TRUE(window->Tools()->Watch().IsRunning());
    QTRY_VERIFY_WITH_TIMEOUT(first.Connections() >= 2, 10000);

    QLineEdit *box = ServerBox(rig);
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    const QString typed = QString::fromStdString(second.Address());
    for (const QChar key : typed) {
        QTest::keyClicks(box, QString(key));
        QTest::qWait(30); // refreshes come and go while typing
        ASSERT_TRUE(window->Tools()->Watch().IsRunning()) << "stopped with " << rig.messages.join(u'|').toStdString();
    }
    EXPECT_EQ(box->text(), typed) << "no keystroke lost";
    EXPECT_TRUE(rig.messages.isEmpty());
    EXPECT_EQ(second.Connections(), 0);
    EXPECT_EQ(rig.Config().ReadText("COMMON", "GDB_SERVER", QString(), 260), QString::fromStdString(first.Address()));

    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(rig.Config().ReadText("COMMON", "GDB_SERVER", QString(), 260), typed);
    QTRY_VERIFY_WITH_TIMEOUT(second.Connections() >= 2, 10000);
    const int before = first.Connections();
    QTest::qWait(300);
    EXPECT_LE(first.Connections(), before + 1) << "at most the refresh in flight went to the old server";
    EXPECT_TRUE(rig.messages.isEmpty());
    QTest::mouseClick(window->findChild<QCheckBox *>(QStringLiteral("watch")), Qt::LeftButton);
}

// A failed link's message names the server or the port it tried, and the
// system's reason follows on a line of its own, in the window as in
// corvane-cli.
TEST(PanelGdbServerTest, FailedLinksNameTheirServerOrPortWithTheReason)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    socklen_t size = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
    ::close(fd); // nothing listens there now
    const QString server = QStringLiteral("127.0.0.1:%1").arg(ntohs(address.sin_port));
    AppRig rig(StandardIni(QStringLiteral("GDB_SERVER=%1\nUART_PORT=/nonexistent/ttyX\n").arg(server)));
    ASSERT_TRUE(rig.Start());
    rig.Frame().show();
    for (const auto &[id, text] : {std::pair{1021, "20000000"}, std::pair{1024, "4"}}) {
        auto *field = rig.Panel().findChild<QLineEdit *>(QString::number(id));
        QTest::mouseClick(field, Qt::LeftButton);
        QTest::keyClicks(field, text);
    }
    PickByKey(rig, 3);
    QTest::mouseClick(rig.Panel().findChild<QPushButton *>(QStringLiteral("1023")), Qt::LeftButton);
    rig.WaitForActions();
    PickByKey(rig, 2);
    QTest::mouseClick(rig.Panel().findChild<QPushButton *>(QStringLiteral("1023")), Qt::LeftButton);
    rig.WaitForActions();
    EXPECT_EQ(rig.messages, (QStringList{"gdb connect " + server + " error !\nConnection refused",
                                         "uart open error !\n/nonexistent/ttyX: No such file or directory"}));
}

// The GDB server data source on the control panel: its entry, its edit box
// shown only while it is chosen, and the box written at once as typed.

#include "AppRig.h"

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

TEST(PanelGdbServerTest, TypedServerIsWrittenAtOnceAndReadByTheNextStart)
{
    AppRig rig;
    ASSERT_TRUE(rig.Start());
    rig.Frame().show();
    PickByKey(rig, 3);
    QLineEdit *box = ServerBox(rig);
    EXPECT_EQ(box->displayText(), "localhost:3333"); // nothing stored: the default
    QTest::mouseClick(box, Qt::LeftButton);
    box->selectAll();
    QTest::keyClicks(box, "127.0.0.1:1234");
    EXPECT_EQ(rig.Config().ReadText("COMMON", "GDB_SERVER", QString(), 260), "127.0.0.1:1234");
    QTest::keyClick(box, Qt::Key_Backspace);
    EXPECT_EQ(rig.Config().ReadText("COMMON", "GDB_SERVER", QString(), 260), "127.0.0.1:123");
    EXPECT_EQ(rig.Panel().DataSourceEntry(), 3);
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

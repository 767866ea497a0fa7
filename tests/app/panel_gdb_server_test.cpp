// The GDB server data source on the control panel: its entry, its edit box
// shown only while it is chosen, and the box written at once as typed.

#include "AppRig.h"

#include <QLineEdit>
#include <QTest>

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

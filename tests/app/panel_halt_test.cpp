// The panel's "运行" and its halt mark: after "halt HCPU" the panel says the
// target is halted and every later action leaves it so; "运行" lets it run.
// Over the scripted GDB server, whose detaches show when the target runs.

#include "AppRig.h"

#include "link/HaltRecord.h"
#include "support/FakeGdbServer.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

struct HaltPanelRig
{
    HaltPanelRig()
        : rig(StandardIni(QStringLiteral("GDB_SERVER=%1\n").arg(QString::fromStdString(server.Address())))
                  .replace("DATA_TYPE=0", "DATA_TYPE=3"))
    {}
    QPushButton *Button(int id) { return rig.Panel().findChild<QPushButton *>(QString::number(id)); }
    void Click(int id)
    {
        QTest::mouseClick(Button(id), Qt::LeftButton);
        rig.WaitForActions();
    }
    QLabel *Mark() { return rig.Panel().findChild<QLabel *>(QStringLiteral("1042")); }
    void Type(int id, const QString &text)
    {
        auto *field = rig.Panel().findChild<QLineEdit *>(QString::number(id));
        QTest::mouseClick(field, Qt::LeftButton);
        field->selectAll();
        QTest::keyClicks(field, text);
    }
    // The person moves the data-source selector with the keyboard.
    void PickSource(int entry)
    {
        QComboBox *list = rig.List(1007);
        list->setFocus();
        while (list->currentIndex() < entry)
            QTest::keyClick(list, Qt::Key_Down);
        while (list->currentIndex() > entry)
            QTest::keyClick(list, Qt::Key_Up);
    }

    FakeGdbServer server{FakeGdbScript()};
    AppRig rig;
};

TEST(PanelHaltTest, HaltIsShownAndHeldThroughReadsUntilRun)
{
    HaltPanelRig panel;
    ASSERT_TRUE(panel.rig.Start());
    panel.rig.Frame().show();
    QPushButton *run = panel.Button(1041);
    ASSERT_TRUE(run && panel.Mark());
    EXPECT_EQ(run->text(), "运行");
    EXPECT_TRUE(run->isVisible());
    EXPECT_TRUE(panel.Mark()->isVisible());
    EXPECT_EQ(panel.Mark()->text(), "未停止");

    panel.Click(1029); // halt HCPU
    EXPECT_EQ(panel.Mark()->text(), "已停止 HCPU");
    panel.Type(1021, "20000000");
    panel.Type(1024, "10");
    panel.Click(1023); // 读取
    panel.Click(1023);
    EXPECT_TRUE(panel.rig.messages.isEmpty()) << panel.rig.messages.join('|').toStdString();
    EXPECT_EQ(panel.server.Connections(), 3);
    EXPECT_EQ(panel.server.CountOf("D"), 0);
    EXPECT_EQ(panel.Mark()->text(), "已停止 HCPU");

    panel.Click(1041); // 运行
    EXPECT_EQ(panel.server.CountOf("D"), 1);
    EXPECT_EQ(panel.Mark()->text(), "未停止");
    panel.Click(1023);
    EXPECT_EQ(panel.server.CountOf("D"), 2);
    EXPECT_TRUE(panel.rig.messages.isEmpty()) << panel.rig.messages.join('|').toStdString();
}

// The mark is the selected target's: another source has its own, offline
// data none; a halt made elsewhere (corvane-cli) shows without a click.
TEST(PanelHaltTest, MarkFollowsTheSelectedTargetAndTheRecord)
{
    HaltPanelRig panel;
    ASSERT_TRUE(panel.rig.Start());
    panel.rig.Frame().show();
    panel.Click(1029);
    EXPECT_EQ(panel.Mark()->text(), "已停止 HCPU");
    panel.PickSource(2); // UART: nothing halted there
    EXPECT_EQ(panel.Mark()->text(), "未停止");
    panel.PickSource(0);
    EXPECT_EQ(panel.Mark()->text(), "");
    panel.PickSource(3);
    EXPECT_EQ(panel.Mark()->text(), "已停止 HCPU");

    const ConfigFile config = panel.rig.Config();
    ASSERT_TRUE(HaltRecord::Write(config, HaltRecord::SelectedTarget(config), {.hcpu = true, .lcpu = true}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return panel.Mark()->text() == "已停止 HCPU LCPU"; }, 5000))
        << panel.Mark()->text().toStdString();
}

// "运行" sits in the chip-control group, under the halts, clear of every
// other shown control.
TEST(PanelHaltTest, RunButtonAndMarkFitTheControlGroup)
{
    HaltPanelRig panel;
    ASSERT_TRUE(panel.rig.Start());
    panel.rig.Frame().show();
    QPushButton *run = panel.Button(1041);
    const QRect halt = panel.Button(1030)->geometry();
    EXPECT_EQ(run->geometry().left(), halt.left());
    EXPECT_GT(run->geometry().top(), halt.bottom());
    EXPECT_LT(run->geometry().bottom(), panel.Button(1019)->geometry().top());
    for (QWidget *control : {static_cast<QWidget *>(run), static_cast<QWidget *>(panel.Mark())}) {
        for (QWidget *other : panel.rig.Panel().findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
            if (other != control && other->isVisible() && !qobject_cast<QGroupBox *>(other)) {
                EXPECT_FALSE(control->geometry().intersects(other->geometry()))
                    << control->objectName().toStdString() << " meets " << other->objectName().toStdString();
            }
        }
    }
}

} // namespace

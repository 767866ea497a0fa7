// Target actions run off the windows' thread: while one waits on a link the
// windows draw and take keys, the buttons that would start another are
// disabled and the busy mark names it; a long transfer can be cancelled and
// says how far it got.

#include "AppRig.h"
#include "GridRows.h"

#include "SimulatedChip.h"
#include "support/FakeGdbServer.h"
#include "widgets/PropertyGrid.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressDialog>
#include <QPushButton>

#include <gtest/gtest.h>

#include "support/QtTestChecks.h"

namespace {

QPushButton *Button(AppRig &rig, int id)
{
    return rig.Panel().findChild<QPushButton *>(QString::number(id));
}

void Type(AppRig &rig, int id, const QString &text)
{
    auto *field = rig.Panel().findChild<QLineEdit *>(QString::number(id));
    QTest::mouseClick(field, Qt::LeftButton);
    field->selectAll();
    QTest::keyClicks(field, text);
}

FakeGdbScript SilentOnReads()
{
    FakeGdbScript script;
    script.fault = FakeGdbScript::Fault::Hang; // takes every byte, answers none
    script.faultPrefix = "m";
    return script;
}

} // namespace

TEST(ResponsiveActionsTest, TypingIsDrawnWhileAReadWaitsOnAServerThatNeverAnswers)
{
    FakeGdbServer server(SilentOnReads());
    AppRig rig(
        StandardIni(
            QStringLiteral("GDB_SERVER=%1\n[VX21A]\nWND_0=1\nUART0=1\n").arg(QString::fromStdString(server.Address())))
            .replace("DATA_TYPE=0", "DATA_TYPE=3"));
    ASSERT_TRUE(rig.Start());
    rig.Frame().show();
    Type(rig, 1021, "20000000");
    Type(rig, 1024, "10");
    QTest::mouseClick(Button(rig, 1023), Qt::LeftButton);

    ASSERT_TRUE(rig.app->Actions().IsRunning());
    EXPECT_FALSE(Button(rig, 1023)->isEnabled()) << "读取 starts no second read";
    EXPECT_FALSE(Button(rig, 1026)->isEnabled());
    EXPECT_EQ(rig.Panel().findChild<QLabel *>(QStringLiteral("1042"))->text(), "读取 …");

    // The register window's find box takes the typing and draws it; the rows
    // follow it, all while the read still waits.
    RegisterWindowView *window = rig.app->RegisterWindow(0);
    auto *find = window->findChild<QLineEdit *>(QStringLiteral("find"));
    ASSERT_NE(find, nullptr);
    const QImage before = find->grab().toImage();
    find->setFocus();
    QTest::keyClicks(find, "SR");
    QApplication::processEvents();
    EXPECT_EQ(find->text(), "SR");
    EXPECT_NE(find->grab().toImage(), before) << "the typed text is not drawn";
    GridView grid(window->Grid()->Tree());
    EXPECT_TRUE(grid->topLevelItem(0)->child(0)->isHidden()) << "CR is not hidden by the find box";
    EXPECT_TRUE(rig.app->Actions().IsRunning()) << "the read ended before the typing was checked";

    // The link's deadline ends the read with its one message; the panel is
    // ready again.
    ASSERT_TRUE(rig.WaitForActions());
    ASSERT_EQ(rig.messages.size(), 1) << rig.messages.join('|').toStdString();
    EXPECT_TRUE(rig.messages[0].contains("error !")) << rig.messages[0].toStdString();
    EXPECT_TRUE(Button(rig, 1023)->isEnabled());
    EXPECT_NE(rig.Panel().findChild<QLabel *>(QStringLiteral("1042"))->text(), "读取 …");
}

TEST(ResponsiveActionsTest, ALongReadToFileIsCancelledAndSaysHowFarItGot)
{
    SimulatedChip chip("VX21A");
    ASSERT_TRUE(chip.Start());
    AppRig rig(StandardIni(QStringLiteral("UART_PORT=%1\nUART_BAUND=1\n").arg(chip.PortPath()))
                   .replace("DATA_TYPE=0", "DATA_TYPE=2"));
    ASSERT_TRUE(rig.Start());
    rig.chosenFile = rig.Path("memory.bin");
    Type(rig, 1021, "20000000");
    Type(rig, 1024, "800000"); // 8 MiB, the most a file read takes: seconds over the link
    QTest::mouseClick(Button(rig, 1025), Qt::LeftButton);

    QProgressDialog *progress = nullptr;
    QElapsedTimer waited;
    waited.start();
    while (!((progress = rig.Panel().findChild<QProgressDialog *>("progress")) && progress->value() > 0) &&
           waited.elapsed() < 20000)
        QTest::qWait(10);
    ASSERT_TRUE(progress && progress->value() > 0) << (progress ? progress->labelText().toStdString() : "no dialog")
                                                   << " " << rig.messages.join(QChar(124)).toStdString();
    EXPECT_FALSE(progress->isModal()) << "the windows stay usable";
    QPushButton *cancel = progress->findChild<QPushButton *>();
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(cancel->text(), "取消");
    QTest::mouseClick(cancel, Qt::LeftButton);

    ASSERT_TRUE(rig.WaitForActions());
    ASSERT_EQ(rig.messages.size(), 1) << rig.messages.join('|').toStdString();
    EXPECT_TRUE(rig.messages[0].startsWith("transfer stopped after 0x")) << rig.messages[0].toStdString();
    EXPECT_TRUE(rig.messages[0].endsWith(" of 0x800000 Bytes !\n")) << rig.messages[0].toStdString();
    EXPECT_LT(QFileInfo(rig.Path("memory.bin")).size(), 0x800000);
    EXPECT_EQ(rig.Panel().findChild<QProgressDialog *>("progress"), nullptr);

    // The chip was let go as after a finished transfer: the next read works.
    Type(rig, 1024, "10");
    QTest::mouseClick(Button(rig, 1023), Qt::LeftButton);
    ASSERT_TRUE(rig.WaitForActions());
    EXPECT_EQ(rig.messages.size(), 1) << rig.messages.join('|').toStdString();
}

// An edit committed while another target action holds the runner (a slow
// GDB server) is never dropped nor shown as written: its write waits in the
// runner's queue and goes once the action has ended, merged into the word
// read from the chip just before.

#include "AppRig.h"
#include "GridRows.h"

#include "support/FakeGdbServer.h"
#include "widgets/PropertyGrid.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "support/QtTestChecks.h"

namespace {

QLineEdit *OpenEditor(QTreeView *view)
{
    for (QLineEdit *edit : view->viewport()->findChildren<QLineEdit *>())
        if (edit->isVisible())
            return edit;
    return nullptr;
}

void Type(AppRig &rig, int id, const QString &text)
{
    auto *field = rig.Panel().findChild<QLineEdit *>(QString::number(id));
    QTest::mouseClick(field, Qt::LeftButton);
    field->selectAll();
    QTest::keyClicks(field, text);
}

void SetWord(FakeGdbServer &server, uint32_t address, uint32_t word)
{
    for (uint32_t i = 0; i < 4; ++i)
        server.SetByte(address + i, uint8_t(word >> (8 * i)));
}

int WritesSeen(const FakeGdbServer &server)
{
    return server.CountOf("M") + server.CountOf("X");
}

} // namespace

TEST(RegisterWriteQueue, AFieldEditWhileASlowServerHoldsTheRunnerIsWrittenOnceItEnds)
{
    FakeGdbScript script;
    script.fault = FakeGdbScript::Fault::Slow; // the first read is answered late
    script.faultPrefix = "m";
    script.slowMs = 2500;
    FakeGdbServer server(script);
    SetWord(server, 0x40001000, 0x0E003000); // UART0.CR
    AppRig rig(
        StandardIni(QStringLiteral("GDB_SERVER=%1\nEXPAND_TYPE=2\nHEX_DEC=1\nREG_WR=0\n[VX21A]\nWND_0=1\nUART0=1\n")
                        .arg(QString::fromStdString(server.Address())))
            .replace("DATA_TYPE=0", "DATA_TYPE=3"));
    ASSERT_TRUE(rig.Start());
    rig.app->ChildFrame(0)->resize(700, 500);
    QApplication::processEvents();

    // The panel's read waits on the server.
    Type(rig, 1021, "20000000");
    Type(rig, 1024, "10");
    QTest::mouseClick(rig.Panel().findChild<QPushButton *>(QStringLiteral("1023")), Qt::LeftButton);
    ASSERT_TRUE(rig.app->Actions().IsRunning());

    // Meanwhile the user types 3 into CR.MODE, never read, and commits it.
    GridView grid(rig.app->RegisterWindow(0)->Grid()->Tree());
    QTreeView *view = grid.View();
    view->setFocus();
    view->setCurrentIndex(grid->topLevelItem(0).Index());
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(view, Qt::Key_Down);
    GridItem mode = grid->currentItem();
    ASSERT_EQ(mode->text(0), "MODE");
    QTest::keyClick(view, Qt::Key_F2);
    QLineEdit *editor = nullptr;
    QTRY_VERIFY((editor = OpenEditor(view)) != nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "3");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(mode->text(1), QString("0x3"));

    EXPECT_TRUE(rig.app->Actions().IsRunning()) << "the read ended before the edit was checked";
    EXPECT_EQ(rig.app->Actions().QueuedCount(), 1u) << "the write waits for the read";
    EXPECT_EQ(WritesSeen(server), 0);
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('|').toStdString();

    // The read ends; then the write goes, keeping the bits of the word the
    // user did not set.
    ASSERT_TRUE(rig.WaitForActions());
    EXPECT_EQ(rig.app->Actions().QueuedCount(), 0u);
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('|').toStdString();
    EXPECT_EQ(server.Word(0x40001000), 0x0E003030u);
    EXPECT_GE(WritesSeen(server), 1);
    const GridItem cr = mode.parent();
    QTRY_COMPARE(cr->text(1), QString("0x0E003030"));
    EXPECT_FALSE(cr->font(1).bold()) << "written: no longer marked as an edit";
}

// The register window reads nothing the chip table refuses: those rows draw
// "--", as the memory window does, and their tooltip gives the refusal.
TEST(RegisterWindowRefusedReads, RowsTheChipTableRefusesShowDashesAndWhy)
{
    AppRig rig(StandardIni(QStringLiteral("EXPAND_TYPE=2\nHEX_DEC=1\n[VX21A]\nWND_0=1\nEDGE=1\n")));
    rig.WriteFile(QStringLiteral("svd/VX21A.svd"), R"(<?xml version="1.0" encoding="utf-8"?>
<device><name>VX21A</name><peripherals><peripheral><name>EDGE</name><baseAddress>0x000FFFF8</baseAddress>
<registers>
<register><name>A</name><addressOffset>0x0</addressOffset><fields/></register>
<register><name>CACHEDATA</name><addressOffset>0x8</addressOffset>
<fields><field><name>LOW</name><bitOffset>0</bitOffset><bitWidth>8</bitWidth></field></fields></register>
</registers></peripheral></peripherals></device>
)");
    ASSERT_TRUE(rig.Start());
    GridView grid(rig.app->RegisterWindow(0)->Grid()->Tree());
    const GridItem edge = grid->topLevelItem(0);
    ASSERT_EQ(edge->text(0), "EDGE");
    const GridItem a = edge.child(0);
    const GridItem cache = edge.child(1);
    ASSERT_EQ(cache->text(0), "CACHEDATA");
    EXPECT_EQ(a->text(1), "—") << "readable, never read";
    EXPECT_EQ(cache->text(1), "--");
    EXPECT_EQ(cache.child(1)->text(1), "--") << "its fields too";
    const QString tip = cache.Index().siblingAtColumn(1).data(Qt::ToolTipRole).toString();
    EXPECT_TRUE(tip.contains("0x10000000 > ADDR >= 0x100000, please check!")) << tip.toStdString();
}

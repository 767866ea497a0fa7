// From a click to the chip: a peripheral picked into window 0, read from the
// simulated chip over the UART link, one field edited in the grid, and the
// new register value found in the chip's memory; then the peripheral saved
// and imported again from its menu.

#include "GridRows.h"
#include "AppRig.h"

#include "widgets/PropertyGrid.h"
#include "SimulatedChip.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMenu>
#include <QTreeWidget>
#include "support/QtTestChecks.h"

namespace {

GridItem Child(GridItem parent, const QString &nameStart)
{
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->text(0).startsWith(nameStart))
            return parent->child(i);
    return nullptr;
}

} // namespace

TEST(ScenarioTest, PickReadEditAndFindTheValueInTheChip)
{
    SimulatedChip chip("VX21A");
    ASSERT_TRUE(chip.Start());
    chip.PokeWord(0x40001000, 0x000000A5);
    chip.PokeWord(0x40001004, 0x80000000);

    AppRig rig(StandardIni(QStringLiteral("UART_PORT=%1\nUART_BAUND=1\nHEX_DEC=1\nREG_WR=0\nEXPAND_TYPE=2\n"
                                          "[VX21A]\nWND_0=1\n")
                               .arg(chip.PortPath()))
                   .replace("DATA_TYPE=0", "DATA_TYPE=2"));
    ASSERT_TRUE(rig.Start());
    ASSERT_EQ(rig.Frame().ActiveWindowSlot(), 0);

    // Pick UART0 into the active window 0 with the row's check box.
    PeripheralList &list = rig.Peripherals();
    list.resize(365, 200);
    const QRect cell = list.visualItemRect(list.FindRow("UART0"));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 10, cell.center().y()));
    EXPECT_EQ(rig.ReadInt("VX21A", "UART0"), 1);

    RegisterWindowView *window = rig.app->RegisterWindow(0);
    GridView grid(window->Grid()->Tree());
    ASSERT_EQ(grid->topLevelItemCount(), 1);
    GridItem uart = grid->topLevelItem(0);
    ASSERT_EQ(uart->text(0), "UART0");

    // Right click on the peripheral row, "寄存器读取" from its menu.
    QStringList offered;
    window->menuExec = [&](QMenu &menu, const QPoint &) -> QAction * {
        QAction *read = nullptr;
        for (QAction *action : menu.actions()) {
            offered << action->text();
            if (action->text() == "寄存器读取")
                read = action;
        }
        return read;
    };
    const QRect row = grid->visualItemRect(uart);
    RightClick(grid->viewport(), row.center());
    ASSERT_TRUE(rig.WaitForActions());
    EXPECT_EQ(offered, (QStringList{"导入数据", "保存数据", "寄存器读取", "寄存器写入", "复制地址"}));
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('|').toStdString();

    GridItem cr = Child(uart, "CR");
    ASSERT_NE(cr, nullptr);
    EXPECT_TRUE(cr->text(1).endsWith("0x000000A5")) << cr->text(0).toStdString();
    GridItem mode = Child(cr, "MODE");
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->text(1), "0xA");
    EXPECT_TRUE(Child(uart, "SR")->text(1).endsWith("0x80000000"));
    EXPECT_EQ(QFileInfo(rig.Path("data/VX21A/UART0.bin")).size(), 8);

    // Edit MODE in place to 5, as a person does: a click on its value opens
    // the editor. Written to the chip at once.
    auto editField = [&](GridItem field, const QString &text) {
        grid->scrollToItem(field);
        const QRect value = grid->visualRect(grid->indexFromItem(field, 1));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, value.center());
        QLineEdit *editor = nullptr;
        QTRY_VERIFY((editor = grid->findChild<QLineEdit *>()) != nullptr && editor->isVisible());
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
    };
    editField(mode, "5");
    QElapsedTimer timer;
    timer.start();
    while (chip.PeekWord(0x40001000) != 0x55 && timer.elapsed() < 10000)
        QTest::qWait(20);
    EXPECT_EQ(chip.PeekWord(0x40001000), 0x55u);
    ASSERT_TRUE(rig.WaitForActions());
    EXPECT_TRUE(cr->text(1).endsWith("0x00000055")) << cr->text(0).toStdString();
    EXPECT_EQ(Child(cr, "VALUE~")->text(1), "0x00000055");
    EXPECT_EQ(chip.PeekWord(0x40001004), 0x80000000u); // only the edited register went out
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('|').toStdString();

    // Save the peripheral from its menu, change MODE again, import the
    // saved file: the saved value is back in the rows.
    auto choose = [&](const QString &entry) {
        window->menuExec = [entry](QMenu &menu, const QPoint &) -> QAction * {
            for (QAction *action : menu.actions())
                if (action->text() == entry)
                    return action;
            return nullptr;
        };
        grid->scrollToItem(uart);
        RightClick(grid->viewport(), grid->visualItemRect(uart).center());
    };
    rig.chosenFile = rig.Path("uart0-saved.bin");
    choose("保存数据");
    QFile saved(rig.chosenFile);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.read(1), QByteArray(1, char(0x55)));
    editField(Child(cr, "MODE"), "3");
    QTRY_VERIFY(cr->text(1).endsWith("0x00000035"));
    choose("导入数据");
    EXPECT_TRUE(cr->text(1).endsWith("0x00000055")) << cr->text(0).toStdString();
    EXPECT_EQ(Child(cr, "MODE")->text(1), "0x5"); // in the window's base
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('|').toStdString();
}

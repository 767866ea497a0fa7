// The peripheral list: sorted rows, marks from the masks, and the gestures
// that keep the list, the masks and the register windows in step.

#include "GridRows.h"
#include "AppRig.h"

#include "widgets/PropertyGrid.h"

#include <QTreeWidget>

namespace {

QStringList Rows(const PeripheralList &list)
{
    QStringList rows;
    for (int i = 0; i < list.RowCount(); ++i) {
        const QTreeWidgetItem *item = list.Row(i);
        QString row = item->text(0) + (item->checkState(0) == Qt::Checked ? "+" : "-");
        for (int column = 1; column <= 4; ++column)
            row += item->text(column).isEmpty() ? "." : "v";
        rows << row;
    }
    return rows;
}

QStringList GridRows(RegisterWindowView *window)
{
    QStringList names;
    GridView grid(window->Grid()->Tree());
    for (int i = 0; i < grid->topLevelItemCount(); ++i)
        names << grid->topLevelItem(i)->text(0);
    return names;
}

} // namespace

TEST(PeripheralListTest, RowsAreSortedWithTheirMarks)
{
    AppRig rig(StandardIni(QStringLiteral("[VX21A]\nUART0=5\nadc2=8\nGPIO=0\n")));
    ASSERT_TRUE(rig.Start());
    // Code-unit order: upper case before lower case.
    EXPECT_EQ(Rows(rig.Peripherals()), (QStringList{"ADC-....", "GPIO-....", "UART0+v.v.", "adc2+...v"}));
    QTreeWidget &list = rig.Peripherals();
    EXPECT_EQ(list.headerItem()->text(0), "IP list");
    EXPECT_EQ(list.headerItem()->text(4), "3");
    EXPECT_EQ(list.columnWidth(0), rig.app->Scaled(160));
    EXPECT_EQ(list.columnWidth(1), rig.app->Scaled(40));
}

TEST(PeripheralListTest, TickingWithoutActiveWindowWritesNothing)
{
    AppRig rig;
    ASSERT_TRUE(rig.Start());
    const QByteArray before = [&] {
        QFile file(rig.Path("Corvane.ini"));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }();
    rig.Peripherals().CheckBoxClicked(rig.Peripherals().FindRow("GPIO"));
    EXPECT_EQ(rig.Peripherals().FindRow("GPIO")->checkState(0), Qt::Unchecked);
    QFile file(rig.Path("Corvane.ini"));
    file.open(QIODevice::ReadOnly);
    EXPECT_EQ(file.readAll(), before);
}

TEST(PeripheralListTest, TickAndUntickFollowTheActiveWindow)
{
    AppRig rig(StandardIni(QStringLiteral("[VX21A]\nWND_2=1\n")));
    ASSERT_TRUE(rig.Start());
    PeripheralList &list = rig.Peripherals();
    list.CheckBoxClicked(list.FindRow("UART0"));
    EXPECT_EQ(rig.ReadInt("VX21A", "UART0"), 4);
    EXPECT_EQ(Rows(list).at(2), "UART0+..v.");
    EXPECT_EQ(GridRows(rig.app->RegisterWindow(2)), QStringList{"UART0"});

    list.CheckBoxClicked(list.FindRow("UART0"));
    EXPECT_EQ(rig.ReadInt("VX21A", "UART0", -1), -1); // the key is gone
    EXPECT_EQ(Rows(list).at(2), "UART0-....");
    EXPECT_TRUE(GridRows(rig.app->RegisterWindow(2)).isEmpty());
}

TEST(PeripheralListTest, DoubleClickTogglesOneWindowsMark)
{
    AppRig rig(StandardIni(QStringLiteral("[VX21A]\nWND_0=1\nWND_1=1\n")));
    ASSERT_TRUE(rig.Start());
    PeripheralList &list = rig.Peripherals();
    QTreeWidgetItem *gpio = list.FindRow("GPIO");
    // Column 3 is slot 2, which has no window: nothing.
    list.CellDoubleClicked(gpio, 3);
    EXPECT_EQ(rig.ReadInt("VX21A", "GPIO", -1), -1);
    list.CellDoubleClicked(gpio, 1);
    list.CellDoubleClicked(gpio, 2);
    EXPECT_EQ(rig.ReadInt("VX21A", "GPIO"), 3);
    EXPECT_EQ(Rows(list).at(1), "GPIO+vv..");
    EXPECT_EQ(GridRows(rig.app->RegisterWindow(0)), QStringList{"GPIO"});
    EXPECT_EQ(GridRows(rig.app->RegisterWindow(1)), QStringList{"GPIO"});
    list.CellDoubleClicked(gpio, 1);
    EXPECT_EQ(rig.ReadInt("VX21A", "GPIO"), 2);
    EXPECT_TRUE(GridRows(rig.app->RegisterWindow(0)).isEmpty());
    list.CellDoubleClicked(gpio, 2);
    EXPECT_EQ(rig.ReadInt("VX21A", "GPIO", -1), -1);
    EXPECT_EQ(Rows(list).at(1), "GPIO-....");
}

TEST(PeripheralListTest, ClosingWindowsRemovesTheirMarks)
{
    AppRig rig(StandardIni(QStringLiteral("[VX21A]\nWND_0=1\nWND_1=1\nADC=3\n")));
    ASSERT_TRUE(rig.Start());
    rig.app->ChildFrame(0)->close();
    rig.Settle();
    EXPECT_EQ(Rows(rig.Peripherals()).at(0), "ADC+.v..");
    EXPECT_EQ(rig.ReadInt("VX21A", "ADC"), 2);
    rig.app->ChildFrame(1)->close();
    rig.Settle();
    EXPECT_EQ(Rows(rig.Peripherals()).at(0), "ADC-....");
    EXPECT_EQ(rig.ReadInt("VX21A", "ADC", -1), -1);
}

TEST(PeripheralListTest, MouseOnTheCheckBoxSeesTheStateBeforeTheClick)
{
    AppRig rig(StandardIni(QStringLiteral("[VX21A]\nWND_3=1\n")));
    ASSERT_TRUE(rig.Start());
    PeripheralList &list = rig.Peripherals();
    list.resize(365, 200);
    QTreeWidgetItem *adc = list.FindRow("ADC");
    const QRect cell = list.visualItemRect(adc);
    // Clicking the label does nothing; the box at the row's left edge ticks.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 80, cell.center().y()));
    EXPECT_EQ(adc->checkState(0), Qt::Unchecked);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 10, cell.center().y()));
    EXPECT_EQ(adc->checkState(0), Qt::Checked);
    EXPECT_EQ(rig.ReadInt("VX21A", "ADC"), 8);
}

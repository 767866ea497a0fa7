// The control panel: set-up from the file, selections written at once, the
// data source's controls, the chip change, the window boxes and the port lists.

#include "AppRig.h"

#include "GridRows.h"
#include "app/PortLists.h"
#include "widgets/PropertyGrid.h"

#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace {

QString ChipSections()
{
    return QStringLiteral("[VX21A]\nWND_0=1\nUART0=1\n[VX21C]\nWND_2=1\n");
}

} // namespace

TEST(PanelTest, SetUpFillsTheListsAndRepairsSel)
{
    AppRig rig(StandardIni(QStringLiteral("JLINK_BAUND=3\nUART_BAUND=9\nEXPAND_TYPE=1\nHEX_DEC=1\nREG_WR=1\n"))
                   .replace("SEL=0", "SEL=7"));
    ASSERT_TRUE(rig.Start());
    QComboBox *chip = rig.List(1001);
    ASSERT_EQ(chip->count(), 5);
    EXPECT_EQ(chip->itemText(4), "VX21E");
    EXPECT_EQ(chip->currentIndex(), 0);
    EXPECT_EQ(rig.ReadInt("CHIP_TYPE", "SEL"), 0);
    EXPECT_EQ(rig.List(1003)->currentText(), "4000");
    EXPECT_EQ(rig.List(1005)->count(), 7);
    EXPECT_EQ(rig.List(1005)->currentIndex(), 0); // 9 is past the list: entry 0, nothing written
    EXPECT_EQ(rig.ReadInt("COMMON", "UART_BAUND"), 9);
    EXPECT_EQ(rig.List(1020)->currentText(), "展开2级");
    EXPECT_EQ(rig.List(1032)->currentText(), "HEX");
    EXPECT_EQ(rig.List(1033)->currentText(), "右键菜单写入");
    EXPECT_EQ(rig.List(1007)->currentText(), "离线数据");
    EXPECT_TRUE(rig.Control(1031)->isHidden());
    EXPECT_EQ(rig.Panel().findChild<QPushButton *>("1019")->text(), "数据读取");
}

TEST(PanelTest, UnknownDataSourceIsWrittenAsMinusOneAndShowsTheSerialLists)
{
    AppRig rig(StandardIni().replace("DATA_TYPE=0", "DATA_TYPE=5"));
    ASSERT_TRUE(rig.Start());
    EXPECT_EQ(rig.List(1007)->currentIndex(), -1);
    EXPECT_EQ(rig.ReadInt("COMMON", "DATA_TYPE"), -1);
    EXPECT_FALSE(rig.List(1004)->isHidden());
    EXPECT_FALSE(rig.List(1005)->isHidden());
    EXPECT_TRUE(rig.List(1002)->isHidden());
}

TEST(PanelTest, DataSourceShowsAndHidesItsControls)
{
    struct Case
    {
        int entry;
        bool labels, jlink, uart, registerWrite;
    };
    const QList<Case> cases{
        {0, false, false, false, false},
        {1, true, true, false, true},
        {2, true, false, true, true},
    };
    AppRig rig;
    ASSERT_TRUE(rig.Start());
    for (const Case &c : cases) {
        rig.Pick(1007, c.entry);
        EXPECT_EQ(rig.ReadInt("COMMON", "DATA_TYPE"), c.entry);
        EXPECT_EQ(!rig.Control(1016)->isHidden(), c.labels) << c.entry;
        EXPECT_EQ(!rig.Control(1017)->isHidden(), c.labels) << c.entry;
        EXPECT_EQ(!rig.Control(1002)->isHidden(), c.jlink) << c.entry;
        EXPECT_EQ(!rig.Control(1003)->isHidden(), c.jlink) << c.entry;
        EXPECT_EQ(!rig.Control(1004)->isHidden(), c.uart) << c.entry;
        EXPECT_EQ(!rig.Control(1005)->isHidden(), c.uart) << c.entry;
        EXPECT_EQ(!rig.Control(1036)->isHidden(), c.registerWrite) << c.entry;
        EXPECT_EQ(!rig.Control(1033)->isHidden(), c.registerWrite) << c.entry;
    }
    EXPECT_EQ(rig.Panel().DataSourceEntry(), 2);
}

TEST(PanelTest, EverySelectionIsWrittenAtOnce)
{
    struct Case
    {
        int list;
        int entry;
        const char *key;
        int expected;
    };
    const QList<Case> cases{
        {1003, 6, "JLINK_BAUND", 6}, {1005, 4, "UART_BAUND", 4}, {1020, 2, "EXPAND_TYPE", 2},
        {1032, 1, "HEX_DEC", 1},     {1033, 1, "REG_WR", 1},
    };
    AppRig rig;
    ASSERT_TRUE(rig.Start());
    for (const Case &c : cases) {
        rig.Pick(c.list, c.entry);
        EXPECT_EQ(rig.ReadInt("COMMON", c.key), c.expected) << c.key;
    }
    EXPECT_EQ(rig.Panel().NumberBaseEntry(), 1);
    EXPECT_EQ(rig.Panel().RegisterWriteModeEntry(), 1);
}

TEST(PanelTest, ChipChangeRebuildsAndOpensTheNewChipsWindows)
{
    AppRig rig(StandardIni(ChipSections()));
    ASSERT_TRUE(rig.Start());
    ASSERT_NE(rig.app->RegisterWindow(0), nullptr);
    EXPECT_EQ(rig.Peripherals().RowCount(), 4);

    // The chip already selected: nothing happens.
    rig.Pick(1001, 0);
    EXPECT_EQ(rig.app->RegisterWindow(2), nullptr);

    rig.Pick(1001, 2);
    EXPECT_EQ(rig.ReadInt("CHIP_TYPE", "SEL"), 2);
    EXPECT_EQ(rig.Panel().ChipModel(), "VX21C");
    EXPECT_EQ(rig.Peripherals().RowCount(), 0); // no svd/VX21C.svd here
    // Window 0 stays open with its slot and is rebuilt (empty for VX21C).
    ASSERT_NE(rig.app->RegisterWindow(0), nullptr);
    EXPECT_EQ(GridView(rig.app->RegisterWindow(0)->Grid()->Tree())->topLevelItemCount(), 0);
    ASSERT_NE(rig.app->RegisterWindow(2), nullptr);
    EXPECT_TRUE(rig.Box(2)->isChecked());
    EXPECT_FALSE(rig.Box(2)->isEnabled());
}

TEST(PanelTest, WindowBoxOpensItsSlotAndClosingSlotClearsIt)
{
    AppRig rig(StandardIni(QStringLiteral("[VX21A]\nGPIO=3\nADC=2\n")));
    ASSERT_TRUE(rig.Start());
    QTest::mouseClick(rig.Box(0), Qt::LeftButton);
    ASSERT_NE(rig.app->RegisterWindow(0), nullptr);
    EXPECT_EQ(rig.ReadInt("VX21A", "WND_0"), 1);
    EXPECT_TRUE(rig.Box(0)->isChecked());
    EXPECT_FALSE(rig.Box(0)->isEnabled());
    // The window shows GPIO (bit 0 of its mask), not ADC.
    GridView grid(rig.app->RegisterWindow(0)->Grid()->Tree());
    ASSERT_EQ(grid->topLevelItemCount(), 1);
    EXPECT_EQ(grid->topLevelItem(0)->text(0), "GPIO");

    rig.app->ChildFrame(0)->close();
    rig.Settle();
    EXPECT_EQ(rig.ReadInt("VX21A", "WND_0"), 0);
    EXPECT_FALSE(rig.Box(0)->isChecked());
    EXPECT_TRUE(rig.Box(0)->isEnabled());
    EXPECT_EQ(rig.ReadInt("VX21A", "GPIO"), 2);
    EXPECT_EQ(rig.ReadInt("VX21A", "ADC"), 2);
}

TEST(PanelTest, ExpandLevelAppliesToOpenWindows)
{
    AppRig rig(StandardIni(QStringLiteral("[VX21A]\nWND_1=1\nUART0=2\n")));
    ASSERT_TRUE(rig.Start());
    GridView grid(rig.app->RegisterWindow(1)->Grid()->Tree());
    ASSERT_EQ(grid->topLevelItemCount(), 1);
    GridItem uart = grid->topLevelItem(0);
    ASSERT_EQ(uart->childCount(), 2);
    EXPECT_FALSE(uart->isExpanded());
    struct Case
    {
        int level;
        bool peripheral, registers;
    };
    for (const Case &c : QList<Case>{{1, true, false}, {2, true, true}, {0, false, false}}) {
        rig.Pick(1020, c.level);
        EXPECT_EQ(uart->isExpanded(), c.peripheral) << c.level;
        EXPECT_EQ(uart->child(0)->isExpanded(), c.registers) << c.level;
        EXPECT_EQ(uart->child(1)->isExpanded(), c.registers) << c.level;
    }
}

// A new number base redraws every row at once; the rows the person opened
// and closed, and the current row, stay as they were.
TEST(PanelTest, NumberBaseKeepsOpenRowsAndTheCurrentRow)
{
    AppRig rig(StandardIni(QStringLiteral("EXPAND_TYPE=0\nHEX_DEC=0\n[VX21A]\nWND_1=1\nUART0=2\n")));
    ASSERT_TRUE(rig.Start());
    QTreeView *view = rig.app->RegisterWindow(1)->Grid()->Tree();
    GridView grid(view);
    ASSERT_EQ(grid->topLevelItemCount(), 1);
    GridItem uart = grid->topLevelItem(0);
    view->setFocus();
    view->setCurrentIndex(uart.Index());
    QTest::keyClick(view, Qt::Key_Right);
    GridItem cr = uart->child(0);
    view->setCurrentIndex(cr.Index());
    QTest::keyClick(view, Qt::Key_Right);
    ASSERT_TRUE(cr.isExpanded());
    const QString current = cr->child(2)->text(0);
    view->setCurrentIndex(cr->child(2).Index());
    for (int base : {1, 0, 1}) {
        SCOPED_TRACE(base);
        rig.Pick(1032, base);
        QApplication::processEvents();
        uart = grid->topLevelItem(0);
        cr = uart->child(0);
        EXPECT_TRUE(uart.isExpanded());
        EXPECT_TRUE(cr.isExpanded());
        EXPECT_FALSE(uart->child(1).isExpanded());
        EXPECT_EQ(GridItem(view, view->currentIndex())->text(0), current);
    }
}

TEST(PortListsTest, SerialPortTextsLeaveTheProbeOutInNaturalOrder)
{
    const QList<SerialPortEntry> ports{
        {"/dev/ttyUSB10", "", ""},
        {"/dev/ttyUSB2", "", ""},
        {"/dev/ttyACM0", "JLink CDC UART Port", "SEGGER"},
        {"/dev/ttyACM1", "CDC", "SEGGER J-Link"},
        {"/dev/ttyUSB0", "FT232R", "FTDI"},
        {"/dev/ttyACM3", "", ""},
    };
    EXPECT_EQ(PortLists::SerialPortTexts(ports, QString()),
              (QStringList{"/dev/ttyACM3", "/dev/ttyUSB0", "/dev/ttyUSB2", "/dev/ttyUSB10"}));
    QList<SerialPortEntry> many;
    for (int i = 0; i < 250; ++i)
        many.append({QStringLiteral("/dev/ttyS%1").arg(i), "", ""});
    const QStringList capped = PortLists::SerialPortTexts(many, QString());
    EXPECT_EQ(capped.size(), PortLists::kMaxSerialPorts);
    EXPECT_EQ(capped.last(), "/dev/ttyS199");
}

TEST(PortListsTest, StoredPortGoneIsRepairedToTheFirst)
{
    AppRig rig(StandardIni(QStringLiteral("UART_PORT=/dev/ttyUSB9\n")));
    rig.ports = {{"/dev/ttyUSB12", "", ""}, {"/dev/ttyUSB3", "", ""}};
    ASSERT_TRUE(rig.Start());
    QComboBox *list = rig.List(1004);
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0), "/dev/ttyUSB3");
    EXPECT_EQ(list->itemText(1), "/dev/ttyUSB12");
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(rig.Config().ReadText("COMMON", "UART_PORT", "", 49), "/dev/ttyUSB3");

    // Stored and present (case ignored): selected, nothing rewritten.
    rig.Config().WriteText("COMMON", "UART_PORT", "/DEV/TTYUSB12");
    list->showPopup();
    list->hidePopup();
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(rig.Config().ReadText("COMMON", "UART_PORT", "", 49), "/DEV/TTYUSB12");

    // The user's pick is written at once.
    rig.Pick(1004, 0);
    EXPECT_EQ(rig.Config().ReadText("COMMON", "UART_PORT", "", 49), "/dev/ttyUSB3");
}

TEST(PortListsTest, NothingStoredLeavesNoSelectionAndAPseudoTerminalIsKept)
{
    AppRig rig(StandardIni(QStringLiteral("UART_PORT=/dev/ptmx\nJLINK_PORT=\n")).replace("JLINK_PORT=123456\n", ""));
    rig.ports = {{"/dev/ttyUSB0", "", ""}};
    ASSERT_TRUE(rig.Start());
    // /dev/ptmx is a character device the enumeration does not report.
    EXPECT_EQ(rig.List(1004)->currentText(), "/dev/ptmx");
    EXPECT_EQ(rig.Config().ReadText("COMMON", "UART_PORT", "", 49), "/dev/ptmx");
    // The probe list shows the stand-in's probe without a selection.
    ASSERT_EQ(rig.List(1002)->count(), 1);
    EXPECT_EQ(rig.List(1002)->itemText(0), "123456");
    EXPECT_EQ(rig.List(1002)->currentIndex(), -1);
}

TEST(PortListsTest, StoredProbeGoneIsRepaired)
{
    AppRig rig(StandardIni().replace("JLINK_PORT=123456", "JLINK_PORT=777"));
    ASSERT_TRUE(rig.Start());
    EXPECT_EQ(rig.List(1002)->currentText(), "123456");
    EXPECT_EQ(rig.Config().ReadText("COMMON", "JLINK_PORT", "", 49), "123456");
    EXPECT_EQ(rig.Panel().ProbeText(), "123456");
}

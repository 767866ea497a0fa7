// The memory window as a person uses it over the simulated chip: opened from
// the panel, the frame's menu and Ctrl+M; rows read off the window's thread;
// moved through with keys and the mouse; units typed over, undone and
// refused; watched; register names beside the bytes opening their
// peripheral; find, history, saving and loading files. Screenshots of every
// look are kept in bin/.

#include "AppRig.h"
#include "DrawnPixels.h"
#include "MemRig.h"

#include "SimulatedChip.h"
#include "app/Looks.h"
#include "app/MemoryHexArea.h"
#include "app/MemoryWindow.h"
#include "app/RegisterWindowTools.h"
#include "link/LinkCycle.h"
#include "regmap/RegisterWindow.h"
#include "support/FakeUser.h"
#include "support/QemuBoard.h"
#include "support/TestFiles.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QToolButton>

namespace {

QList<int> AllLooks()
{
    QList<int> ids;
    for (const Looks::MenuEntry &entry : Looks::MainEntries())
        ids << entry.id;
    for (const Looks::MenuEntry &entry : Looks::Office2007Entries())
        ids << entry.id;
    ids << Looks::kWindows7;
    return ids;
}

} // namespace

TEST(MemoryWindowTest, OpensFromThePanelButtonTheFramesMenuAndCtrlMSeveralAtOnce)
{
    MemRig mem;
    ASSERT_TRUE(mem.Start());
    QPushButton *button = mem.rig.Panel().findChild<QPushButton *>("1043");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "内存窗口");

    // The frame's menu over the empty document area.
    mem.rig.Frame().frameMenuExec = [](QMenu &menu, const QPoint &) {
        for (QAction *action : menu.actions())
            if (action->text() == "内存窗口(&M)\tCtrl+M")
                action->trigger();
    };
    QWidget *area = mem.rig.Frame().DocumentArea().viewport();
    RightClick(area, QPoint(20, area->height() - 20));
    ASSERT_EQ(mem.rig.app->MemoryWindows().size(), 1);

    QTest::keyClick(&mem.rig.Frame(), Qt::Key_M, Qt::ControlModifier);
    ASSERT_EQ(mem.rig.app->MemoryWindows().size(), 2);

    // The panel's button opens at the read address when one is typed.
    mem.rig.Panel().findChild<QLineEdit *>("1021")->setText("40001000");
    MemoryWindow *third = mem.Open();
    ASSERT_NE(third, nullptr);
    EXPECT_EQ(third->View().Cursor(), kUartCr);

    QStringList titles;
    for (MemoryWindow *window : mem.rig.app->MemoryWindows())
        titles << window->Title();
    EXPECT_EQ(titles, QStringList({"memory_1", "memory_2", "memory_3"}));
    EXPECT_EQ(mem.rig.Frame().windowTitle(), "Corvane v2.3 - memory_3");
    EXPECT_EQ(mem.rig.app->MemoryWindows().first()->View().Cursor(), kRam);
    // A closed one's number is taken by the next.
    mem.rig.app->MemoryWindows().at(1)->parentWidget()->close();
    mem.rig.Settle();
    QTest::keyClick(&mem.rig.Frame(), Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(mem.rig.app->MemoryWindows().last()->Title(), "memory_2");
    EXPECT_TRUE(mem.rig.messages.isEmpty()) << mem.rig.messages.join('|').toStdString();
}

// The memory windows open when the application closes open again at its
// next start, each at the address it went to last; one the user closed
// does not.
TEST(MemoryWindowTest, OpenWindowsComeBackAtTheNextStartWhereTheyWent)
{
    MemRig mem;
    ASSERT_TRUE(mem.Start());
    MemoryWindow *first = mem.Open();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(mem.rig.Config().ReadText("COMMON", "MEM_WND_1", "", 50), "20000000");
    MemRig::GoTo(first, "UART0.SR");
    EXPECT_EQ(mem.rig.Config().ReadText("COMMON", "MEM_WND_1", "", 50), "40001004");
    MemoryWindow *second = mem.Open();
    MemoryWindow *third = mem.Open();
    ASSERT_TRUE(second && third);
    MemRig::GoTo(third, "GPIO");
    second->parentWidget()->close();
    mem.rig.Settle();
    EXPECT_EQ(mem.rig.Config().ReadText("COMMON", "MEM_WND_2", "none", 50), "none");
    mem.rig.Quit();
    EXPECT_EQ(mem.rig.Config().ReadText("COMMON", "MEM_WND_1", "", 50), "40001004");
    EXPECT_EQ(mem.rig.Config().ReadText("COMMON", "MEM_WND_3", "", 50), "40002000");

    ASSERT_TRUE(mem.Start());
    QStringList shown;
    for (MemoryWindow *window : mem.rig.app->MemoryWindows())
        shown << QStringLiteral("%1 %2").arg(window->Title()).arg(window->View().Cursor(), 0, 16);
    EXPECT_EQ(shown, QStringList({"memory_1 40001004", "memory_3 40002000"}));
    // The rows read at once, the register names beside them.
    MemoryWindow *reopened = mem.rig.app->MemoryWindows().first();
    MemRig::Settle(reopened);
    EXPECT_EQ(reopened->View().UnitText(kUartCr), "21");
    EXPECT_TRUE(reopened->Hex()->MarginNameRect(kUartCr + 4).isValid());
    EXPECT_TRUE(mem.rig.messages.isEmpty()) << mem.rig.messages.join('|').toStdString();
}

// The window's thread goes on taking keys while a slow reply is awaited;
// only the rows shown are read, in transfers of whole rows, and refused
// windows are drawn "--" without a read.
TEST(MemoryWindowTest, ReadsTheRowsShownOffTheWindowsThreadAndDrawsRefusedWindows)
{
    MemRig mem;
    ASSERT_TRUE(mem.Start());
    MemoryWindow *window = mem.Open();
    ASSERT_NE(window, nullptr);
    MemoryView &view = window->View();
    EXPECT_EQ(view.UnitText(kRam), "00");
    EXPECT_EQ(view.UnitText(kRam + 2), "DE");
    EXPECT_EQ(view.UnitText(kRam + 0x13), "C0");
    EXPECT_EQ(view.First(), kRam);
    EXPECT_GE(view.RowsShown(), 16);

    mem.chip.InjectDelay(300, 1); // within the deadline of the reply to the enter request
    MemRig::Key(window, Qt::Key_PageDown);
    EXPECT_GT(window->Outstanding(), 0) << "the read runs";
    MemRig::Key(window, Qt::Key_Down);
    MemRig::Key(window, Qt::Key_End);
    EXPECT_GT(window->Outstanding(), 0) << "keys were taken while the read ran";
    const uint32_t page = uint32_t(view.RowsShown()) * 16;
    EXPECT_EQ(view.Cursor(), kRam + page + 16 + 15);
    MemRig::Settle(window);
    EXPECT_EQ(view.UnitText(kRam + page + 16), QString::asprintf("%02X", ((page + 16) / 4) & 0xFF));

    // Into the chip table's refused window: drawn "--", never read.
    mem.chip.ClearRecord();
    MemRig::GoTo(window, "FFFF0");
    EXPECT_EQ(view.UnitText(0x000FFFF0), "00");
    EXPECT_EQ(view.UnitText(0x00100000), "--");
    EXPECT_EQ(view.UnitText(0x00100000 + 16 * 10), "--");
    // One read: the rows before the window.
    EXPECT_EQ(mem.chip.ReceivedFrames().size(), 3) << "enter, one read, leave";
    const QImage shot = window->Hex()->viewport()->grab().toImage();
    const QRect refused = window->Hex()->UnitRect(0x00100010);
    EXPECT_TRUE(DrawnIn(shot, refused, MemoryHexArea::MarkColour(window->Hex()->palette())));
}

TEST(MemoryWindowTest, KeysMoveTheCursorAndTheAddressBoxTakesNamesWithHistory)
{
    MemRig mem;
    ASSERT_TRUE(mem.Start());
    MemoryWindow *window = mem.Open();
    ASSERT_NE(window, nullptr);
    MemoryView &view = window->View();
    struct Step
    {
        Qt::Key key;
        uint32_t cursor;
    };
    const Step steps[] = {{Qt::Key_Right, kRam + 1},  {Qt::Key_End, kRam + 15},
                          {Qt::Key_Right, kRam + 16}, {Qt::Key_Home, kRam + 16},
                          {Qt::Key_Up, kRam},         {Qt::Key_Left, kRam - 1},
                          {Qt::Key_Down, kRam + 15},  {Qt::Key_PageUp, kRam + 15 - 16 * uint32_t(view.RowsShown())}};
    for (const Step &step : steps) {
        MemRig::Key(window, step.key);
        EXPECT_EQ(view.Cursor(), step.cursor) << std::hex << step.cursor;
    }
    EXPECT_EQ(MemRig::Tool<QLabel>(window, "status")->text(),
              QStringLiteral("0x%1").arg(view.Cursor(), 8, 16, QChar(u'0')).toUpper().replace("0X", "0x"));

    // Ctrl+G: a register's name, then the SVD's peripheral, then a number.
    MemRig::GoTo(window, "UART0.SR");
    EXPECT_EQ(view.Cursor(), kUartCr + 4);
    EXPECT_EQ(MemRig::Tool<QLabel>(window, "status")->text(), "0x40001004  UART0.SR");
    MemRig::GoTo(window, "gpio");
    EXPECT_EQ(view.Cursor(), 0x40002000u);
    MemRig::GoTo(window, "0x2000 0040");
    EXPECT_EQ(view.Cursor(), 0x20000040u);
    MemRig::GoTo(window, "NOWHERE");
    EXPECT_EQ(mem.rig.messages, QStringList{"no address NOWHERE, please check!"});
    EXPECT_EQ(view.Cursor(), 0x20000040u);

    // Back and forward, by keys and by the buttons.
    MemRig::Key(window, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(view.Cursor(), 0x40002000u);
    QTest::mouseClick(MemRig::Tool<QToolButton>(window, "back"), Qt::LeftButton);
    EXPECT_EQ(view.Cursor(), kUartCr + 4);
    QTest::mouseClick(MemRig::Tool<QToolButton>(window, "forward"), Qt::LeftButton);
    MemRig::Key(window, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(view.Cursor(), 0x20000040u);
    EXPECT_FALSE(MemRig::Tool<QToolButton>(window, "forward")->isEnabled());
    // The box lists where the window went, the newest first.
    auto *box = MemRig::Tool<QComboBox>(window, "address");
    EXPECT_EQ(box->itemText(0), "20000040");

    // A name picked from the completer's list: one step, there.
    const std::size_t visited = window->History().Entries().size();
    mem.rig.messages.clear();
    MemRig::Key(window, Qt::Key_G, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "uart0.s");
    QAbstractItemView *list = box->completer()->popup();
    ASSERT_TRUE(list->isVisible());
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    MemRig::Settle(window);
    EXPECT_EQ(view.Cursor(), kUartCr + 4);
    EXPECT_EQ(window->History().Entries().size(), visited + 1);
    EXPECT_TRUE(mem.rig.messages.isEmpty()) << mem.rig.messages.join('|').toStdString();
}

TEST(MemoryWindowTest, TypedDigitsWriteAUnitAtOnceEscapeCancelsAndCtrlZWritesTheOldValueBack)
{
    MemRig mem;
    ASSERT_TRUE(mem.Start());
    MemoryWindow *window = mem.Open();
    ASSERT_NE(window, nullptr);
    MemoryView &view = window->View();

    // A byte over the UART link: the word is read, merged and written.
    MemRig::ClickUnit(window, kRam + 5);
    EXPECT_EQ(view.Cursor(), kRam + 5);
    MemRig::Type(window, "a");
    EXPECT_EQ(window->Hex()->Edit()->Text(), "A0") << "the digit typed, the rest as it was";
    MemRig::Type(window, "b");
    MemRig::Settle(window);
    EXPECT_EQ(mem.chip.PeekWord(kRam + 4), 0xC0DEAB01u);
    EXPECT_EQ(view.UnitText(kRam + 5), "AB") << "read back";
    EXPECT_EQ(view.Cursor(), kRam + 6) << "on to the next unit";

    // Escape leaves the chip alone.
    mem.chip.ClearRecord();
    MemRig::Type(window, "7");
    MemRig::Key(window, Qt::Key_Escape);
    MemRig::Settle(window);
    EXPECT_FALSE(window->Hex()->Edit());
    EXPECT_TRUE(mem.chip.ReceivedFrames().isEmpty());
    EXPECT_EQ(view.UnitText(kRam + 6), "DE");

    // A 32-bit unit, then undone.
    window->findChild<QComboBox *>("unit")->setCurrentIndex(2);
    emit window->findChild<QComboBox *>("unit")->activated(2);
    MemRig::ClickUnit(window, kRam + 8);
    MemRig::Type(window, "12345678");
    MemRig::Settle(window);
    EXPECT_EQ(mem.chip.PeekWord(kRam + 8), 0x12345678u);
    EXPECT_EQ(view.UnitText(kRam + 8), "12345678");
    MemRig::Key(window, Qt::Key_Z, Qt::ControlModifier);
    MemRig::Settle(window);
    EXPECT_EQ(mem.chip.PeekWord(kRam + 8), 0xC0DE0002u);
    EXPECT_EQ(view.UnitText(kRam + 8), "C0DE0002");
    MemRig::Key(window, Qt::Key_Z, Qt::ControlModifier);
    MemRig::Settle(window);
    EXPECT_EQ(mem.chip.PeekWord(kRam + 4), 0xC0DE0001u) << "the byte written before";
    EXPECT_TRUE(mem.rig.messages.isEmpty()) << mem.rig.messages.join('|').toStdString();

    // Refused by the chip table: its message, the old value stays.
    MemRig::GoTo(window, "1FFFFFF0");
    mem.chip.PokeWord(0x1FFFFFF0, 0x11111111);
    window->Refresh();
    MemRig::Settle(window);
    mem.chip.ClearRecord();
    MemRig::Type(window, "99999999");
    MemRig::Settle(window);
    EXPECT_EQ(mem.rig.messages, QStringList{"0x20000000 > ADDR, please check!"});
    EXPECT_EQ(view.UnitText(0x1FFFFFF0), "11111111");
    EXPECT_EQ(mem.chip.PeekWord(0x1FFFFFF0), 0x11111111u);

    // A failed write: the link's message, the old value stays.
    mem.rig.messages.clear();
    MemRig::GoTo(window, "20000020");
    mem.chip.InjectNoAnswer(5);
    MemRig::Type(window, "55555555");
    MemRig::Settle(window);
    EXPECT_EQ(mem.rig.messages, QStringList{"EnterDebugMode error !\n"});
    mem.chip.ClearFaults();
    EXPECT_EQ(view.UnitText(0x20000020), "C0DE0008");
}

TEST(MemoryWindowTest, WatchDrawsChangedUnitsAsTheRegisterWindowsDoAndAFailingLinkStopsIt)
{
    MemRig mem;
    mem.chip.AddFreeRunningCounter(kCounter);
    ASSERT_TRUE(mem.Start());
    MemoryWindow *window = mem.Open();
    ASSERT_NE(window, nullptr);
    MemoryView &view = window->View();
    window->findChild<QComboBox *>("rate")->setCurrentIndex(4);
    QTest::mouseClick(MemRig::Tool<QCheckBox>(window, "watch"), Qt::LeftButton);
    ASSERT_TRUE(window->Watch().IsRunning());
    QTRY_COMPARE_WITH_TIMEOUT(view.UnitStrength(kCounter), 1.0, 10000);
    EXPECT_EQ(view.UnitStrength(kRam), 0.0);

    // Drawn on amber, bold, readable, in every look.
    MemRig::ClickUnit(window, kRam); // the cursor away from the counter
    for (int id : AllLooks()) {
        mem.rig.Frame().SetLook(id);
        QTRY_COMPARE_WITH_TIMEOUT(view.UnitStrength(kCounter), 1.0, 5000);
        window->Hex()->viewport()->repaint();
        const QImage shot = window->Hex()->viewport()->grab().toImage();
        const QRect cell = window->Hex()->UnitRect(kCounter).adjusted(1, 1, -1, -1);
        const QColor background = Background(shot, cell);
        EXPECT_EQ(background, RegisterWindowTools::ChangedBackground(window->Hex()->palette(), 1.0)) << id;
        EXPECT_GE(Looks::ContrastRatio(TextColour(shot, cell), background), 3.0) << id;
        const QRect cursor = window->Hex()->UnitRect(kRam).adjusted(1, 1, -1, -1);
        EXPECT_GE(Looks::ContrastRatio(TextColour(shot, cursor), Background(shot, cursor)), 3.0) << id;
    }

    // Scrolled away and back while watching: the watch follows the rows shown.
    MemRig::Key(window, Qt::Key_PageDown);
    MemRig::Key(window, Qt::Key_PageUp);
    QTRY_COMPARE_WITH_TIMEOUT(view.UnitStrength(kCounter), 1.0, 5000);
    EXPECT_TRUE(mem.rig.messages.isEmpty()) << mem.rig.messages.join('|').toStdString();

    mem.chip.InjectNoAnswer(1000);
    QTRY_VERIFY_WITH_TIMEOUT(!window->Watch().IsRunning(), 10000);
    QTest::qWait(300);
    ASSERT_EQ(mem.rig.messages.size(), 1);
    EXPECT_FALSE(MemRig::Tool<QCheckBox>(window, "watch")->isChecked());
}

// The register names of the chip's SVD beside the bytes; a double click on
// one opens its peripheral in the register window used last, or in a new
// one when none is open.
TEST(MemoryWindowTest, RegisterNamesBesideTheBytesOpenTheirPeripheralInTheActiveRegisterWindow)
{
    MemRig mem(QStringLiteral("EXPAND_TYPE=1\n"));
    ASSERT_TRUE(mem.Start());
    MemoryWindow *window = mem.Open();
    ASSERT_NE(window, nullptr);
    MemRig::GoTo(window, "UART0");
    MemoryHexArea *hex = window->Hex();
    const QRect name = hex->MarginNameRect(kUartCr + 4);
    ASSERT_TRUE(name.isValid());
    EXPECT_LT(hex->UnitRect(kUartCr + 15).right(), name.left());
    // The peripheral once a row, before its first register.
    EXPECT_EQ(hex->MarginText(kUartCr), "UART0.CR");
    EXPECT_EQ(hex->MarginText(kUartCr + 4), "SR");
    EXPECT_LT(hex->MarginNameRect(kUartCr).right(), name.left());
    const QImage shot = hex->viewport()->grab().toImage();
    EXPECT_TRUE(DrawnIn(shot, name, hex->palette().color(QPalette::Link)));

    ASSERT_EQ(mem.rig.app->RegisterWindow(0), nullptr);
    QTest::mouseDClick(hex->viewport(), Qt::LeftButton, {}, name.center());
    mem.rig.Settle();
    RegisterWindowView *first = mem.rig.app->RegisterWindow(0);
    ASSERT_NE(first, nullptr) << "a register window for it";
    ASSERT_NE(first->Logic()->Tree().FindTopRow("UART0"), nullptr);
    EXPECT_EQ(first->Logic()->Tree().Selected(), first->Logic()->Tree().FindTopRow("UART0"));
    EXPECT_EQ(mem.rig.Frame().ActiveWindowSlot(), 0);
    // The register window is the active one, the memory window stays over it.
    auto *memoryFrame = qobject_cast<QMdiSubWindow *>(window->parentWidget());
    EXPECT_EQ(mem.rig.Frame().DocumentArea().activeSubWindow(), mem.rig.app->ChildFrame(0));
    EXPECT_EQ(mem.rig.Frame().DocumentArea().subWindowList(QMdiArea::StackingOrder).last(), memoryFrame);
    EXPECT_TRUE(mem.rig.Peripherals().FindRow("UART0")->text(1) == "✔");

    // Window 1 used last; back in the memory window a byte of GPIO.DATA.
    mem.rig.Panel().WindowBoxClicked(1);
    mem.rig.Frame().DocumentArea().setActiveSubWindow(qobject_cast<QMdiSubWindow *>(window->parentWidget()));
    MemRig::GoTo(window, "GPIO.DATA");
    QTest::mouseDClick(hex->viewport(), Qt::LeftButton, {}, hex->UnitRect(0x40002002).center());
    mem.rig.Settle();
    EXPECT_NE(mem.rig.app->RegisterWindow(1)->Logic()->Tree().FindTopRow("GPIO"), nullptr);
    EXPECT_EQ(first->Logic()->Tree().FindTopRow("GPIO"), nullptr);
    EXPECT_EQ(mem.rig.Frame().ActiveWindowSlot(), 1);
    EXPECT_TRUE(mem.rig.messages.isEmpty()) << mem.rig.messages.join('|').toStdString();
}

TEST(MemoryWindowTest, FindsAByteSequenceAndAWordWithProgressAndCancel)
{
    MemRig mem;
    mem.chip.Poke(kRam + 0x3FFE, QByteArray::fromHex("deadbeef"));
    mem.chip.PokeWord(kRam + 0x5000, 0xC0FFEE33);
    mem.chip.Poke(kRam + 0x4FF1, QByteArray::fromHex("33eeffc0")); // not at a word address
    ASSERT_TRUE(mem.Start());
    MemoryWindow *window = mem.Open();
    ASSERT_NE(window, nullptr);
    auto *find = MemRig::Tool<QLineEdit>(window, "find");
    MemRig::Key(window, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(find->hasFocus());
    QTest::keyClicks(find, "DE AD BE EF");
    QTest::keyClick(find, Qt::Key_Return);
    EXPECT_TRUE(MemRig::Tool<QProgressBar>(window, "progress")->isVisible());
    MemRig::Settle(window);
    EXPECT_EQ(window->View().Cursor(), kRam + 0x3FFE);
    EXPECT_EQ(MemRig::Tool<QLabel>(window, "message")->text(), "找到 0x20003FFE");
    EXPECT_FALSE(MemRig::Tool<QProgressBar>(window, "progress")->isVisible());
    // Back returns to where the find started.
    MemRig::Key(window, Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(window->View().Cursor(), kRam);

    // A word, at word addresses only, in a range of its own.
    find->setText("C0FFEE33");
    window->findChild<QComboBox *>("findKind")->setCurrentIndex(1);
    MemRig::Tool<QLineEdit>(window, "rangeFirst")->setText("20004000");
    MemRig::Tool<QLineEdit>(window, "rangeLength")->setText("2000");
    QTest::mouseClick(MemRig::Tool<QPushButton>(window, "findNext"), Qt::LeftButton);
    MemRig::Settle(window);
    EXPECT_EQ(window->View().Cursor(), kRam + 0x5000);
    // Again: nothing more in the range.
    QTest::mouseClick(MemRig::Tool<QPushButton>(window, "findNext"), Qt::LeftButton);
    MemRig::Settle(window);
    EXPECT_EQ(MemRig::Tool<QLabel>(window, "message")->text(), "未找到");

    // A long find, cancelled from the window while it runs.
    MemRig::Tool<QLineEdit>(window, "rangeLength")->setText("100000");
    find->setText("01020304");
    mem.chip.InjectDelay(300, 1000);
    QTest::mouseClick(MemRig::Tool<QPushButton>(window, "findNext"), Qt::LeftButton);
    auto *cancel = MemRig::Tool<QPushButton>(window, "cancel");
    EXPECT_TRUE(cancel->isVisible());
    QTest::mouseClick(cancel, Qt::LeftButton);
    MemRig::Settle(window);
    mem.chip.ClearFaults();
    EXPECT_EQ(MemRig::Tool<QLabel>(window, "message")->text(), "已取消");
    EXPECT_TRUE(mem.rig.messages.isEmpty()) << mem.rig.messages.join('|').toStdString();
    find->setText("XYZ");
    QTest::mouseClick(MemRig::Tool<QPushButton>(window, "findNext"), Qt::LeftButton);
    EXPECT_EQ(mem.rig.messages, QStringList{"no data to find, please check!"});
}

TEST(MemoryWindowTest, SavesARangeToAFileAndLoadsAFileIntoMemory)
{
    MemRig mem;
    ASSERT_TRUE(mem.Start());
    MemoryWindow *window = mem.Open();
    ASSERT_NE(window, nullptr);
    MemRig::Tool<QLineEdit>(window, "rangeFirst")->setText("20000010");
    MemRig::Tool<QLineEdit>(window, "rangeLength")->setText("20");
    mem.rig.chosenFile = mem.rig.Path("range.bin");
    QTest::mouseClick(MemRig::Tool<QPushButton>(window, "save"), Qt::LeftButton);
    MemRig::Settle(window);
    EXPECT_EQ(FileBytes(mem.rig.chosenFile), mem.chip.Peek(kRam + 0x10, 0x20));

    mem.rig.WriteFile("in.bin", QByteArray::fromHex("0102030405"));
    mem.rig.chosenFile = mem.rig.Path("in.bin");
    MemRig::Tool<QLineEdit>(window, "rangeFirst")->setText("20000020");
    QTest::mouseClick(MemRig::Tool<QPushButton>(window, "load"), Qt::LeftButton);
    MemRig::Settle(window);
    EXPECT_EQ(mem.chip.Peek(kRam + 0x20, 5), QByteArray::fromHex("0102030405"));
    EXPECT_EQ(window->View().UnitText(kRam + 0x24), "05") << "shown as read again";
    EXPECT_TRUE(mem.rig.messages.isEmpty()) << mem.rig.messages.join('|').toStdString();

    // The operations' own checks and messages.
    mem.rig.chosenFile.clear();
    QTest::mouseClick(MemRig::Tool<QPushButton>(window, "save"), Qt::LeftButton);
    MemRig::Settle(window);
    EXPECT_EQ(mem.rig.messages, QStringList{"no file select, please check!"});
}

// The length box reads as strictly as the address box: a text that is not
// wholly hexadecimal (with "0x" and blanks) is refused, never read from its
// last digits, and nothing is saved.
TEST(MemoryWindowTest, TheLengthBoxRefusesATextThatIsNotWhollyANumber)
{
    MemRig mem;
    ASSERT_TRUE(mem.Start());
    MemoryWindow *window = mem.Open();
    ASSERT_NE(window, nullptr);
    struct Case
    {
        const char *typed;
        const char *message; // nullptr: saved
        int bytes;
    };
    const Case cases[] = {
        {"zz10", "no length zz10, please check!", 0},
        {"10zz", "no length 10zz, please check!", 0},
        {"1 0x", "no length 1 0x, please check!", 0},
        {"123456789", "no length 123456789, please check!", 0},
        {"0", "LENGTH == 0, please check!", 0},
        {"0x10", nullptr, 0x10},
        {"2 0", nullptr, 0x20},
    };
    auto *first = MemRig::Tool<QLineEdit>(window, "rangeFirst");
    auto *length = MemRig::Tool<QLineEdit>(window, "rangeLength");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        mem.rig.messages.clear();
        QFile::remove(mem.rig.Path("range.bin"));
        mem.rig.chosenFile = mem.rig.Path("range.bin");
        first->setText("20000010");
        length->clear();
        length->setFocus();
        QTest::keyClicks(length, QString::fromLatin1(c.typed));
        ASSERT_EQ(length->text(), QString::fromLatin1(c.typed));
        QTest::mouseClick(MemRig::Tool<QPushButton>(window, "save"), Qt::LeftButton);
        MemRig::Settle(window);
        if (c.message) {
            EXPECT_EQ(mem.rig.messages, QStringList{QString::fromUtf8(c.message)});
            EXPECT_FALSE(QFileInfo::exists(mem.rig.Path("range.bin"))) << "saved despite the refusal";
        } else {
            EXPECT_TRUE(mem.rig.messages.isEmpty()) << mem.rig.messages.join('|').toStdString();
            EXPECT_EQ(FileBytes(mem.rig.Path("range.bin")), mem.chip.Peek(kRam + 0x10, c.bytes));
        }
    }
}

// Two windows in every look, kept in bin/ to be looked at: the RAM watched
// with a unit typed over and the cursor on it; a UART's registers beside
// their bytes in 32-bit units, above the chip table's refused window.
TEST(MemoryWindowTest, ScreenshotsInEveryLook)
{
    MemRig mem;
    mem.chip.AddFreeRunningCounter(kCounter);
    ASSERT_TRUE(mem.Start());
    MemoryWindow *window = mem.Open();
    MemoryWindow *registers = mem.Open();
    ASSERT_TRUE(window && registers);
    QMdiArea &area = mem.rig.Frame().DocumentArea();
    const int half = area.viewport()->height() / 2;
    window->parentWidget()->setGeometry(0, 0, area.viewport()->width(), half);
    registers->parentWidget()->setGeometry(0, half, area.viewport()->width(), half);
    MemRig::GoTo(window, "20000000");
    auto *unit = MemRig::Tool<QComboBox>(registers, "unit");
    unit->setCurrentIndex(unit->findData(4));
    emit unit->activated(unit->currentIndex());
    mem.chip.PokeWord(kUartCr + 8, 0x00C0FFEE);
    MemRig::GoTo(registers, "UART0.SR");
    QTest::mouseClick(MemRig::Tool<QCheckBox>(window, "watch"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(window->View().UnitStrength(kCounter) > 0, 10000);
    MemRig::ClickUnit(window, kRam + 4);
    MemRig::Type(window, "4");
    for (int id : AllLooks()) {
        mem.rig.Frame().SetLook(id);
        QApplication::processEvents();
        const QString path = QDir(BinDir()).filePath(QStringLiteral("memory-window-look-%1.png").arg(id));
        EXPECT_TRUE(area.grab().save(path)) << path.toStdString();
    }
    MemRig::Key(window, Qt::Key_Escape);
    registers->parentWidget()->resize(area.viewport()->width(), area.viewport()->height());
    MemRig::GoTo(registers, "FFF80");
    EXPECT_TRUE(registers->parentWidget()->grab().save(QDir(BinDir()).filePath("memory-window-refused.png")));
    EXPECT_TRUE(mem.rig.messages.isEmpty()) << mem.rig.messages.join('|').toStdString();
}

// QEMU's mps2-an505 through its gdbstub, running the counter firmware: its
// loop counter (the word after the magic at 0x20000000) is seen changing
// in the watched window, and a byte typed over reaches the board's RAM
// alone (the GDB link writes bytes) and is read back.
TEST(MemoryWindowTest, OnQemusBoardTheFirmwaresCounterRunsAndATypedByteReachesRam)
{
    if (QemuBoard::Program().isEmpty())
        GTEST_SKIP() << "qemu-system-arm is not installed (scripts/install-deps.sh installs it)";
#ifndef CORVANE_AN505_FIRMWARE
    GTEST_SKIP() << "the AN505 firmware is not built (arm-none-eabi-gcc is missing)";
#else
    QemuBoard board;
    ASSERT_TRUE(board.Start(CORVANE_AN505_FIRMWARE));
    AppRig rig(QStringLiteral("[CHIP_TYPE]\nNUM=1\nCHIP_0=AN505\nSEL=0\n"
                              "[COMMON]\nDATA_TYPE=3\nGDB_SERVER=%1\nJLINKDLL=%2\n")
                   .arg(board.GdbServer(), StandInPath()));
    ASSERT_TRUE(QFile::copy(SourcePath("svd/AN505.svd"), rig.Path("svd/AN505.svd")));
    ASSERT_TRUE(rig.Start());
    rig.app->MainFrame()->resize(1400, 900);
    QTest::mouseClick(rig.Panel().findChild<QPushButton *>("1043"), Qt::LeftButton);
    ASSERT_EQ(rig.app->MemoryWindows().size(), 1);
    MemoryWindow *window = rig.app->MemoryWindows().first();
    MemRig::Settle(window);
    MemoryView &view = window->View();
    EXPECT_EQ(view.Cursor(), kRam);

    // 32-bit units; the firmware's magic once its reset handler ran.
    auto *unit = MemRig::Tool<QComboBox>(window, "unit");
    unit->setCurrentIndex(unit->findData(4));
    emit unit->activated(unit->currentIndex());
    for (int i = 0; i < 100 && view.UnitText(kRam) != "C0FFEE33"; ++i) {
        QTest::qWait(50);
        MemRig::Key(window, Qt::Key_F5);
        MemRig::Settle(window);
    }
    ASSERT_EQ(view.UnitText(kRam), "C0FFEE33");

    // Watched: the loop counter changes and is drawn changed; the magic not.
    QTest::mouseClick(MemRig::Tool<QCheckBox>(window, "watch"), Qt::LeftButton);
    ASSERT_TRUE(window->Watch().IsRunning());
    const QString before = view.UnitText(kRam + 4);
    QTRY_VERIFY_WITH_TIMEOUT(view.UnitStrength(kRam + 4) > 0 && view.UnitText(kRam + 4) != before, 10000);
    EXPECT_EQ(view.UnitStrength(kRam), 0.0);
    window->Hex()->viewport()->repaint();
    const QImage shot = window->Hex()->viewport()->grab().toImage();
    const QRect counter = window->Hex()->UnitRect(kRam + 4).adjusted(1, 1, -1, -1);
    EXPECT_EQ(Background(shot, counter),
              RegisterWindowTools::ChangedBackground(window->Hex()->palette(), view.UnitStrength(kRam + 4)));
    window->parentWidget()->grab().save(QDir(BinDir()).filePath("memory-window-qemu.png"));
    QTest::mouseClick(MemRig::Tool<QCheckBox>(window, "watch"), Qt::LeftButton);
    EXPECT_FALSE(window->Watch().IsRunning());

    // A byte typed over, in 8-bit units, away from the firmware's words.
    unit->setCurrentIndex(unit->findData(1));
    emit unit->activated(unit->currentIndex());
    MemRig::GoTo(window, "20000100");
    const uint32_t target = kRam + 0x101;
    MemRig::ClickUnit(window, target);
    const QString neighbours = view.UnitText(target - 1) + view.UnitText(target + 1);
    MemRig::Type(window, "5a");
    MemRig::Settle(window);
    EXPECT_EQ(view.UnitText(target), "5A") << "read back";

    FakeUser reader;
    reader.chip = "AN505";
    UserContext context = reader.Context();
    LinkCycle cycle(rig.app->Config(), rig.app->Links(), context);
    ASSERT_TRUE(cycle.Preface() && cycle.Open() && cycle.Read(target - 1, 4));
    const TransferBuffer &buffer = cycle.Buffer();
    const QString onBoard = QString::asprintf("%02X%02X%02X", buffer[0], buffer[1], buffer[2]);
    cycle.Close();
    EXPECT_EQ(onBoard, view.UnitText(target - 1) + "5A" + view.UnitText(target + 1));
    EXPECT_EQ(view.UnitText(target - 1) + view.UnitText(target + 1), neighbours);
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('|').toStdString();
#endif
}

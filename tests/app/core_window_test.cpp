// The core window on the simulated chip over its UART link: opened as the
// user opens it, Read fills the grid from the simulated debug core, a
// running core is said and offered a halt, a value typed into the grid is
// written and read back, the fault tab decodes the fault words and its PC
// link opens a memory window there; the ELF file is kept per chip.

#include "AppRig.h"
#include "GridRows.h"

#include "app/CoreRegisterModel.h"
#include "app/CoreWindow.h"
#include "app/MemoryWindow.h"
#include "link/Settings.h"
#include "ops/CoreOps.h"
#include "ops/FirmwareSymbols.h"
#include "SimulatedChip.h"
#include "support/QemuBoard.h"

#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>

namespace {

// DCRSR selectors of the simulated debug core.
constexpr uint8_t kR0 = 0, kLr = 14, kPc = 15, kXpsr = 16, kSpecial = 20, kPspS = 0x1B;
constexpr uint32_t kStack = 0x20001000;
constexpr uint32_t kStackedPc = 0x20000104;

struct CoreRig
{
    CoreRig()
        : chip("VX21A")
    {
        started = chip.Start();
        rig.Prepare(StandardIni(QStringLiteral("UART_PORT=%1\nUART_BAUND=6\nHEX_DEC=1\n").arg(chip.PortPath()))
                        .replace("DATA_TYPE=0", "DATA_TYPE=2"));
    }
    // Started, with the core window opened by Ctrl+K.
    bool Start()
    {
        if (!started || !rig.Start())
            return false;
        rig.Frame().show();
        QTest::keyClick(&rig.Frame(), Qt::Key_K, Qt::ControlModifier);
        window = rig.app->FindCoreWindow();
        if (!window)
            return false;
        window->Options().readyDeadlineMs = 50;
        window->Options().pauseAfterHaltMs = 0;
        window->parentWidget()->resize(640, 700);
        QApplication::processEvents();
        return true;
    }
    void Click(QWidget *button)
    {
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_TRUE(rig.WaitForActions());
    }
    GridItem Row(const QStringList &path) const { return ::Row(window->Grid(), path); }
    // The fault: a precise bus error taken to BusFault from thread mode on PSP_S.
    void SetBusFault()
    {
        chip.SetCoreRegister(kXpsr, 0x01000005);
        chip.SetCoreRegister(kLr, 0xFFFFFFFD);
        chip.SetCoreRegister(kPspS, kStack);
        chip.PokeWord(CoreOps::kCfsr, (1u << 9) | (1u << 15));
        chip.PokeWord(CoreOps::kCfsr + 16, 0x0FF00000); // BFAR
        for (uint32_t i = 0; i < 8; ++i)
            chip.PokeWord(kStack + 4 * i, 0xF0000000 + i);
        chip.PokeWord(kStack + 24, kStackedPc);
        chip.PokeWord(kStack + 28, 0x01000000);
    }
    std::string Messages() const { return rig.messages.join('|').toStdString(); }

    SimulatedChip chip;
    bool started = false;
    AppRig rig{QString()};
    CoreWindow *window = nullptr;
};

} // namespace

// One core window, whichever way the user asks for it.
TEST(CoreWindowTest, OpensFromTheShortcutThePanelAndTheFrameMenuOnce)
{
    CoreRig core;
    ASSERT_TRUE(core.Start());
    EXPECT_EQ(core.window->parentWidget()->windowTitle(), "core");
    auto *button = core.rig.Panel().findChild<QPushButton *>("1044");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "内核窗口");
    EXPECT_TRUE(button->isVisible());
    QTest::mouseClick(button, Qt::LeftButton);
    core.rig.Frame().frameMenuExec = [](QMenu &menu, const QPoint &) {
        for (QAction *action : menu.actions())
            if (action->text() == "内核窗口(&K)\tCtrl+K")
                action->trigger();
    };
    QWidget *area = core.rig.Frame().DocumentArea().viewport();
    RightClick(area, QPoint(area->width() - 10, area->height() - 10));
    int open = 0;
    for (QMdiSubWindow *frame : core.rig.Frame().DocumentArea().subWindowList())
        open += qobject_cast<CoreWindow *>(frame->widget()) != nullptr;
    EXPECT_EQ(open, 1);
    EXPECT_EQ(core.rig.app->FindCoreWindow(), core.window);
}

// A running core is not halted by Read: the window says so and offers the
// explicit halt, which halts, reads and leaves the core halted.
TEST(CoreWindowTest, RunningCoreIsSaidAndHaltedOnlyWhenAsked)
{
    CoreRig core;
    ASSERT_TRUE(core.Start());
    core.chip.SetCoreRegister(kPc, 0x10000124);
    ASSERT_FALSE(core.chip.CoreHalted());
    core.Click(core.window->ReadButton());
    EXPECT_FALSE(core.chip.CoreHalted());
    EXPECT_TRUE(core.rig.messages.isEmpty()) << core.Messages();
    EXPECT_TRUE(core.window->Status()->text().startsWith("The core is running: nothing was read."))
        << core.window->Status()->text().toStdString();
    EXPECT_TRUE(core.window->HaltReadButton()->isVisible());
    EXPECT_EQ(core.window->HaltReadButton()->text(), "halt, read, keep halted");
    EXPECT_EQ(core.Row({"PC"})->text(1), "") << "nothing was read";

    core.Click(core.window->HaltReadButton());
    EXPECT_TRUE(core.chip.CoreHalted());
    EXPECT_EQ(core.Row({"PC"})->text(1), "0x10000124");
    EXPECT_FALSE(core.window->HaltReadButton()->isVisible());
    EXPECT_TRUE(core.rig.messages.isEmpty()) << core.Messages();
}

// Read fills the grid; xPSR's and CONTROL's fields are decoded below them;
// the base follows the panel's choice.
TEST(CoreWindowTest, ReadFillsTheGridWithDecodedFields)
{
    CoreRig core;
    ASSERT_TRUE(core.Start());
    core.chip.SetCoreRegister(kR0, 0x11111111);
    core.chip.SetCoreRegister(kPc, 0x10000124);
    core.chip.SetCoreRegister(kXpsr, 0xA1000003);    // N, C, Thumb, HardFault
    core.chip.SetCoreRegister(kSpecial, 0x06000000); // CONTROL: SPSEL, FPCA
    core.chip.SetCoreHalted(true);
    core.Click(core.window->ReadButton());
    ASSERT_TRUE(core.rig.messages.isEmpty()) << core.Messages();
    EXPECT_EQ(core.Row({"R0"})->text(1), "0x11111111");
    EXPECT_EQ(core.Row({"PC"})->text(1), "0x10000124");
    EXPECT_EQ(core.Row({"CONTROL"})->text(1), "0x06");

    struct Field
    {
        QStringList path;
        QString value, meaning;
    };
    const Field fields[] = {
        {{"xPSR", "N"}, "0x1", "set"},
        {{"xPSR", "Z"}, "0x0", "clear"},
        {{"xPSR", "C"}, "0x1", "set"},
        {{"xPSR", "T"}, "0x1", "Thumb state"},
        {{"xPSR", "Exception"}, "0x003", "HardFault"},
        {{"CONTROL", "nPRIV"}, "0x0", "privileged in Thread mode"},
        {{"CONTROL", "SPSEL"}, "0x1", "Thread mode uses PSP"},
        {{"CONTROL", "FPCA"}, "0x1", "floating-point context active"},
    };
    for (const Field &field : fields) {
        const GridItem row = core.Row(field.path);
        ASSERT_TRUE(row) << field.path.join('.').toStdString();
        EXPECT_EQ(row->text(1), field.value) << field.path.join('.').toStdString();
        EXPECT_EQ(row->text(2), field.meaning) << field.path.join('.').toStdString();
    }
    // The fields are drawn under their register, without a click.
    const GridItem exception = core.Row({"xPSR", "Exception"});
    core.window->Grid()->scrollTo(exception.Index());
    EXPECT_TRUE(core.window->Grid()->viewport()->rect().intersects(core.window->Grid()->visualRect(exception.Index())));

    core.rig.Pick(1032, 0); // DEC
    EXPECT_EQ(core.Row({"PC"})->text(1), QString::number(0x10000124));
}

// A value typed into the grid is written to the core and shown as read back.
TEST(CoreWindowTest, ValueTypedIntoR0IsWrittenAndReadBack)
{
    CoreRig core;
    ASSERT_TRUE(core.Start());
    core.chip.SetCoreHalted(true);
    core.Click(core.window->ReadButton());
    const GridItem r0 = core.Row({"R0"});
    ASSERT_TRUE(r0);
    QTreeView *grid = core.window->Grid();
    const QRect cell = grid->visualRect(r0.Index(1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    auto *editor = grid->viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "0xCAFE1234");
    QTest::keyClick(editor, Qt::Key_Return);
    // The delegate hands the text over by a queued call, then the write runs.
    QApplication::processEvents();
    ASSERT_EQ(core.window->Outstanding(), 1);
    ASSERT_TRUE(core.rig.WaitForActions());
    EXPECT_EQ(core.chip.CoreRegister(kR0), 0xCAFE1234u);
    EXPECT_EQ(core.Row({"R0"})->text(1), "0xCAFE1234");
    EXPECT_TRUE(core.rig.messages.isEmpty()) << core.Messages();
}

// A link lost in the middle of the read: one message, and nothing on show
// that this read did not give, on either tab.
TEST(CoreWindowTest, ReadFailingMidwayShowsOneMessageAndNothingStale)
{
    CoreRig core;
    ASSERT_TRUE(core.Start());
    core.SetBusFault();
    core.chip.SetCoreRegister(kPc, 0x10000124);
    core.chip.SetCoreHalted(true);
    core.Click(core.window->ReadButton());
    ASSERT_EQ(core.Row({"PC"})->text(1), "0x10000124");
    ASSERT_FALSE(core.window->FaultText()->toPlainText().isEmpty());

    core.chip.InjectRegisterReadyNever(true);
    core.Click(core.window->ReadButton());
    EXPECT_EQ(core.rig.messages, QStringList{"core register R0: S_REGRDY not set within 50 ms !\n"});
    EXPECT_EQ(core.Row({"PC"})->text(1), "");
    EXPECT_EQ(core.Row({"xPSR"})->childCount(), 0);
    EXPECT_TRUE(core.window->FaultText()->toPlainText().isEmpty());
    EXPECT_FALSE(core.window->FaultingPc());
    EXPECT_EQ(core.window->Status()->text(), "Not read: the link failed.");
}

// The fault tab says the fault in words; its PC is a link that opens a
// memory window at the faulting instruction.
TEST(CoreWindowTest, FaultTabDecodesTheFaultAndItsPcOpensTheMemoryWindow)
{
    CoreRig core;
    ASSERT_TRUE(core.Start());
    core.SetBusFault();
    core.chip.SetCoreHalted(true);
    core.Click(core.window->ReadButton());
    ASSERT_TRUE(core.rig.messages.isEmpty()) << core.Messages();
    QTabWidget *tabs = core.window->Tabs();
    EXPECT_EQ(tabs->tabText(1), "fault");
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {}, tabs->tabBar()->tabRect(1).center());
    ASSERT_EQ(tabs->currentIndex(), 1);
    const QString text = core.window->FaultText()->toPlainText();
    EXPECT_TRUE(text.contains("precise data bus error")) << text.toStdString();
    EXPECT_TRUE(text.contains("0x0FF00000")) << text.toStdString();
    EXPECT_TRUE(text.contains("BusFault")) << text.toStdString();
    EXPECT_EQ(core.window->FaultingPc(), kStackedPc);
    QLabel *link = core.window->PcLink();
    ASSERT_TRUE(link->isVisible());
    EXPECT_TRUE(link->text().contains(">0x20000104</a>")) << link->text().toStdString();

    // A click on the address, just after "Faulting PC: ".
    const QFontMetrics metrics(link->font());
    const QPoint at(link->contentsRect().left() + metrics.horizontalAdvance("Faulting PC: 0x2"),
                    link->contentsRect().center().y());
    QTest::mouseClick(link, Qt::LeftButton, {}, at);
    QApplication::processEvents();
    ASSERT_EQ(core.rig.app->MemoryWindows().size(), 1);
    EXPECT_EQ(core.rig.app->MemoryWindows().first()->View().Cursor(), kStackedPc);
}

// The ELF file is the chip's: another chip has its own, and the file puts
// the faulting function beside the PC.
TEST(CoreWindowTest, ElfFileIsKeptPerChipAndNamesTheFaultingFunction)
{
#ifndef CORVANE_AN505_FAULT_ELF
    GTEST_SKIP() << "the AN505 fault firmware was not built (no arm-none-eabi-gcc)";
#else
    const QString elf = QStringLiteral(CORVANE_AN505_FAULT_ELF);
    QString failure;
    const auto symbols = FirmwareSymbols::Open(elf, &failure);
    ASSERT_TRUE(symbols) << failure.toStdString();
    const std::optional<uint32_t> reset = symbols->SymbolAddress("Reset_Handler");
    ASSERT_TRUE(reset);

    CoreRig core;
    ASSERT_TRUE(core.Start());
    QLineEdit *field = core.window->ElfField();
    QTest::mouseClick(field, Qt::LeftButton);
    QTest::keyClicks(field, elf);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(core.rig.Config().ReadText("VX21A", ConfigKey::kCoreElf, QString(), ConfigKey::kPathSize), elf);

    // Another chip's window has that chip's file (none yet); back on the
    // first chip, a new window has the first chip's file again.
    const auto reopen = [&core] {
        core.window->parentWidget()->close();
        core.rig.Settle();
        QTest::keyClick(&core.rig.Frame(), Qt::Key_K, Qt::ControlModifier);
        core.window = core.rig.app->FindCoreWindow();
        return core.window != nullptr;
    };
    core.rig.Pick(1001, 2); // VX21C
    EXPECT_EQ(core.window->ElfField()->text(), "") << "the open window follows the chip the panel selects";
    core.rig.Pick(1001, 0);
    EXPECT_EQ(core.window->ElfField()->text(), elf);
    core.rig.Pick(1001, 2);
    core.Click(core.window->ReadButton());
    EXPECT_EQ(core.window->ElfField()->text(), "");
    core.rig.messages.clear();
    ASSERT_TRUE(reopen());
    EXPECT_EQ(core.window->ElfField()->text(), "");
    core.rig.Pick(1001, 0);
    ASSERT_TRUE(reopen());
    EXPECT_EQ(core.window->ElfField()->text(), elf);
    core.window->Options().pauseAfterHaltMs = 0;

    core.SetBusFault();
    core.chip.PokeWord(kStack + 24, *reset + 4);
    core.chip.SetCoreHalted(true);
    core.Click(core.window->ReadButton());
    ASSERT_TRUE(core.rig.messages.isEmpty()) << core.Messages();
    EXPECT_TRUE(core.window->PcLink()->text().contains("Reset_Handler")) << core.window->PcLink()->text().toStdString();
#endif
}

// The watch reads again while the core stays halted: a register the core
// changes meanwhile is seen without a click.
TEST(CoreWindowTest, WatchReadsAgainWhileHalted)
{
    CoreRig core;
    ASSERT_TRUE(core.Start());
    core.chip.SetCoreRegister(kR0, 1);
    core.chip.SetCoreHalted(true);
    QTest::mouseClick(core.window->WatchBox(), Qt::LeftButton);
    ASSERT_TRUE(core.window->WatchBox()->isChecked());
    QTRY_COMPARE_WITH_TIMEOUT(core.Row({"R0"})->text(1), QString("0x00000001"), 10000);
    core.chip.SetCoreRegister(kR0, 2);
    QTRY_COMPARE_WITH_TIMEOUT(core.Row({"R0"})->text(1), QString("0x00000002"), 10000);
    QTest::mouseClick(core.window->WatchBox(), Qt::LeftButton);
    ASSERT_TRUE(core.rig.WaitForActions());
    core.chip.SetCoreRegister(kR0, 3);
    QTest::qWait(2 * CoreWindow::kWatchIntervalMs + 200);
    EXPECT_EQ(core.Row({"R0"})->text(1), "0x00000002") << "read after the watch stopped";
    EXPECT_TRUE(core.rig.messages.isEmpty()) << core.Messages();
}

// QEMU's mps2-an505 after its firmware's load from no memory, over the GDB
// link: the registers the gdbstub does not give say so, the fault tab says
// the fault in words, and with the ELF file the PC link names the function.
TEST(CoreWindowTest, OnQemusBoardTheFaultIsSaidAndMissingRegistersAreNotGiven)
{
    if (QemuBoard::Program().isEmpty())
        GTEST_SKIP() << "qemu-system-arm is not installed (scripts/install-deps.sh installs it)";
#ifndef CORVANE_AN505_FAULT_ELF
    GTEST_SKIP() << "the AN505 fault firmware was not built (no arm-none-eabi-gcc)";
#else
    const QString elf = QStringLiteral(CORVANE_AN505_FAULT_ELF);
    QString failure;
    const auto symbols = FirmwareSymbols::Open(elf, &failure);
    ASSERT_TRUE(symbols) << failure.toStdString();
    const std::optional<uint32_t> faultLoad = symbols->SymbolAddress("fault_load");
    ASSERT_TRUE(faultLoad);
    QemuBoard board;
    ASSERT_TRUE(board.Start(elf));
    AppRig rig(QStringLiteral("[CHIP_TYPE]\nNUM=1\nCHIP_0=AN505\nSEL=0\n"
                              "[COMMON]\nDATA_TYPE=3\nHEX_DEC=1\nGDB_SERVER=%1\nJLINKDLL=%2\n[AN505]\nCORE_ELF=%3\n")
                   .arg(board.GdbServer(), StandInPath(), elf));
    ASSERT_TRUE(rig.Start());
    rig.Frame().show();
    QTest::keyClick(&rig.Frame(), Qt::Key_K, Qt::ControlModifier);
    CoreWindow *window = rig.app->FindCoreWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->ElfField()->text(), elf);
    // The firmware faults at once; until then the core is in Thread mode.
    for (int i = 0; i < 50 && window->FaultingPc() != faultLoad; ++i) {
        QTest::mouseClick(window->ReadButton(), Qt::LeftButton);
        ASSERT_TRUE(rig.WaitForActions());
    }
    ASSERT_TRUE(rig.messages.isEmpty()) << rig.messages.join('|').toStdString();
    ASSERT_EQ(window->FaultingPc(), faultLoad);
    GridView grid(window->Grid());
    EXPECT_EQ(Row(grid, {"xPSR", "Exception"})->text(2), "HardFault");
    EXPECT_EQ(Row(grid, {"MSP"})->text(1), "not given by the server");
    EXPECT_EQ(Row(grid, {"CONTROL"})->text(1), "not given by the server");
    EXPECT_TRUE(Row(grid, {"PC"})->text(1).startsWith("0x1000")) << Row(grid, {"PC"})->text(1).toStdString();
    const QString text = window->FaultText()->toPlainText();
    EXPECT_TRUE(text.contains("BFSR PRECISERR: precise data bus error")) << text.toStdString();
    EXPECT_TRUE(text.contains("BFAR 0x0FF00000: the faulting address")) << text.toStdString();
    EXPECT_TRUE(window->PcLink()->text().contains("load_unanswered")) << window->PcLink()->text().toStdString();
    EXPECT_TRUE(window->PcLink()->text().contains("faults.c:")) << window->PcLink()->text().toStdString();
#endif
}

// The workspace under the windows: the chip the panel selects reaches every
// open memory window through it, and the frame's RegisterWindows shows a
// peripheral as the memory window and the list ask for it.

#include "AppRig.h"
#include "MemRig.h"
#include "app/RegisterWindows.h"
#include "app/Workspace.h"
#include "regmap/RegisterWindow.h"

#include <QComboBox>
#include <QMdiArea>
#include <QSignalSpy>

namespace {

QStringList ChipsOf(const QList<MemoryWindow *> &windows)
{
    QStringList chips;
    for (MemoryWindow *window : windows)
        chips << window->View().Rules().ChipModel();
    return chips;
}

constexpr int kChipList = 1001;

} // namespace

TEST(WorkspaceTest, EveryOpenMemoryWindowFollowsTheChipThePanelSelects)
{
    MemRig mem;
    ASSERT_TRUE(mem.Start());
    ASSERT_NE(mem.Open(), nullptr);
    ASSERT_NE(mem.Open(), nullptr);
    Workspace &workspace = *mem.rig.app->Shared();
    EXPECT_EQ(workspace.Chip(), "VX21A");
    EXPECT_EQ(ChipsOf(mem.rig.app->MemoryWindows()), QStringList({"VX21A", "VX21A"}));
    QSignalSpy selected(&workspace, &Workspace::ChipSelected);

    mem.rig.PickByKey(kChipList, 2);
    EXPECT_EQ(workspace.Chip(), "VX21C");
    EXPECT_EQ(ChipsOf(mem.rig.app->MemoryWindows()), QStringList({"VX21C", "VX21C"}));
    mem.rig.PickByKey(kChipList, 0);
    EXPECT_EQ(ChipsOf(mem.rig.app->MemoryWindows()), QStringList({"VX21A", "VX21A"}));
    // One word per chip the list went through, none for a chip kept.
    ASSERT_EQ(selected.size(), 4);
    EXPECT_EQ(selected.at(1).at(0).toString(), "VX21C");
    EXPECT_EQ(selected.at(3).at(0).toString(), "VX21A");
}

// The file refuses the choice: the panel shows the stored chip again, and
// the memory windows, which followed the list, follow it back.
TEST(WorkspaceTest, AChipTheFileRefusesIsNotLeftInTheMemoryWindows)
{
    AppRig rig;
    // Readable, but a comment in GBK: never rewritten.
    rig.WriteFile("Corvane.ini", "; \xC4\xE3\n" + StandardIni().toUtf8());
    ASSERT_TRUE(rig.Start());
    MemoryWindow *window = rig.app->OpenMemoryWindow();
    ASSERT_NE(window, nullptr);
    rig.messages.clear();

    rig.List(kChipList)->setFocus();
    QTest::keyClick(rig.List(kChipList), Qt::Key_Down);
    EXPECT_EQ(rig.messages.size(), 1) << rig.messages.join('|').toStdString();
    EXPECT_EQ(rig.List(kChipList)->currentText(), "VX21A");
    EXPECT_EQ(rig.app->Shared()->Chip(), "VX21A");
    EXPECT_EQ(window->View().Rules().ChipModel(), "VX21A");
}

// What the memory window's register names and the list ask of the frame:
// the peripheral in the register window the user had last, or in the first
// free slot's new one, ticked in the panel and marked in the list.
TEST(WorkspaceTest, TheFrameShowsAPeripheralInTheRegisterWindowTheUserHadLast)
{
    AppRig rig;
    ASSERT_TRUE(rig.Start());
    RegisterWindows &windows = rig.Frame();
    using Shown = RegisterWindows::Shown;

    EXPECT_EQ(windows.ShowPeripheral("NO_SUCH"), Shown::NoPeripheral);
    EXPECT_EQ(rig.app->RegisterWindow(0), nullptr) << "no window opened for nothing";

    // No register window open: the first slot's opens, as its box would.
    ASSERT_EQ(windows.ShowPeripheral("UART0"), Shown::Shown);
    RegisterWindowView *first = windows.Window(0);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(rig.Box(0)->isChecked());
    EXPECT_FALSE(rig.Box(0)->isEnabled());
    EXPECT_EQ(rig.ReadInt("VX21A", "WND_0"), 1);
    EXPECT_EQ(rig.ReadInt("VX21A", "UART0"), 1);
    EXPECT_EQ(rig.Peripherals().FindRow("UART0")->text(1), "✔");
    RegisterRowTree &tree = first->Logic()->Tree();
    EXPECT_EQ(tree.Selected(), tree.FindTopRow("UART0"));
    EXPECT_EQ(rig.Frame().DocumentArea().activeSubWindow(), rig.app->ChildFrame(0));

    // Window 1 opened by its box, then window 0 used again: GPIO goes to 0.
    QTest::mouseClick(rig.Box(1), Qt::LeftButton);
    ASSERT_NE(windows.Window(1), nullptr);
    rig.Frame().DocumentArea().setActiveSubWindow(rig.app->ChildFrame(0));
    ASSERT_EQ(windows.ShowPeripheral("GPIO"), Shown::Shown);
    EXPECT_NE(tree.FindTopRow("GPIO"), nullptr);
    EXPECT_EQ(windows.Window(1)->Logic()->Tree().FindTopRow("GPIO"), nullptr);
    EXPECT_EQ(rig.ReadInt("VX21A", "GPIO"), 1);

    // Shown again: still once, the mark kept, the row selected again.
    tree.Select(tree.FindTopRow("GPIO"));
    ASSERT_EQ(windows.ShowPeripheral("UART0"), Shown::Shown);
    EXPECT_EQ(tree.TopRows().size(), 2u);
    EXPECT_EQ(rig.ReadInt("VX21A", "UART0"), 1);
    EXPECT_EQ(tree.Selected(), tree.FindTopRow("UART0"));
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('|').toStdString();
}

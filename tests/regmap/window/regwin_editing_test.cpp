#include "support/RegwinRig.h"

#include <gtest/gtest.h>

namespace {

TEST(RegisterSelection, MenusAndTitlesPerRowKind)
{
    using Menu = RegisterWindow::Menu;
    struct Case
    {
        const char *row;
        bool offline;
        Menu menu;
        bool isRegister; // after the click
        const char *leftTitle;
    };
    const Case cases[] = {
        {"TIMER", true, Menu::Files, false, "TIMER"}, {"TIMER", false, Menu::All, false, "TIMER"},
        {"CR", true, Menu::None, true, "TIMER"},      {"CR", false, Menu::Transfer, true, "TIMER"},
        {"VALUE~", false, Menu::None, true, "TIMER"}, {"MODE", false, Menu::None, true, "TIMER"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.row);
        RegwinRig rig;
        if (c.offline)
            rig.UseOffline();
        RegisterWindow &window = rig.WindowWith({"GPIO", "TIMER"});
        // A register row was clicked before: value and field rows keep it.
        window.Tree().Select(Register(window, "TIMER", "SR"));
        window.LeftButtonReleased();
        window.Tree().SetHeaderTitles("", "");
        RegisterRow *row = QString(c.row) == "TIMER" ? Peripheral(window, "TIMER")
                           : QString(c.row) == "CR"  ? Register(window, "TIMER", "CR")
                                                     : Child(window, "TIMER", "CR", c.row);
        window.Tree().Select(row);
        EXPECT_EQ(window.RightButtonReleased(), c.menu);
        EXPECT_EQ(window.SelectedRow(), row);
        EXPECT_EQ(window.SelectedIsRegister(), c.isRegister);
        EXPECT_EQ(window.Tree().LeftTitle(), c.leftTitle);
        EXPECT_EQ(window.Tree().RightTitle(), "Value");
    }
}

TEST(RegisterSelection, NothingSelected)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    EXPECT_EQ(window.RightButtonReleased(), RegisterWindow::Menu::None);
    window.RunCommand(RegisterWindow::ReadCommand);
    window.RunCommand(RegisterWindow::ExportCommand);
    EXPECT_TRUE(rig.user.messages.isEmpty());
    EXPECT_TRUE(rig.user.fileRequests.isEmpty());
}

TEST(RegisterEditing, FieldAndValueRows)
{
    struct Case
    {
        const char *what;
        uint32_t start; // CR or SR before the edit, loaded from a file
        const char *reg;
        const char *row;
        const char *typed;
        const char *caption; // value part after the edit
        const char *valueRow;
        const char *rowAfter; // the edited row's text afterwards
        bool rowModified;
        QStringList messages;
    };
    const Case cases[] = {
        {"field 5", 0xA5, "CR", "MODE", "5", "0x00000055", "0x00000055", "5", false, {}},
        {"field hex kept", 0xA5, "CR", "MODE", "0x5", "0x00000055", "0x00000055", "0x5", false, {}},
        {"field too wide",
         0xA5,
         "CR",
         "MODE",
         "0x1F",
         "0x000000A5",
         "0x000000A5",
         "10",
         false,
         {"out of range !\n0x1F does not fit CR.MODE (4 bits)\n"}},
        {"field negative",
         0xA5,
         "CR",
         "MODE",
         "-1",
         "0x000000A5",
         "0x000000A5",
         "10",
         false,
         {"not a number !\n-1 is no decimal value for CR.MODE\n"}},
        {"field no digits",
         0xA5,
         "CR",
         "MODE",
         "abc",
         "0x000000A5",
         "0x000000A5",
         "10",
         false,
         {"not a number !\nabc is no decimal value for CR.MODE\n"}},
        {"field digits then junk",
         0xA5,
         "CR",
         "MODE",
         "1x",
         "0x000000A5",
         "0x000000A5",
         "10",
         false,
         {"not a number !\n1x is no decimal value for CR.MODE\n"}},
        {"field binary", 0xA5, "CR", "MODE", "#101", "0x00000055", "0x00000055", "#101", false, {}},
        {"field binary 0b", 0xA5, "CR", "MODE", " 0b11 ", "0x00000035", "0x00000035", " 0b11 ", false, {}},
        {"bit 31", 0, "CR", "TOP", "1", "0x80000000", "0x80000000", "1", false, {}},
        {"bit 31 too big",
         0,
         "CR",
         "TOP",
         "2",
         "0x00000000",
         "0x00000000",
         "0",
         false,
         {"out of range !\n2 does not fit CR.TOP (1 bits)\n"}},
        {"32-bit field", 0x12, "SR", "ALL", "0xDEADBEEF", "0xDEADBEEF", "0xDEADBEEF", "0xDEADBEEF", false, {}},
        {"32-bit decimal", 0x12, "SR", "ALL", "4294967295", "0xFFFFFFFF", "0xFFFFFFFF", "4294967295", false, {}},
        {"value 255", 0xA5, "CR", "VALUE~", "255", "0x000000FF", "255", "255", true, {}},
        {"value hex", 0, "CR", "VALUE~", "0x80000010", "0x80000010", "0x80000010", "0x80000010", true, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        RegwinRig rig;
        rig.config.WriteInt("COMMON", "REG_WR", 1);
        RegisterWindow &window = rig.WindowWith({"TIMER"});
        rig.PutFile(rig.DataPath("TIMER"), Words({c.start, c.start}));
        window.LoadSnapshot("TIMER", rig.DataPath("TIMER"));
        rig.user.messages.clear();

        RegisterRow *row = Child(window, "TIMER", c.reg, c.row);
        window.ApplyEdit(row, c.typed);
        EXPECT_EQ(rig.user.messages, c.messages);
        EXPECT_EQ(Register(window, "TIMER", c.reg)->Name(), RowText::Caption(c.reg, c.caption, 18));
        EXPECT_EQ(Child(window, "TIMER", c.reg, "VALUE~")->Value(), c.valueRow);
        EXPECT_EQ(row->Value(), c.rowAfter);
        EXPECT_EQ(row->IsModified(), c.rowModified);
    }
}

TEST(RegisterEditing, ValueRowDecodesEveryField)
{
    RegwinRig rig;
    rig.config.WriteInt("COMMON", "REG_WR", 1);
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    window.Tree().SetFilledValue(Child(window, "TIMER", "CR", "MODE"), 0, NumberForm::Hex);
    window.ApplyEdit(Child(window, "TIMER", "CR", "VALUE~"), "255");
    EXPECT_EQ(Child(window, "TIMER", "CR", "EN")->Value(), "1");
    EXPECT_EQ(Child(window, "TIMER", "CR", "MODE")->Value(), "0xF");
    EXPECT_EQ(Child(window, "TIMER", "CR", "TOP")->Value(), "0");
    EXPECT_FALSE(Child(window, "TIMER", "CR", "MODE")->IsModified());
    // The saved image follows the caption.
    ASSERT_TRUE(window.SaveSnapshot("TIMER", rig.FilePath("s.bin")));
    EXPECT_EQ(rig.ReadFile(rig.FilePath("s.bin")).left(4), Words({0xFF}));
}

TEST(RegisterEditing, ImmediateWriteReachesTheChip)
{
    RegwinRig rig("VX21C");
    rig.config.WriteInt("COMMON", "REG_WR", 0);
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    rig.chip.PokeWord(0x20001000, 0xA5);
    window.SetSelection(Register(window, "TIMER", "CR"), true);
    window.ReadSelection();
    ASSERT_TRUE(rig.user.messages.isEmpty());

    window.SetSelection(Peripheral(window, "TIMER"), false);
    window.ApplyEdit(Child(window, "TIMER", "CR", "MODE"), "5");
    EXPECT_TRUE(rig.user.messages.isEmpty());
    EXPECT_EQ(rig.chip.PeekWord(0x20001000), 0x55u);
    EXPECT_EQ(window.SelectedRow(), Register(window, "TIMER", "CR"));
    EXPECT_TRUE(window.SelectedIsRegister());

    // Out of range: nothing is written.
    window.ApplyEdit(Child(window, "TIMER", "CR", "MODE"), "16");
    EXPECT_EQ(rig.user.messages, QStringList{"out of range !\n16 does not fit CR.MODE (4 bits)\n"});
    EXPECT_EQ(rig.chip.PeekWord(0x20001000), 0x55u);

    // Through the menu only.
    rig.user.messages.clear();
    rig.config.WriteInt("COMMON", "REG_WR", 1);
    window.ApplyEdit(Child(window, "TIMER", "CR", "VALUE~"), "0x77");
    EXPECT_EQ(rig.chip.PeekWord(0x20001000), 0x55u);
    window.RunCommand(RegisterWindow::WriteCommand);
    EXPECT_EQ(rig.chip.PeekWord(0x20001000), 0x77u);
    EXPECT_TRUE(rig.user.messages.isEmpty());
}

TEST(RegisterEditing, OfflineImmediateEditStaysApplied)
{
    RegwinRig rig;
    rig.UseOffline();
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    window.ApplyEdit(Child(window, "TIMER", "CR", "EN"), "1");
    EXPECT_EQ(rig.user.messages, QStringList{"Please select online data type !\n"});
    EXPECT_EQ(Register(window, "TIMER", "CR")->Name(), "CR                0x00000001");
}

} // namespace

// Register windows over the standard SVD constructs: narrow registers,
// enumerated values, read-only rows and registers whose reading changes the chip.
#include "support/RegwinRig.h"

#include "regmap/RowExport.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// UART: CTRL with an enumerated and a read-only field; B1 (8 bits) and H2 (16
// bits) share the word at 4; STATUS is read-only and cleared by reading.
const char kRulesSvd[] = R"(<device><name>VX21A</name><peripherals>
<peripheral><name>UART</name><baseAddress>0x20005000</baseAddress><registers>
  <register><name>CTRL</name><addressOffset>0x0</addressOffset><fields>
    <field><name>MODE</name><bitOffset>0</bitOffset><bitWidth>2</bitWidth><enumeratedValues>
      <enumeratedValue><name>OFF</name><value>0</value></enumeratedValue>
      <enumeratedValue><name>ON</name><value>1</value></enumeratedValue></enumeratedValues></field>
    <field><name>ID</name><bitOffset>8</bitOffset><bitWidth>8</bitWidth><access>read-only</access></field></fields></register>
  <register><name>B1</name><addressOffset>0x5</addressOffset><size>8</size>
    <fields><field><name>LOW</name><bitOffset>0</bitOffset><bitWidth>4</bitWidth></field></fields></register>
  <register><name>H2</name><addressOffset>0x6</addressOffset><size>16</size></register>
  <register><name>STATUS</name><description>Status</description><addressOffset>0x8</addressOffset>
    <access>read-only</access><readAction>clear</readAction>
    <fields><field><name>CODE</name><bitOffset>0</bitOffset><bitWidth>8</bitWidth></field></fields></register>
  <register><name>DATA</name><addressOffset>0xC</addressOffset></register>
</registers></peripheral></peripherals></device>)";

struct RulesRig : RegwinRig
{
    bool Prepare()
    {
        PutSvd("VX21A", kRulesSvd);
        config.WriteInt("COMMON", "REG_WR", 1); // edits stay in the window
        return true;
    }
    QString Caption(const char *reg) { return Register(window, "UART", reg)->Name(); }
    QString Value(const char *reg, const char *row) { return Child(window, "UART", reg, row)->Value(); }

    bool prepared = Prepare(); // before the window reads the file
    RegisterWindow &window = WindowWith({"UART"});
};

QString CaptionOf(const char *name, const char *value)
{
    return RowText::Caption(name, value, 18);
}

} // namespace

TEST(SvdRulesInWindow, RowsShowWidthsEnumNamesAndWhatCannotBeEdited)
{
    RulesRig rig;
    EXPECT_EQ(rig.Caption("CTRL"), CaptionOf("CTRL", "0x00000000"));
    EXPECT_EQ(rig.Caption("B1"), CaptionOf("B1", "0x00"));
    EXPECT_EQ(rig.Caption("H2"), CaptionOf("H2", "0x0000"));
    EXPECT_EQ(rig.Value("B1", "VALUE~"), "0x00");
    EXPECT_EQ(rig.Value("CTRL", "MODE"), "0 (OFF)");
    EXPECT_TRUE(Child(rig.window, "UART", "CTRL", "MODE")->IsEditable());
    EXPECT_FALSE(Child(rig.window, "UART", "CTRL", "ID")->IsEditable());
    EXPECT_TRUE(Child(rig.window, "UART", "CTRL", "VALUE~")->IsEditable());
    EXPECT_FALSE(Child(rig.window, "UART", "STATUS", "VALUE~")->IsEditable());
    EXPECT_EQ(Register(rig.window, "UART", "STATUS")->Description(),
              "0x20005008 0x00000008\nStatus\n(read clears: left out of whole-peripheral reads)");
    EXPECT_EQ(Child(rig.window, "UART", "CTRL", "MODE")->Traits().choices.size(), 2);
    EXPECT_EQ(Peripheral(rig.window, "UART")->Description(), "0x20005000 0x00000010");
}

TEST(SvdRulesInWindow, NarrowRegistersLoadEditAndSaveOnlyTheirBytes)
{
    RulesRig rig;
    rig.PutFile(rig.DataPath("UART"), Words({0x00000301, 0xBEEF12AB, 5, 7}));
    ASSERT_TRUE(rig.window.LoadSnapshot("UART", rig.DataPath("UART")));
    EXPECT_EQ(rig.Caption("B1"), CaptionOf("B1", "0x12"));
    EXPECT_EQ(rig.Value("B1", "LOW"), "2"); // counted from B1's own bit 0
    EXPECT_EQ(rig.Caption("H2"), CaptionOf("H2", "0xBEEF"));
    EXPECT_EQ(rig.Value("CTRL", "MODE"), "1 (ON)");
    EXPECT_EQ(rig.Value("CTRL", "ID"), "3");

    rig.window.ApplyEdit(Child(rig.window, "UART", "B1", "VALUE~"), "0x100");
    EXPECT_EQ(rig.user.messages, QStringList{"out of range !\n0x100 does not fit B1 (8 bits)\n"});
    EXPECT_EQ(rig.Caption("B1"), CaptionOf("B1", "0x12"));
    rig.window.ApplyEdit(Child(rig.window, "UART", "B1", "LOW"), "0xF");
    EXPECT_EQ(rig.Caption("B1"), CaptionOf("B1", "0x1F"));
    EXPECT_EQ(rig.Value("B1", "VALUE~"), "0x1F");
    rig.window.ApplyEdit(Child(rig.window, "UART", "H2", "VALUE~"), "0x1234");
    EXPECT_EQ(rig.Caption("H2"), CaptionOf("H2", "0x1234"));

    // Enum names are shown again after a value edit and a base change.
    rig.window.ApplyEdit(Child(rig.window, "UART", "CTRL", "VALUE~"), "0x300");
    EXPECT_EQ(rig.Value("CTRL", "MODE"), "0 (OFF)");
    rig.config.WriteInt("COMMON", "HEX_DEC", 1);
    rig.window.ApplyNumberBase();
    EXPECT_EQ(rig.Value("CTRL", "MODE"), "0x0 (OFF)");

    const QString saved = rig.FilePath("saved.bin");
    ASSERT_TRUE(rig.window.SaveSnapshot("UART", saved));
    EXPECT_EQ(rig.ReadFile(saved), Words({0x300, 0x12341FAB, 5, 7}));
}

TEST(SvdRulesInWindow, WholeReadsLeaveOutReadClearsRegistersAndNarrowWritesKeepTheWord)
{
    RulesRig rig;
    rig.UseProbe();
    for (uint32_t i = 0; i < 0x10; i += 4)
        rig.probe.PokeWord(0x20005000 + i, 0xC0DE0000 + i);
    rig.PutFile(rig.DataPath("UART"), Words({0, 0, 0x55, 0}));

    rig.window.SetSelection(Peripheral(rig.window, "UART"), false);
    rig.window.ReadSelection();
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join("|").toStdString();
    // STATUS keeps the value its file had; the words around it come from the chip.
    EXPECT_EQ(rig.ReadFile(rig.DataPath("UART")), Words({0xC0DE0000, 0xC0DE0004, 0x55, 0xC0DE000C}));
    EXPECT_EQ(rig.Caption("STATUS"), CaptionOf("STATUS", "0x00000055"));
    EXPECT_EQ(rig.Caption("DATA"), CaptionOf("DATA", "0xC0DE000C"));
    EXPECT_EQ(rig.Caption("H2"), CaptionOf("H2", "0xC0DE"));

    // Read alone, it is read.
    rig.window.SetSelection(Register(rig.window, "UART", "STATUS"), true);
    rig.window.ReadSelection();
    EXPECT_EQ(rig.Caption("STATUS"), CaptionOf("STATUS", "0xC0DE0008"));
    // A read-only register's fields show their values like any other's.
    EXPECT_EQ(rig.Value("STATUS", "CODE"), "8");
    EXPECT_FALSE(Child(rig.window, "UART", "STATUS", "CODE")->IsEditable());

    // Writing B1 changes its byte only; the rest of the word is the chip's,
    // read just before, not the word as last read.
    rig.probe.PokeWord(0x20005004, 0x11111111);
    rig.window.ApplyEdit(Child(rig.window, "UART", "B1", "VALUE~"), "0x7E");
    rig.window.SetSelection(Register(rig.window, "UART", "B1"), true);
    rig.window.WriteSelection();
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join("|").toStdString();
    EXPECT_EQ(rig.probe.PeekWord(0x20005004), 0x11117E11u);
}

TEST(SvdRulesInWindow, ExportGivesTheEnumeratedNameItsOwnColumn)
{
    RulesRig rig;
    rig.window.FillPeripheral("UART", QByteArray("\x01\x00\x00\x00", 4) + QByteArray(12, '\0'));
    ASSERT_EQ(rig.Value("CTRL", "MODE"), "1 (ON)");
    const std::vector<RowExport::Record> records = RowExport::Records(rig.window.Tree());
    const auto mode = std::find_if(records.begin(), records.end(), [](const auto &r) { return r.field == "MODE"; });
    ASSERT_NE(mode, records.end());
    EXPECT_EQ(mode->fieldValue, "1");
    EXPECT_EQ(mode->enumeratedName, "ON");
    const auto id = std::find_if(records.begin(), records.end(), [](const auto &r) { return r.field == "ID"; });
    ASSERT_NE(id, records.end());
    EXPECT_EQ(id->enumeratedName, "") << "a field without enumerated values has no name";
}

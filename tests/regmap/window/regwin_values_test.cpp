// What a register window's values are: typed in the window's base, and
// where each value came from (never read, the chip, a file, an edit).
#include "support/RegwinRig.h"

#include <gtest/gtest.h>

namespace {

TEST(TypedValues, HexBaseWritesTheWordAsTyped)
{
    RegwinRig rig;
    rig.UseUart();
    rig.config.WriteInt("COMMON", "HEX_DEC", 1);
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    window.ApplyEdit(Child(window, "TIMER", "CR", "VALUE~"), "0E000105");
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(rig.chip.PeekWord(0x20001000), 0x0E000105u);
    EXPECT_EQ(Register(window, "TIMER", "CR")->Number(), 0x0E000105u);

    // A text that is not wholly a number writes nothing and is undone.
    window.ApplyEdit(Child(window, "TIMER", "CR", "VALUE~"), "0E00010G");
    EXPECT_EQ(rig.user.messages, QStringList{"not a number !\n0E00010G is no hexadecimal value for CR\n"});
    EXPECT_EQ(rig.chip.PeekWord(0x20001000), 0x0E000105u);
    EXPECT_EQ(Child(window, "TIMER", "CR", "VALUE~")->Number(), 0x0E000105u) << "the row shows what it showed";
}

TEST(TypedValues, AnEnumeratedNameIsItsValue)
{
    RegwinRig rig;
    rig.PutSvd("VX21A", R"(<?xml version="1.0"?>
<device><peripherals><peripheral><name>UART</name><baseAddress>0x20001000</baseAddress><registers>
  <register><name>CTRL</name><addressOffset>0x0</addressOffset><fields><field><name>MODE</name>
    <bitOffset>4</bitOffset><bitWidth>2</bitWidth><enumeratedValues>
      <enumeratedValue><name>OFF</name><value>0</value></enumeratedValue>
      <enumeratedValue><name>FAST</name><value>2</value></enumeratedValue>
    </enumeratedValues></field></fields></register>
</registers></peripheral></peripherals></device>)");
    rig.config.WriteInt("COMMON", "REG_WR", 1);
    RegisterWindow &window = rig.WindowWith({"UART"});
    window.ApplyEdit(Child(window, "UART", "CTRL", "MODE"), "FAST");
    EXPECT_TRUE(rig.user.messages.isEmpty());
    EXPECT_EQ(Register(window, "UART", "CTRL")->Number(), 0x20u);
    window.ApplyEdit(Child(window, "UART", "CTRL", "MODE"), "2 (FAST)");
    EXPECT_EQ(Register(window, "UART", "CTRL")->Number(), 0x20u);

    // Names match in any case and show as the file spells them.
    window.ApplyEdit(Child(window, "UART", "CTRL", "MODE"), "off");
    EXPECT_TRUE(rig.user.messages.isEmpty());
    EXPECT_EQ(Register(window, "UART", "CTRL")->Number(), 0x0u);
    window.ApplyEdit(Child(window, "UART", "CTRL", "MODE"), " Fast ");
    EXPECT_EQ(Register(window, "UART", "CTRL")->Number(), 0x20u);
    EXPECT_EQ(Child(window, "UART", "CTRL", "MODE")->Value(), "FAST");

    // A refusal names the names the field takes.
    window.ApplyEdit(Child(window, "UART", "CTRL", "MODE"), "SLOW");
    EXPECT_EQ(rig.user.messages,
              QStringList{"not a number !\nSLOW is no decimal value for CTRL.MODE, nor one of its names: OFF, FAST\n"});
    EXPECT_EQ(Register(window, "UART", "CTRL")->Number(), 0x20u);
}

ValueSource::Kind KindOf(RegisterWindow &window, const QString &reg)
{
    return Register(window, "TIMER", reg)->Source().kind;
}

TEST(ValueSources, NeverReadThenFileThenChipThenEditedThenStale)
{
    RegwinRig rig;
    rig.UseProbe();
    RegisterWindow &fresh = rig.WindowWith({"TIMER"});
    EXPECT_EQ(KindOf(fresh, "CR"), ValueSource::Kind::NotRead) << "no snapshot yet";

    // A window opened later shows the last saved snapshot, as from that file.
    // The file holds CR and SR only: DATA stays never read.
    rig.PutFile(rig.DataPath("TIMER"), Words({0x12345678, 0x11}));
    rig.windows.clear();
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    EXPECT_TRUE(rig.user.messages.isEmpty()) << "shown without the short-file note";
    EXPECT_EQ(Register(window, "TIMER", "CR")->Number(), 0x12345678u);
    const ValueSource &loaded = Register(window, "TIMER", "CR")->Source();
    EXPECT_EQ(loaded.kind, ValueSource::Kind::File);
    EXPECT_EQ(loaded.file, rig.DataPath("TIMER"));
    EXPECT_TRUE(loaded.time.isValid());
    EXPECT_EQ(Child(window, "TIMER", "CR", "MODE")->Source().kind, ValueSource::Kind::File)
        << "value and field rows answer for their register";

    rig.Poke(0x20001000, 0xA5);
    window.SetSelection(Register(window, "TIMER", "CR"), true);
    window.ReadSelection();
    EXPECT_EQ(KindOf(window, "CR"), ValueSource::Kind::Chip);
    EXPECT_EQ(KindOf(window, "SR"), ValueSource::Kind::File);

    rig.config.WriteInt("COMMON", "REG_WR", 1);
    window.ApplyEdit(Child(window, "TIMER", "CR", "MODE"), "3");
    EXPECT_EQ(KindOf(window, "CR"), ValueSource::Kind::Edited);

    // A failed read keeps what the rows show, marked as old.
    rig.probe.SetFault("short-read");
    window.SetSelection(Peripheral(window, "TIMER"), false);
    window.ReadSelection();
    EXPECT_EQ(rig.user.messages.size(), 1);
    EXPECT_TRUE(Register(window, "TIMER", "SR")->Source().stale);
    EXPECT_EQ(Register(window, "TIMER", "CR")->Number(), 0x35u);
    EXPECT_FALSE(Register(window, "TIMER", "DATA")->Source().stale) << "never read: nothing to call old";
}

} // namespace

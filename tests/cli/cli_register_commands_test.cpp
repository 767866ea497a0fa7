#include "CliRig.h"

#include <gtest/gtest.h>

namespace {

// Never read: "—" where a window shows it.
const QByteArray kGpioRows = "GPIO\t\t0x20002000 0x00000004\n"
                             "  OUT               —\t\t0x20002000 0x00000000\\nOutput\n"
                             "    VALUE~\t—\t寄存器数值\n"
                             "    PIN\t—\t[0]\\nPins\n";

TEST(CliRegisterCommands, RowsPrintEveryRow)
{
    CliRig rig;
    ChildRun run = rig.Cli({"rows", "GPIO"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    QByteArray expected = kGpioRows;
    expected.replace("[0]", "[0-7]");
    EXPECT_EQ(run.out, expected);
    EXPECT_EQ(run.err, "");

    // Realigned to 400 pixels at 144 dpi: trunc(52.64 * 96 / 144) = 35.
    run = rig.Cli({"rows", "--width", "400", "--dpi", "144", "--base", "hex", "GPIO", "TIMER"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const QList<QByteArray> lines = run.out.split('\n');
    ASSERT_GE(lines.size(), 6);
    EXPECT_EQ(lines[1], "  OUT" + QByteArray(32, ' ') + "—\t\t0x20002000 0x00000000\\nOutput");
    EXPECT_EQ(lines[3], "    PIN\t—\t[0-7]\\nPins");
    EXPECT_TRUE(run.out.contains("  SR" + QByteArray(33, ' ') + "—\t\t0x20001004 0x00000004\\rStatus\n"));
    EXPECT_TRUE(run.out.contains("    TOP\t—\t[31]\\n\\nTop bit\n"));

    // The last saved snapshot is shown, as a window shows it at start.
    rig.PutFile(rig.DataPath("GPIO"), Words({0xA5}));
    rig.config.WriteInt("COMMON", "HEX_DEC", 1); // HEX_DEC is the default base
    run = rig.Cli({"rows", "GPIO"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(run.out.contains("  OUT               0x000000A5\t\t")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("    VALUE~\t0x000000A5\t"));
    EXPECT_TRUE(run.out.contains("    PIN\t0xA5\t"));
}

TEST(CliRegisterCommands, Errors)
{
    CliRig rig;
    struct Case
    {
        QStringList arguments;
        int status;
        QByteArray err;
    };
    const Case cases[] = {
        {{"rows"}, 2, "usage: corvane-cli rows [--width W] [--dpi D] [--base dec|hex] NAME...\n"},
        {{"rows", "--base", "oct", "GPIO"},
         2,
         "usage: corvane-cli rows [--width W] [--dpi D] [--base dec|hex] NAME...\n"},
        {{"rows", "NOPE"}, 1, "no peripheral NOPE in " + rig.home.filePath("svd/VX21A.svd").toUtf8() + "\n"},
        {{"rows", "BROKEN"}, 1, "[svd] peripherals->peripheral->registers->register->addressOffset  not find!\n"},
        {{"register-write", "GPIO", "NONE", "1"}, 1, "no register NONE in GPIO\n"},
        {{"register-write", "GPIO"}, 2, "usage: corvane-cli register-write NAME REGISTER VALUE\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(qPrintable(c.arguments.join(' ')));
        const ChildRun run = rig.Cli(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
    }
}

TEST(CliRegisterCommands, PeripheralReadWritesTheFileAndPrintsTheRows)
{
    CliRig rig;
    rig.chip.PokeWord(0x20002000, 0xA5);
    const ChildRun run = rig.Cli({"peripheral-read", "--base", "hex", "GPIO"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(rig.ReadFile(rig.DataPath("GPIO")), Words({0xA5}));
    EXPECT_TRUE(run.out.contains("  OUT               0x000000A5\t\t"));
    EXPECT_TRUE(run.out.contains("    PIN\t0xA5\t"));

    rig.UseOffline();
    const ChildRun offline = rig.Cli({"peripheral-read", "GPIO"});
    EXPECT_EQ(offline.status, 1);
    EXPECT_EQ(offline.err, "Please select online data type !\n");
    EXPECT_EQ(offline.out, "");
}

TEST(CliRegisterCommands, RegisterWriteReachesTheChip)
{
    CliRig rig;
    // The default snapshot supplies the values of the other registers.
    rig.PutFile(rig.DataPath("TIMER"), Words({0x000000A5, 0x00000011}) + QByteArray(0xF8, '\0'));
    rig.chip.PokeWord(0x20001004, 0xEEEEEEEE);
    ChildRun run = rig.Cli({"register-write", "TIMER", "CR", "0x12345678"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(rig.chip.PeekWord(0x20001000), 0x12345678u);
    EXPECT_EQ(rig.chip.PeekWord(0x20001004), 0xEEEEEEEEu) << "one register only";
    const QByteArray temp = rig.ReadFile(rig.TempPath("TIMER"));
    EXPECT_EQ(temp.left(8), Words({0x12345678, 0x00000011}));

    run = rig.Cli({"register-write", "TIMER", "A_VERY_LONG_REGISTER_NAME_XYZ", "255"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(rig.chip.PeekWord(0x200010FC), 255u);
}

// Two narrow registers in one word: each write merges into the word read
// from the chip, never into the snapshot file's old bytes of its neighbour.
TEST(CliRegisterCommands, RegisterWriteKeepsTheNeighboursOfANarrowRegister)
{
    CliRig rig;
    rig.PutSvd("VX21A", R"(<?xml version="1.0" encoding="utf-8"?>
<device><name>VX21A</name><peripherals><peripheral><name>P64</name><baseAddress>0x20003000</baseAddress>
<registers>
<register><name>R8B</name><addressOffset>0x9</addressOffset><size>8</size><fields/></register>
<register><name>R16</name><addressOffset>0xA</addressOffset><size>16</size><fields/></register>
</registers></peripheral></peripherals></device>
)");
    rig.PutFile(rig.DataPath("P64"), QByteArray(0x10, '\0') + QByteArray(4, '\0'));
    rig.chip.PokeWord(0x20003008, 0x00000011);
    ChildRun run = rig.Cli({"register-write", "P64", "R8B", "0xAB"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(rig.chip.PeekWord(0x20003008), 0x0000AB11u);
    run = rig.Cli({"register-write", "P64", "R16", "0xFFFF"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(rig.chip.PeekWord(0x20003008), 0xFFFFAB11u) << "R8B kept its value on the chip";
}

// A 64-bit register goes out whole and comes back whole; a value wider than
// its register is refused as out of range, and nothing is written.
TEST(CliRegisterCommands, RegistersOfSixtyFourBits)
{
    CliRig rig;
    rig.PutSvd("VX21A", R"(<?xml version="1.0"?>
<device><name>VX21A</name><peripherals><peripheral><name>P64</name><baseAddress>0x20005000</baseAddress><registers>
  <register><name>R32</name><addressOffset>0x0</addressOffset></register>
  <register><name>R64</name><addressOffset>0x8</addressOffset><size>64</size><fields>
    <field><name>HIGH</name><bitRange>[63:32]</bitRange></field></fields></register>
</registers></peripheral></peripherals></device>)");
    rig.chip.PokeWord(0x20005000, 0x77777777);
    ChildRun run = rig.Cli({"register-write", "P64", "R64", "0x1122334455667788"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(rig.chip.PeekWord(0x20005008), 0x55667788u);
    EXPECT_EQ(rig.chip.PeekWord(0x2000500C), 0x11223344u);
    EXPECT_EQ(rig.chip.PeekWord(0x20005000), 0x77777777u) << "one register only";

    run = rig.Cli({"register-write", "P64", "R32", "0x100000000"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "out of range !\n0x100000000 does not fit R32 (32 bits)\n");
    EXPECT_EQ(rig.chip.PeekWord(0x20005000), 0x77777777u);

    run = rig.Cli({"peripheral-read", "--base", "hex", "P64"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.contains("    VALUE~\t0x1122334455667788\t")) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains("    HIGH\t0x11223344\t")) << run.out.toStdString();
}

// The exit status follows the kind of the messages, not their texts.
TEST(CliRegisterCommands, NotesLeaveTheStatusAtSuccess)
{
    CliRig rig;
    // A short default snapshot is filled with zeros: a note, the write goes on.
    rig.PutFile(rig.DataPath("TIMER"), Words({0x000000A5, 0x00000011}));
    ChildRun run = rig.Cli({"register-write", "TIMER", "CR", "0x12345678"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "TIMER size 0x100 > file len 0x8, fill zero !\n");
    EXPECT_EQ(rig.chip.PeekWord(0x20001000), 0x12345678u);

    // The same note, then a failure: the failure decides.
    rig.UseOffline();
    run = rig.Cli({"register-write", "TIMER", "CR", "0x1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "TIMER size 0x100 > file len 0x8, fill zero !\nPlease select online data type !\n");
}

} // namespace

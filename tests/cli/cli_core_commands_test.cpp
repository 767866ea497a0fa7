// corvane-cli core, core-write and fault on the simulated chip over the
// UART link: the registers through the debug registers, a running core
// refused until --halt, the report in text and JSON.

#include "support/ChildRun.h"
#include "tools/cli/CliMessages.h"
#include "CliRig.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

struct CoreCliRig : CliRig
{
    CoreCliRig()
    {
        chip.SetCoreRegister(0, 0x0000002A);
        chip.SetCoreRegister(15, 0x00000F40);
        chip.SetCoreRegister(16, 0x01000006); // UsageFault
        chip.SetCoreRegister(14, 0xFFFFFFF9); // MSP_S
        chip.SetCoreRegister(0x1A, 0x20001000);
        chip.PokeWord(0xE000ED28, 1u << 25); // DIVBYZERO
        for (uint32_t i = 0; i < 8; ++i)
            chip.PokeWord(0x20001000 + 4 * i, 0x100 + i);
    }
};

TEST(CliCore, RunningCoreRefusedUntilHaltAsked)
{
    CoreCliRig rig;
    ASSERT_TRUE(rig.chipStarted);
    const ChildRun refused = rig.Cli({"core"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.contains("the core is running: halt it first (\"halt HCPU\"")) << refused.err.constData();
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_FALSE(rig.chip.CoreHalted());

    const ChildRun halted = rig.Cli({"core", "--halt"});
    ASSERT_EQ(halted.status, 0) << halted.err.constData();
    EXPECT_TRUE(halted.out.startsWith("R0         0x0000002A\n")) << halted.out.constData();
    EXPECT_TRUE(halted.out.contains("\nPC         0x00000F40\n")) << halted.out.constData();
    EXPECT_TRUE(rig.chip.CoreHalted());

    // Halted now, a plain read works and leaves it halted.
    const ChildRun json = rig.Cli({"core", "--format", "json"});
    ASSERT_EQ(json.status, 0) << json.err.constData();
    const QJsonObject object = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(object["xPSR"].toString(), "0x01000006");
    EXPECT_EQ(object["MSP_S"].toString(), "0x20001000");
    EXPECT_TRUE(rig.chip.CoreHalted());
}

TEST(CliCore, CoreWriteReadsBack)
{
    CoreCliRig rig;
    ASSERT_TRUE(rig.chipStarted);
    rig.chip.SetCoreHalted(true);
    const ChildRun write = rig.Cli({"core-write", "pc", "0x00000F80"});
    EXPECT_EQ(write.status, 0) << write.err.constData();
    EXPECT_EQ(rig.chip.CoreRegister(15), 0x00000F80u);
    const ChildRun refused = rig.Cli({"core-write", "CONTROL", "1"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "core register CONTROL is not written here (R0-R12, SP, PC, xPSR), please check!\n");
    EXPECT_EQ(rig.Cli({"core-write", "pc"}).status, 2);
}

TEST(CliCore, FaultReportTextAndJson)
{
    CoreCliRig rig;
    ASSERT_TRUE(rig.chipStarted);
    rig.chip.SetCoreHalted(true);
    const ChildRun text = rig.Cli({"fault"});
    ASSERT_EQ(text.status, 0) << text.err.constData();
    EXPECT_TRUE(text.out.startsWith("Exception: 6 UsageFault\n")) << text.out.constData();
    EXPECT_TRUE(text.out.contains("  UFSR DIVBYZERO: divide by zero\n")) << text.out.constData();
    EXPECT_TRUE(text.out.contains("Stacked frame on MSP_S at 0x20001000:\n")) << text.out.constData();
    EXPECT_TRUE(text.out.contains("  PC    0x00000106\n")) << text.out.constData();

    const ChildRun json = rig.Cli({"fault", "--format", "json"});
    ASSERT_EQ(json.status, 0) << json.err.constData();
    const QJsonObject object = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(object["exception"].toObject()["number"].toInt(), 6);
    EXPECT_EQ(object["stacked_frame"].toObject()["registers"].toObject()["xPSR"].toString(), "0x00000107");

    const ChildRun badElf = rig.Cli({"fault", "--elf", rig.FilePath("Corvane.ini")});
    EXPECT_EQ(badElf.status, 1);
    EXPECT_TRUE(badElf.err.startsWith(rig.FilePath("Corvane.ini").toUtf8() + " cannot be read as an ELF file: "))
        << badElf.err.constData();
    EXPECT_EQ(rig.Cli({"fault", "--format", "xml"}).status, 2);
}

TEST(CliCore, HelpListsTheCommands)
{
    const ChildRun help = RunCli({"--help"});
    EXPECT_TRUE(help.out.contains("  core [--halt] [--format text|json]")) << help.out.constData();
    EXPECT_TRUE(help.out.contains("  core-write NAME VALUE [--halt]")) << help.out.constData();
    EXPECT_TRUE(help.out.contains("  fault [--elf FILE] [--halt] [--format text|json]")) << help.out.constData();
}

} // namespace

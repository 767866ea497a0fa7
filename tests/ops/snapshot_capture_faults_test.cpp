// The capture where its files cannot be written: a full disk, a model the
// chip table does not know, and the slot rule beyond slot 0.

#include "CaptureRig.h"
#include "support/FileSizeLimit.h"

#include <gtest/gtest.h>

namespace {

// The probe link to chip MODEL, with the selector naming probe 123456.
struct ProbeCaptureRig : CaptureRig
{
    explicit ProbeCaptureRig(const QString &model = "VX21A")
        : CaptureRig(model)
    {
        user.dataSourceEntry = 1;
        user.probeText = "123456";
        UseProbe();
    }
};

TEST(SnapshotCaptureFaults, FullDiskKeepsTheOldFile)
{
    ProbeCaptureRig rig;
    rig.probe.PokeWord(0x20001000, 0x000000A5);
    rig.WindowWith({"TIMER"}, 0);
    rig.list.rows = {{"TIMER", 0b1, true}};
    const QByteArray old(0x100, char(0x77));
    rig.PutFile(rig.DataPath("TIMER"), old);
    {
        const FileSizeLimit full(16);
        rig.Capture();
    }
    EXPECT_EQ(rig.ReadFile(rig.DataPath("TIMER")), old);
    EXPECT_EQ(rig.user.messages, QStringList{rig.DataPath("TIMER") + " create error !\n"});
}

// A chip of the configuration's list outside the chip table (a board reached
// over a GDB server) keeps its snapshots in a folder of its own; a model of
// the table gets its folder back when it went missing.
TEST(SnapshotCaptureFaults, EveryChipOfTheListGetsItsFolder)
{
    for (const char *model : {"AN505", "VX21B"}) {
        ProbeCaptureRig rig(model);
        rig.WindowWith({"TIMER"}, 0);
        rig.list.rows = {{"TIMER", 0b1, true}};
        rig.Capture();
        EXPECT_TRUE(rig.user.messages.isEmpty()) << model << rig.user.messages.join('|').toStdString();
        EXPECT_EQ(rig.ReadFile(rig.DataPath("TIMER")).size(), 0x100) << model;
    }
}

// A ticked row without a mark asks the slot of the ticked row before it,
// here slot 2; slot 0's window does not know that peripheral.
TEST(SnapshotCaptureFaults, UnmarkedRowUsesThePreviousRowsSlot)
{
    ProbeCaptureRig rig;
    rig.probe.PokeWord(0x20002000, 0x22222222);
    rig.WindowWith({"TIMER"}, 0);
    rig.WindowWith({"TIMER", "GPIO"}, 2);
    rig.list.rows = {{"TIMER", 0b100, true}, {"UART", 0, false}, {"GPIO", 0, true}};
    rig.Capture();
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(rig.probe.CallLog().filter("JLINK_ReadMemEx"),
              QStringList({"JLINK_ReadMemEx 0x20001000 0x100 4", "JLINK_ReadMemEx 0x20002000 0x4 4"}));
    EXPECT_EQ(rig.ReadFile(rig.DataPath("GPIO")), Words({0x22222222}));
}

} // namespace

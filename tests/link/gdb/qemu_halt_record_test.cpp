// The halt record against a real board: QEMU's mps2-an505 pauses for every
// GDB connection, so only the entry's identity tells a board Corvane halted
// from one that ran, or started again, since.

#include "GdbRig.h"
#include "support/QemuBoard.h"
#include "link/HaltRecord.h"
#include "link/LinkCycle.h"
#include "ops/ChipControl.h"

#include <QThread>

#include <gtest/gtest.h>

#include <memory>

namespace {

class QemuHaltRecord : public ::testing::Test
{
protected:
    // A running board, and an installation pointing at it.
    void StartRunningBoard(QemuBoard &board, std::unique_ptr<GdbRig> &rig)
    {
        if (QemuBoard::Program().isEmpty())
            GTEST_SKIP() << "qemu-system-arm is not installed (scripts/install-deps.sh installs it)";
#ifdef CORVANE_AN505_FIRMWARE
        ASSERT_TRUE(board.Start(CORVANE_AN505_FIRMWARE));
#else
        ASSERT_TRUE(board.Start()); // halted at its idle loop until the first detach
#endif
        rig = std::make_unique<GdbRig>(board.GdbServer());
        ASSERT_TRUE(ReadWord(*rig, 0xE000ED00));
        ASSERT_EQ(board.Status(), "running");
    }

    static std::optional<uint32_t> ReadWord(GdbRig &rig, uint32_t address)
    {
        LinkCycle cycle(rig.config, rig.links, rig.context);
        if (!cycle.Preface() || !cycle.Open() || !cycle.Read(address, 4))
            return std::nullopt;
        cycle.Close();
        return rig.links.buffer.Word(0);
    }

    static QString Target(const QemuBoard &board)
    {
        return "GDB " + board.GdbServer();
    }
};

// A record left by an earlier run (an older version's names alone, or
// another target's identity) no longer holds: a read of the freshly started
// board drops it and leaves the board running.
TEST_F(QemuHaltRecord, AStaleEntryIsDroppedAndTheBoardRunsOn)
{
    for (const char *entry : {"HCPU", "HCPU LCPU at 2026-01-01T00:00:00Z id 0123456789abcdef"}) {
        SCOPED_TRACE(entry);
        QemuBoard board;
        std::unique_ptr<GdbRig> rig;
        ASSERT_NO_FATAL_FAILURE(StartRunningBoard(board, rig));
        if (IsSkipped())
            return;
        ConfigFile record(HaltRecord::PathFor(rig->config));
        ASSERT_TRUE(record.WriteText(HaltRecord::kSection, Target(board), entry));
        ASSERT_TRUE(ReadWord(*rig, 0xE000ED00));
        EXPECT_EQ(board.Status(), "running");
        EXPECT_EQ(HaltRecord::Read(rig->config, Target(board)), HaltedCores{});
        ASSERT_TRUE(ReadWord(*rig, 0xE000ED00));
        EXPECT_EQ(board.Status(), "running");
        EXPECT_TRUE(rig->user.messages.isEmpty()) << rig->user.messages.join('|').toStdString();
    }
}

// A board Corvane halted keeps its identity through every later connection
// and stays halted; the same entry on a board started again (the same
// server address, another run) is stale there.
TEST_F(QemuHaltRecord, AHaltHoldsOnItsBoardAndNotOnABoardStartedAgain)
{
    QemuBoard halted;
    std::unique_ptr<GdbRig> rig;
    ASSERT_NO_FATAL_FAILURE(StartRunningBoard(halted, rig));
    if (IsSkipped())
        return;
#ifndef CORVANE_AN505_FIRMWARE
    GTEST_SKIP() << "the AN505 firmware is not built (gcc-arm-none-eabi): two idle boards look alike";
#endif
    QThread::msleep(100);
    ChipControl::HaltHcpu(rig->env);
    ASSERT_TRUE(rig->user.messages.isEmpty()) << rig->user.messages.join('|').toStdString();
    const HaltEntry entry = HaltRecord::ReadEntry(rig->config, Target(halted));
    EXPECT_EQ(entry.cores, (HaltedCores{.hcpu = true}));
    EXPECT_EQ(entry.identity.size(), 16);
    EXPECT_TRUE(entry.at.isValid());
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(ReadWord(*rig, 0x40000004));
    EXPECT_NE(halted.Status(), "running");
    EXPECT_EQ(HaltRecord::ReadEntry(rig->config, Target(halted)).identity, entry.identity);

    QemuBoard again;
    std::unique_ptr<GdbRig> againRig;
    ASSERT_NO_FATAL_FAILURE(StartRunningBoard(again, againRig));
    QThread::msleep(100);
    ConfigFile record(HaltRecord::PathFor(againRig->config));
    ASSERT_TRUE(record.WriteText(HaltRecord::kSection, Target(again), HaltRecord::EntryText(entry)));
    ASSERT_TRUE(ReadWord(*againRig, 0x40000004));
    EXPECT_EQ(again.Status(), "running");
    EXPECT_EQ(HaltRecord::Read(againRig->config, Target(again)), HaltedCores{});

    ChipControl::Run(rig->env);
    EXPECT_EQ(halted.Status(), "running");
}

} // namespace

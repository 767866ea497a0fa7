// A halted core stays halted through every later action until "运行" lets it
// run, over the probe and the UART link; the halt record says which cores
// Corvane halted on which target.

#include "link/HaltRecord.h"
#include "ops/ChipControl.h"
#include "ops/MemoryOps.h"
#include "support/TargetRig.h"

#include <QDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

struct HaltRig : TargetRig
{
    using TargetRig::TargetRig;
    OperationEnv env{config, links, context, {}};
    ChipControl::Pauses noPauses{0, 0, 0};

    HaltedCores Recorded() { return HaltRecord::Read(config, HaltRecord::SelectedTarget(config)); }

    // A read, a write and a cache clean: the actions that leave a running core running.
    void LaterActions()
    {
        struct : DumpView
        {
            void SetDumpText(const QString &) override {}
        } dump;
        MemoryOps::Read(env, "20000000", "10", dump);
        MemoryOps::WriteWord(env, "20000010", "1234");
        ChipControl::WatchdogOff(env);
    }
};

const QByteArray kHaltRequestBytes("\x03\x00\x5F\xA0", 4);
const QByteArray kRunRequestBytes("\x01\x00\x5F\xA0", 4);

TEST(HaltedStaysHalted, ProbeLetsTheCoreRunOnlyAtRun)
{
    HaltRig rig;
    rig.UseProbe();
    ChipControl::HaltHcpu(rig.env, rig.noPauses);
    EXPECT_EQ(rig.Recorded(), (HaltedCores{.hcpu = true}));
    rig.LaterActions();
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_TRUE(rig.probe.CallLog().filter("JLINK_Go").isEmpty());
    EXPECT_EQ(rig.Recorded(), (HaltedCores{.hcpu = true}));

    rig.probe.ClearCallLog();
    ChipControl::Run(rig.env);
    QStringList expected = ProbeOpeningCalls(123456);
    expected << "JLINK_Go"
             << "JLINK_Close";
    EXPECT_EQ(rig.probe.CallLog(), expected);
    EXPECT_EQ(rig.Recorded(), HaltedCores{});
    EXPECT_TRUE(rig.user.messages.isEmpty());
}

// The LCPU runs the way it halted: through a fresh connection while the flag is set.
TEST(HaltedStaysHalted, ProbeRunsTheLcpuThroughItsFlag)
{
    HaltRig rig("VX21C");
    rig.UseProbe(777);
    rig.probe.SetProbes({777});
    ChipControl::HaltLcpu(rig.env, rig.noPauses);
    EXPECT_EQ(rig.Recorded(), (HaltedCores{.lcpu = true}));
    rig.probe.ClearCallLog();
    ChipControl::Run(rig.env);
    const QStringList open = ProbeOpeningCalls(777);
    QStringList expected = open;
    expected << "JLINK_Go"
             << "JLINK_WriteMemEx 0x5000b008 0x4 4"
             << "JLINK_Close";
    expected << open;
    expected << "JLINK_Go"
             << "JLINK_WriteMemEx 0x5000b008 0x4 4"
             << "JLINK_Close";
    EXPECT_EQ(rig.probe.CallLog(), expected);
    EXPECT_EQ(rig.probe.PeekWord(0x5000B008), 0u);
    EXPECT_EQ(rig.Recorded(), HaltedCores{});
}

// The halt request stays in the debug register through later actions; the
// run request, the same word without the halt bit, replaces it.
TEST(HaltedStaysHalted, UartWritesTheRunRequestOnlyAtRun)
{
    for (bool lcpu : {false, true}) {
        SCOPED_TRACE(lcpu ? "halt LCPU" : "halt HCPU");
        HaltRig rig("VX21D");
        lcpu ? ChipControl::HaltLcpu(rig.env, rig.noPauses) : ChipControl::HaltHcpu(rig.env, rig.noPauses);
        EXPECT_EQ(rig.Recorded(), (HaltedCores{.hcpu = !lcpu, .lcpu = lcpu}));
        rig.LaterActions();
        EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
        EXPECT_EQ(rig.chip.PeekBus(0xF000EDF0, 4), kHaltRequestBytes);
        ChipControl::Run(rig.env);
        EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
        EXPECT_EQ(rig.chip.PeekBus(0xF000EDF0, 4), kRunRequestBytes);
        EXPECT_EQ(rig.Recorded(), HaltedCores{});
        // The leave request of the last action may still be on its way.
        for (int i = 0; i < 400 && rig.chip.LeaveCount() < rig.chip.EnterCount(); ++i)
            QThread::msleep(5);
        EXPECT_EQ(rig.chip.LeaveCount(), rig.chip.EnterCount());
    }
}

// The record is per target: another port, probe or server is not halted,
// and offline data has no target at all.
TEST(HaltRecord, NamesTheTargetOfEachLink)
{
    HaltRig rig;
    ChipControl::HaltHcpu(rig.env, rig.noPauses);
    const QString port = rig.chip.PortPath();
    EXPECT_EQ(HaltRecord::SelectedTarget(rig.config), "UART " + port);
    EXPECT_EQ(rig.Recorded(), (HaltedCores{.hcpu = true}));
    EXPECT_EQ(rig.ReadFile(HaltRecord::kFileName), "[HALTED]\nUART " + port.toUtf8() + "=HCPU\n");

    rig.UseProbe(42);
    EXPECT_EQ(HaltRecord::SelectedTarget(rig.config), "JLINK 42");
    EXPECT_EQ(rig.Recorded(), HaltedCores{});
    rig.config.WriteInt(ConfigKey::kCommon, ConfigKey::kDataType, 3);
    rig.config.WriteText(ConfigKey::kCommon, ConfigKey::kGdbServer, " lab-pc:2331 ");
    EXPECT_EQ(HaltRecord::SelectedTarget(rig.config), "GDB lab-pc:2331");
    rig.UseOffline();
    EXPECT_EQ(HaltRecord::SelectedTarget(rig.config), "");
    EXPECT_EQ(rig.Recorded(), HaltedCores{});
}

// A run with nothing recorded still lets the core run, and writes no record.
TEST(HaltRecord, RunWithoutAHaltWritesNoFile)
{
    HaltRig rig;
    rig.UseProbe();
    ChipControl::Run(rig.env);
    EXPECT_EQ(rig.probe.CallLog().filter("JLINK_Go").size(), 1);
    EXPECT_FALSE(QFile::exists(rig.FilePath(HaltRecord::kFileName)));
}

// The halt itself worked; a record that cannot be kept is told as a note,
// since later actions will not know of the halt.
TEST(HaltRecord, ARecordThatCannotBeWrittenIsANote)
{
    HaltRig rig;
    rig.UseProbe();
    ASSERT_TRUE(QDir(rig.home.path()).mkdir(HaltRecord::kFileName)); // a folder where the file would go
    ChipControl::HaltHcpu(rig.env, rig.noPauses);
    EXPECT_EQ(rig.probe.CallLog().filter("JLINK_Halt").size(), 1);
    ASSERT_EQ(rig.user.kinds, QList<MessageKind>{MessageKind::Note});
    EXPECT_TRUE(rig.user.messages[0].contains(HaltRecord::kFileName)) << rig.user.messages[0].toStdString();
}

} // namespace

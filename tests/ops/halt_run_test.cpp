// A halted core stays halted through every later action until "运行" lets it
// run, over the probe and the UART link; the halt record says which cores
// Corvane halted on which target.

#include "link/HaltRecord.h"
#include "ops/ChipControl.h"
#include "ops/MemoryOps.h"
#include "support/TargetRig.h"

#include <QDir>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>

#include <sys/stat.h>
#include <unistd.h>

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
        MemoryOps::Read(env, 0x20000000, 0x10, dump);
        MemoryOps::WriteWord(env, 0x20000010, 0x1234);
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
    // The entry says when; the UART link tells no identity of the target.
    const QString file = QString::fromUtf8(rig.ReadFile(HaltRecord::kFileName));
    EXPECT_TRUE(QRegularExpression("^\\[HALTED\\]\nUART " + QRegularExpression::escape(port) +
                                   "=HCPU at \\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\dZ\n$")
                    .match(file)
                    .hasMatch())
        << file.toStdString();

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

// A record that cannot be written fails the halt and the run with its
// message naming the file: a later action would not know of the halt, or
// would halt a core let run.
TEST(HaltRecord, ARecordThatCannotBeWrittenFailsTheHaltAndTheRun)
{
    struct Case
    {
        const char *name;
        std::function<void(HaltRig &, const QString &)> make;
    };
    const Case cases[] = {
        {"a folder", [](HaltRig &, const QString &path) { ASSERT_TRUE(QDir().mkdir(path)); }},
        {"a FIFO", [](HaltRig &, const QString &path) { ASSERT_EQ(::mkfifo(QFile::encodeName(path), 0600), 0); }},
        {"read-only",
         [](HaltRig &rig, const QString &path) {
             rig.PutFile(path, "[HALTED]\n");
             ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner));
         }},
        {"not UTF-8", [](HaltRig &rig, const QString &path) { rig.PutFile(path, "[HALTED]\n\xff\xfe\n"); }},
        {"huge", [](HaltRig &rig, const QString &path) { rig.PutFile(path, QByteArray(9 * 1024 * 1024, ';')); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        HaltRig rig;
        rig.UseProbe();
        const QString path = rig.FilePath(HaltRecord::kFileName);
        c.make(rig, path);
        if (::geteuid() == 0 && std::string(c.name) == "read-only")
            continue; // root writes whatever the permissions say
        ChipControl::HaltHcpu(rig.env, rig.noPauses);
        EXPECT_EQ(rig.probe.CallLog().filter("JLINK_Halt").size(), 1);
        ASSERT_EQ(rig.user.kinds, QList<MessageKind>{MessageKind::Failure});
        EXPECT_TRUE(rig.user.messages[0].contains(HaltRecord::kFileName)) << rig.user.messages[0].toStdString();

        rig.user.messages.clear();
        rig.user.kinds.clear();
        ChipControl::Run(rig.env);
        EXPECT_EQ(rig.probe.CallLog().filter("JLINK_Go").size(), 1);
        ASSERT_EQ(rig.user.kinds, QList<MessageKind>{MessageKind::Failure});
        EXPECT_TRUE(rig.user.messages[0].contains(HaltRecord::kFileName)) << rig.user.messages[0].toStdString();
    }
}

// The UART link asks the core's debug halting status: a chip that started
// again since an earlier run recorded its halt runs, so the entry is dropped
// (and the word the action writes is the one it meant).
TEST(HaltRecord, AnEntryOfAChipThatRunsIsDroppedOverUart)
{
    for (const char *entry : {"HCPU", "HCPU at 2026-01-01T00:00:00Z"}) {
        SCOPED_TRACE(entry);
        HaltRig rig;
        const QString target = HaltRecord::SelectedTarget(rig.config);
        ASSERT_TRUE(ConfigFile(HaltRecord::PathFor(rig.config)).WriteText(HaltRecord::kSection, target, entry));
        MemoryOps::WriteWord(rig.env, 0x20000010, 0x1234ABCD);
        EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
        EXPECT_EQ(rig.chip.PeekWord(0x20000010), 0x1234ABCDu);
        EXPECT_EQ(rig.Recorded(), HaltedCores{});
        EXPECT_EQ(rig.chip.PeekBus(0xF000EDF0, 4), QByteArray(4, '\0')); // never halted
    }
    // A core Corvane halted reads as halted: its entry holds.
    HaltRig rig;
    ChipControl::HaltHcpu(rig.env, rig.noPauses);
    rig.LaterActions();
    EXPECT_EQ(rig.Recorded(), (HaltedCores{.hcpu = true}));
}

// Records of older versions hold the core names alone; they are still read.
TEST(HaltRecord, EntriesOfOlderVersionsAreRead)
{
    HaltRig rig;
    rig.UseProbe(42);
    rig.PutFile(HaltRecord::kFileName, "[HALTED]\nJLINK 42=HCPU LCPU\n");
    const HaltEntry entry = HaltRecord::ReadEntry(rig.config, "JLINK 42");
    EXPECT_EQ(entry.cores, (HaltedCores{.hcpu = true, .lcpu = true}));
    EXPECT_TRUE(entry.identity.isEmpty());
    EXPECT_FALSE(entry.at.isValid());
    // The probe tells no identity: the entry keeps the cores halted.
    rig.LaterActions();
    EXPECT_TRUE(rig.probe.CallLog().filter("JLINK_Go").isEmpty());
    EXPECT_EQ(rig.Recorded(), (HaltedCores{.hcpu = true, .lcpu = true}));
}

} // namespace

#include "ops/ChipControl.h"
#include "support/TargetRig.h"

#include <gtest/gtest.h>

namespace {

struct ControlRig : TargetRig
{
    using TargetRig::TargetRig;
    OperationEnv env{config, links, context, {}};
    ChipControl::Pauses noPauses{0, 0, 0};

    QStringList ProbeAccesses() { return probe.CallLog().filter("MemEx"); }
};

TEST(WatchdogOff, WritesTheModelsRegistersInOrder)
{
    struct Case
    {
        const char *model;
        QStringList writes;
    };
    const Case cases[] = {
        {"VX21A", {"0x4000b00c", "0x500cc00c", "0x5009400c"}},
        {"VX21B", {"0x4001400c", "0x4005500c", "0x4007c00c"}},
        {"VX21D", {"0x5009400c", "0x4000b00c", "0x500cc00c"}},
        {"VX21E", {"0x4001400c", "0x5000b00c", "0x5004c00c"}},
        {"other", {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.model);
        ControlRig rig(c.model);
        rig.UseProbe();
        ChipControl::WatchdogOff(rig.env);
        EXPECT_TRUE(rig.user.messages.isEmpty());
        QStringList expected;
        for (const QString &address : c.writes)
            expected << "JLINK_WriteMemEx " + address + " 0x4 4";
        EXPECT_EQ(rig.ProbeAccesses(), expected);
        for (const QString &address : c.writes)
            EXPECT_EQ(rig.probe.PeekWord(address.toUInt(nullptr, 16)), 0x34u);
        EXPECT_EQ(rig.probe.CallLog().last(), "JLINK_Close");
    }
}

TEST(WatchdogOff, OverUartOnTheChipAndAFailedSecondWrite)
{
    ControlRig rig("VX21D");
    ChipControl::WatchdogOff(rig.env);
    EXPECT_TRUE(rig.user.messages.isEmpty());
    for (uint32_t address : {0x5009400Cu, 0x4000B00Cu, 0x500CC00Cu})
        EXPECT_EQ(rig.chip.PeekWord(address), 0x34u);

    ControlRig probe("VX21D");
    probe.UseProbe();
    probe.probe.SetFault("short-write", 2);
    ChipControl::WatchdogOff(probe.env);
    EXPECT_EQ(probe.user.messages, QStringList{"jlink_WriteMemEx 0x4000b00c 0x4 error !\n"});
    EXPECT_EQ(probe.ProbeAccesses().size(), 2);
    EXPECT_EQ(probe.probe.PeekWord(0x500CC00C), 0u);

    ControlRig refused("VX21B");
    ChipControl::WatchdogOff(refused.env);
    EXPECT_EQ(refused.user.messages, QStringList{"VX21B not support uart debug !"});
}

TEST(HaltHcpu, ProbeHaltsAndUartWritesTheHaltRequest)
{
    ControlRig probe;
    probe.UseProbe();
    ChipControl::HaltHcpu(probe.env, probe.noPauses);
    EXPECT_EQ(probe.probe.CallLog().mid(probe.probe.CallLog().size() - 2), (QStringList{"JLINK_Halt", "JLINK_Close"}));
    EXPECT_TRUE(probe.ProbeAccesses().isEmpty());

    for (const char *model : {"VX21A", "VX21C", "VX21D"}) {
        ControlRig rig(model);
        ChipControl::HaltHcpu(rig.env, rig.noPauses);
        EXPECT_TRUE(rig.user.messages.isEmpty());
        // Already in the debug mode's view: sent unchanged.
        EXPECT_EQ(rig.chip.PeekBus(0xF000EDF0, 4), QByteArray("\x03\x00\x5F\xA0", 4)) << model;
    }
}

TEST(HaltLcpu, ProbeSequenceWithPreparationOnVx21a)
{
    ControlRig rig("VX21A");
    rig.UseProbe(777);
    rig.probe.SetProbes({777});
    rig.probe.PokeWord(0x500C002C, 0x10);
    ChipControl::HaltLcpu(rig.env, rig.noPauses);
    EXPECT_TRUE(rig.user.messages.isEmpty());
    const QStringList open = ProbeOpeningCalls(777);
    QStringList expected = open;
    expected << "JLINK_ReadMemEx 0x500c002c 0x4 4"
             << "JLINK_WriteMemEx 0x500c002c 0x4 4"
             << "JLINK_WriteMemEx 0x5000b008 0x4 4"
             << "JLINK_Close";
    expected << open;
    expected << "JLINK_Halt"
             << "JLINK_WriteMemEx 0x5000b008 0x4 4"
             << "JLINK_Close";
    EXPECT_EQ(rig.probe.CallLog(), expected);
    EXPECT_EQ(rig.probe.PeekWord(0x500C002C), 0x11u);
    EXPECT_EQ(rig.probe.PeekWord(0x5000B008), 0u);
}

TEST(HaltLcpu, ProbeOnVx21cSkipsPreparationAndAFailedReopenLeavesTheFlag)
{
    ControlRig rig("VX21C");
    rig.UseProbe();
    ChipControl::HaltLcpu(rig.env, rig.noPauses);
    EXPECT_EQ(rig.ProbeAccesses().first(), "JLINK_WriteMemEx 0x5000b008 0x4 4");

    ControlRig failing("VX21C");
    failing.UseProbe();
    failing.probe.SetFault("connect", 2); // the second connect fails
    ChipControl::HaltLcpu(failing.env, failing.noPauses);
    EXPECT_EQ(failing.user.messages, QStringList{"jlink_Connect error\n"});
    EXPECT_EQ(failing.probe.PeekWord(0x5000B008), 1u);
    EXPECT_TRUE(failing.probe.CallLog().filter("JLINK_Halt").isEmpty());
}

TEST(HaltLcpu, UartSendsTheSameSingleWriteAsHaltHcpu)
{
    ControlRig hcpu("VX21D");
    ChipControl::HaltHcpu(hcpu.env, hcpu.noPauses);
    ControlRig lcpu("VX21D");
    ChipControl::HaltLcpu(lcpu.env, lcpu.noPauses);
    ASSERT_TRUE(hcpu.chip.WaitForFrames(3, 2000));
    ASSERT_TRUE(lcpu.chip.WaitForFrames(3, 2000));
    EXPECT_EQ(hcpu.chip.ReceivedFrames(), lcpu.chip.ReceivedFrames());

    // VX21A prepares the LCPU first, through the mapped address.
    ControlRig a("VX21A");
    a.chip.PokeWord(0x500C002C, 0x2);
    ChipControl::HaltLcpu(a.env, a.noPauses);
    EXPECT_TRUE(a.user.messages.isEmpty());
    EXPECT_EQ(a.chip.PeekWord(0x500C002C), 0x3u);
    EXPECT_EQ(a.chip.PeekBus(0xF000EDF0, 4), QByteArray("\x03\x00\x5F\xA0", 4));
}

TEST(CleanCache, LoopsOverSetsAndWaysFromTheTop)
{
    EXPECT_EQ(ChipControl::CleanBySetWayValue(0, 0), 0u);
    EXPECT_EQ(ChipControl::CleanBySetWayValue(1, 1), (1u << 30) | (1u << 5));
    EXPECT_EQ(ChipControl::CleanBySetWayValue(0x3FF, 3), (3u << 30) | (0x1FFu << 5));

    ControlRig rig;
    rig.UseProbe();
    // Two sets of four ways.
    rig.probe.PokeWord(0xE000ED80, (1u << 13) | (3u << 3));
    ChipControl::CleanCache(rig.env, rig.noPauses);
    EXPECT_TRUE(rig.user.messages.isEmpty());
    const QStringList accesses = rig.ProbeAccesses();
    ASSERT_EQ(accesses.size(), 2 + 8);
    EXPECT_EQ(accesses[0], "JLINK_WriteMemEx 0xe000ed84 0x4 4");
    EXPECT_EQ(accesses[1], "JLINK_ReadMemEx 0xe000ed80 0x4 4");
    EXPECT_EQ(accesses.filter("0xe000ef6c").size(), 8);
    // The last clean is set 0, way 0.
    EXPECT_EQ(rig.probe.PeekWord(0xE000EF6C), 0u);

    ControlRig single;
    single.UseProbe();
    ChipControl::CleanCache(single.env, single.noPauses);
    EXPECT_EQ(single.ProbeAccesses().filter("0xe000ef6c").size(), 1);
}

TEST(CleanCache, UartLoopRunsToTheEndWhateverTheWrites)
{
    ControlRig rig("VX21D");
    rig.chip.PokeWord(0xE000ED80, (1u << 13) | (1u << 3)); // two sets, two ways
    ChipControl::CleanCache(rig.env, rig.noPauses);
    EXPECT_TRUE(rig.user.messages.isEmpty());
    ASSERT_TRUE(rig.chip.WaitForFrames(1 + 2 + 4 + 1, 3000));
    EXPECT_EQ(rig.chip.LeaveCount(), 1);
    EXPECT_EQ(rig.chip.PeekWord(0xE000ED84), 0u);
}

} // namespace

// Operations whose n-th transfer fails. Over the UART link each shows the
// message of that exchange, leaves debug mode, releases the port, and keeps
// what earlier exchanges did; over the probe a transfer one byte short is
// judged a failure by the operation, which closes the probe.

#include "link/ChipProfile.h"
#include "ops/ChipControl.h"
#include "ops/MemoryOps.h"
#include "support/TargetRig.h"

#include <QFile>

#include <gtest/gtest.h>

#include <functional>

namespace {

struct NullDump : DumpView
{
    void SetDumpText(const QString &) override {}
};

struct UartRig : TargetRig
{
    using TargetRig::TargetRig;
    OperationEnv env{config, links, context, {}};
    ChipControl::Pauses noPauses{0, 0, 0};
    NullDump dump;

    // The reply to the n-th transfer after the enter carries a wrong status.
    void FailTransfer(int n)
    {
        chip.DeferFaults(n); // the enter reply and n - 1 transfers go out whole
        chip.InjectWrongStatus(0x15, 1);
    }
};

QByteArray Pattern(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + 1);
    return bytes;
}

TEST(UartOperationFailure, ShowsItsExchangeAndClosesTheLink)
{
    struct Case
    {
        const char *name;
        const char *model;
        int failingTransfer;
        std::function<void(UartRig &)> run;
        QString message;
    };
    const Case cases[] = {
        {"word write", "VX21A", 1, [](UartRig &rig) { MemoryOps::WriteWord(rig.env, 0x20000000, 0x12345678); },
         "WriteMem 0x20000000 0x4 error !\n"},
        {"second file chunk", "VX21A", 2,
         [](UartRig &rig) {
             rig.PutFile("in.bin", Pattern(5000));
             rig.user.chosenFile = rig.FilePath("in.bin");
             MemoryOps::WriteFromFile(rig.env, 0x20000000);
         },
         "WriteMem 0x20001000 0x388 error !\n"},
        {"read to file, second chunk", "VX21A", 2,
         [](UartRig &rig) {
             rig.user.chosenFile = rig.FilePath("out.bin");
             MemoryOps::ReadToFile(rig.env, 0x20000000, 0x2000, rig.dump);
         },
         "ReadMem 0x20001000 0x1000 error !\n"},
        {"halt HCPU write", "VX21D", 1, [](UartRig &rig) { ChipControl::HaltHcpu(rig.env, rig.noPauses); },
         "WriteMem 0xf000edf0 0x4 error !\n"},
        {"LCPU preparation read", "VX21A", 1, [](UartRig &rig) { ChipControl::HaltLcpu(rig.env, rig.noPauses); },
         "ReadMem 0x500c002c 0x4 error !\n"},
        {"LCPU preparation write", "VX21A", 2, [](UartRig &rig) { ChipControl::HaltLcpu(rig.env, rig.noPauses); },
         "WriteMem 0x500c002c 0x4 error !\n"},
        {"LCPU halt write", "VX21A", 3, [](UartRig &rig) { ChipControl::HaltLcpu(rig.env, rig.noPauses); },
         "WriteMem 0xf000edf0 0x4 error !\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        UartRig rig(c.model);
        ASSERT_TRUE(rig.chipStarted);
        rig.FailTransfer(c.failingTransfer);
        c.run(rig);
        EXPECT_EQ(rig.user.messages, QStringList{c.message});
        EXPECT_TRUE(rig.chip.WaitForFrames(1 + c.failingTransfer + 1, 3000)) << "the leave request follows";
        EXPECT_EQ(rig.chip.LeaveCount(), 1);
        EXPECT_FALSE(rig.PortHeld());
        EXPECT_EQ(rig.user.busyDepth, 0);
    }
}

TEST(UartOperationFailure, EarlierChunksStay)
{
    UartRig rig("VX21A");
    rig.PutFile("in.bin", Pattern(5000));
    rig.user.chosenFile = rig.FilePath("in.bin");
    rig.FailTransfer(2);
    MemoryOps::WriteFromFile(rig.env, 0x20000000);
    EXPECT_EQ(rig.chip.Peek(0x20000000, 4096), Pattern(5000).left(4096));

    UartRig reading("VX21A");
    reading.chip.Poke(0x20000000, Pattern(8192));
    reading.user.chosenFile = reading.FilePath("out.bin");
    reading.FailTransfer(2);
    MemoryOps::ReadToFile(reading.env, 0x20000000, 0x2000, reading.dump);
    QFile out(reading.FilePath("out.bin"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), Pattern(8192).left(4096)) << "only what arrived, nothing that looks complete";
}

// The clean loop over the UART link does not examine its writes: a failed
// clean in the middle neither stops the loop nor shows a message.
TEST(UartOperationFailure, CleanCacheLoopRunsOnPastAFailedClean)
{
    UartRig rig("VX21D");
    rig.chip.PokeWord(0xE000ED80, (1u << 13) | (1u << 3)); // two sets, two ways: four cleans
    rig.FailTransfer(3);                                   // size selection, identification, then the first clean fails
    ChipControl::CleanCache(rig.env, rig.noPauses);
    EXPECT_TRUE(rig.user.messages.isEmpty());
    ASSERT_TRUE(rig.chip.WaitForFrames(1 + 2 + 4 + 1, 3000));
    EXPECT_EQ(rig.chip.LeaveCount(), 1);
    const QList<QByteArray> frames = rig.chip.ReceivedFrames();
    EXPECT_EQ(frames.size(), 1 + 2 + 4 + 1) << "every clean was sent";
}

TEST(ProbeOperationFailure, OneByteShortFailsTheOperation)
{
    struct Case
    {
        const char *name;
        const char *fault;
        int fromCall;
        std::function<void(UartRig &)> run;
        QString message;
    };
    const Case cases[] = {
        {"word write", "short-write", 1, [](UartRig &rig) { MemoryOps::WriteWord(rig.env, 0x20000000, 0x12345678); },
         "jlink_WriteMemEx 0x20000000 0x4 error !\n"},
        {"second file chunk", "short-write", 2,
         [](UartRig &rig) {
             rig.PutFile("in.bin", Pattern(5000));
             rig.user.chosenFile = rig.FilePath("in.bin");
             MemoryOps::WriteFromFile(rig.env, 0x20000000);
         },
         "jlink_WriteMemEx 0x20001000 0x388 error !\n"},
        {"read to file, second chunk", "short-read", 2,
         [](UartRig &rig) {
             rig.user.chosenFile = rig.FilePath("out.bin");
             MemoryOps::ReadToFile(rig.env, 0x20000000, 0x2000, rig.dump);
         },
         "jlink_ReadMemEx 0x20001000 0x1000 error !\n"},
        {"LCPU preparation read", "short-read", 1, [](UartRig &rig) { ChipControl::HaltLcpu(rig.env, rig.noPauses); },
         "jlink_ReadMemEx 0x500c002c 0x4 error !\n"},
        {"watchdog second write", "short-write", 2, [](UartRig &rig) { ChipControl::WatchdogOff(rig.env); },
         QString::asprintf("jlink_WriteMemEx 0x%08x 0x4 error !\n", ChipProfile::WatchdogRegisters("VX21A")[1])},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        UartRig rig("VX21A");
        rig.UseProbe();
        ASSERT_TRUE(rig.probe.SetFault(c.fault, c.fromCall));
        c.run(rig);
        EXPECT_EQ(rig.user.messages, QStringList{c.message});
        EXPECT_EQ(rig.probe.CallLog().last(), "JLINK_Close");
        EXPECT_EQ(rig.probe.CallLog().filter("MemEx").size(), c.fromCall) << "nothing is transferred after the failure";
    }
}

} // namespace

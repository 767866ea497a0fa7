// The memory view's work on a target, through the real links: rows read in
// transfers that never touch what the rules leave out, units written with
// the panel's checks (byte writes where the link has them, the word read,
// merged and written back over the UART link), finds over transfer bounds
// with progress and cancel, and the watch following the rows shown.

#include "link/LinkCycle.h"
#include "memview/MemoryFind.h"
#include "memview/MemoryRows.h"
#include "memview/MemoryWatch.h"
#include "ops/MemoryOps.h"
#include "support/FakeGdbServer.h"
#include "support/TargetRig.h"
#include "support/WaitFor.h"

#include "RequestDecoder.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

const char kBelowRam[] = "0x20000000 > ADDR, please check!";
const char kAlign[] = "ADDR shold 4 Bytes align, please check!";

// The transfers the simulated chip saw: "R20000000/16", "W20000000/4".
QStringList Transfers(const SimulatedChip &chip)
{
    RequestDecoder decoder(ChipBusView::ByteOrder::Little);
    QStringList transfers;
    for (const QByteArray &frame : chip.ReceivedFrames()) {
        decoder.Feed(frame.constData(), int(frame.size()));
        while (const std::optional<RequestDecoder::Frame> decoded = decoder.Next()) {
            const QByteArray &p = decoded->payload;
            auto byte = [&](int i) { return uint32_t(uint8_t(p[i])); };
            if (p.size() < 8 || (byte(1) != 0x72 && byte(1) != 0x77))
                continue;
            const uint32_t address = byte(2) | byte(3) << 8 | byte(4) << 16 | byte(5) << 24;
            transfers << QStringLiteral("%1%2/%3")
                             .arg(QChar(byte(1) == 0x72 ? u'R' : u'W'))
                             .arg(address, 8, 16, QChar(u'0'))
                             .arg((byte(6) | byte(7) << 8) * 4);
        }
    }
    return transfers;
}

MemoryBlock ReadBlock(TargetRig &rig, const ReadRules &rules, uint32_t first, uint32_t count)
{
    LinkCycle cycle(rig.config, rig.links, rig.context);
    return MemoryRows::ReadCycle(cycle, rules, first, count);
}

} // namespace

TEST(MemoryRowsLink, ReadsSkipRefusedWindowsAndLeftOutWordsOverEitherLink)
{
    for (Over over : {Over::Uart, Over::Probe}) {
        SCOPED_TRACE(Name(over));
        TargetRig rig("VX21A");
        ASSERT_TRUE(rig.chipStarted);
        rig.Use(over);
        rig.Poke(0x61FFFFF8, 0x44332211);
        rig.Poke(0x61FFFFF4, 0xCAFEF00D);
        // VX21A refuses reads from 0x62000000 on; one word is never read.
        const ReadRules rules("VX21A", {0x61FFFFF4});
        rig.chip.ClearRecord();
        rig.probe.ClearCallLog();
        const MemoryBlock block = ReadBlock(rig, rules, 0x61FFFFF0, 0x20);
        EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
        EXPECT_EQ(block.states[8], ByteState::Value);
        EXPECT_EQ(block.bytes.mid(8, 4), QByteArray::fromHex("11223344"));
        EXPECT_EQ(block.states[4], ByteState::LeftOut);
        EXPECT_EQ(block.states[16], ByteState::Refused);
        if (over == Over::Uart) {
            EXPECT_EQ(Transfers(rig.chip), QStringList({"R61fffff0/4", "R61fffff8/8"}));
        } else {
            const QStringList reads = rig.probe.CallLog().filter("ReadMemEx");
            EXPECT_EQ(reads, QStringList({"JLINK_ReadMemEx 0x61fffff0 0x4 4", "JLINK_ReadMemEx 0x61fffff8 0x8 4"}));
        }
    }
}

TEST(MemoryRowsLink, AFailedTransferMarksItsBytesAndTheRestFailedWithOneMessage)
{
    TargetRig rig("VX21A");
    ASSERT_TRUE(rig.chipStarted);
    rig.UseUart();
    rig.chip.InjectNoAnswer(1);
    rig.chip.DeferFaults(1); // past the reply to the enter request
    const MemoryBlock block = ReadBlock(rig, ReadRules("VX21A", {}), 0x20000000, 0x40);
    EXPECT_EQ(rig.user.messages, QStringList{"ReadMem 0x20000000 0x40 error !\n"});
    EXPECT_TRUE(std::all_of(block.states.begin(), block.states.end(),
                            [](ByteState state) { return state == ByteState::Failed; }));
}

// A unit goes through the same checks as "写入"; a word the way it does, a
// narrower unit as a byte write where the link has one, else merged into
// the word the chip holds.
TEST(MemoryWriteLink, UnitsReachTheChipOverEachLinkWithThePanelsChecks)
{
    struct Case
    {
        Over over;
        uint32_t address;
        uint32_t size;
        uint32_t value;
        uint32_t wordAfter;
        QStringList messages;
    };
    const Case cases[] = {
        {Over::Uart, 0x20000001, 1, 0xAB, 0x4433AB11, {}},
        {Over::Uart, 0x20000002, 2, 0xBEEF, 0xBEEF2211, {}},
        {Over::Uart, 0x20000000, 4, 0xC0FFEE33, 0xC0FFEE33, {}},
        {Over::Probe, 0x20000003, 1, 0x5A, 0x5A332211, {}},
        {Over::Uart, 0x1FFFFFFF, 1, 0x5A, 0x44332211, {kBelowRam}},
        {Over::Probe, 0x20000002, 4, 0x5A, 0x44332211, {kAlign}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << Name(c.over) << std::hex << " " << c.address << "/" << c.size);
        TargetRig rig("VX21A");
        ASSERT_TRUE(rig.chipStarted);
        rig.Use(c.over);
        rig.Poke(0x20000000, 0x44332211);
        rig.chip.ClearRecord();
        rig.probe.ClearCallLog();
        OperationEnv env{rig.config, rig.links, rig.context, {}};
        EXPECT_EQ(MemoryOps::WriteUnit(env, c.address, c.size, c.value).Succeeded(), c.messages.isEmpty());
        EXPECT_EQ(rig.user.messages, c.messages);
        EXPECT_EQ(rig.Peek(0x20000000), c.wordAfter);
        if (!c.messages.isEmpty()) {
            EXPECT_TRUE(rig.chip.ReceivedFrames().isEmpty() && rig.probe.CallLog().isEmpty()) << "link untouched";
        } else if (c.over == Over::Uart && c.size < 4) {
            EXPECT_EQ(Transfers(rig.chip), QStringList({"R20000000/4", "W20000000/4"})) << "read, merged, written";
        } else if (c.over == Over::Probe) {
            EXPECT_EQ(rig.probe.CallLog().filter("MemEx"), QStringList{"JLINK_WriteMemEx 0x20000003 0x1 4"});
        }
    }
}

TEST(MemoryWriteLink, AGdbServerTakesANarrowUnitAsItsOwnBytes)
{
    FakeGdbServer server({});
    TargetRig rig("VX21A");
    rig.config.WriteInt(ConfigKey::kCommon, ConfigKey::kDataType, 3);
    rig.config.WriteText(ConfigKey::kCommon, ConfigKey::kGdbServer, QString::fromStdString(server.Address()));
    const uint8_t before = server.Byte(0x20000004);
    OperationEnv env{rig.config, rig.links, rig.context, {}};
    EXPECT_TRUE(MemoryOps::WriteUnit(env, 0x20000002, 2, 0xBEEF).Succeeded());
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(server.Byte(0x20000002), 0xEF);
    EXPECT_EQ(server.Byte(0x20000003), 0xBE);
    EXPECT_EQ(server.Byte(0x20000004), before);
    EXPECT_EQ(server.CountOf("m"), 0) << "nothing read to merge";
}

TEST(MemoryFindLink, FindsAcrossTransferBoundsWithProgressAndStopsWhenCancelled)
{
    TargetRig rig("VX21A");
    ASSERT_TRUE(rig.chipStarted);
    rig.UseUart(6);
    // The pattern straddles the first two transfers of 16 KiB.
    rig.chip.Poke(0x20003FFE, QByteArray::fromHex("deadbeef"));
    MemoryFind::Request request{*MemoryFind::ParseBytes("DE AD BE EF"), 0x20000000, 0x10000};
    std::vector<uint64_t> done;
    std::atomic<bool> cancel{false};
    const MemoryFind::Result found = MemoryFind::Run(
        rig.config, rig.links, ReadRules("VX21A", {}), request, [&](uint64_t d, uint64_t) { done.push_back(d); },
        cancel);
    EXPECT_EQ(found.found, 0x20003FFEu);
    EXPECT_TRUE(found.failure.isEmpty());
    // Paced transfers: a short first one, then as long as the link's speed
    // lets them be, never past a transfer buffer nor across a 16 KiB bound.
    ASSERT_GE(done.size(), 2u);
    EXPECT_EQ(done.front(), MemoryFind::TransferPace::kFirst);
    EXPECT_EQ(done.back(), 0x8000u);
    EXPECT_TRUE(std::find(done.begin(), done.end(), 0x4000u) != done.end());

    // Through a refused window to what lies past it; nothing read inside it.
    rig.chip.Poke(0x10000010, QByteArray::fromHex("deadbeef"));
    rig.chip.ClearRecord();
    request.first = 0x0FFF0000;
    request.length = 0x20000;
    const MemoryFind::Result past = MemoryFind::Run(rig.config, rig.links, ReadRules("VX21A", {}), request, {}, cancel);
    EXPECT_EQ(past.found, 0x10000010u);
    // (The UART link's bus view of 0x10000000 is 0x60000000.)
    EXPECT_EQ(Transfers(rig.chip), QStringList{"R60000000/1024"});

    // Cancelled after the first transfer: no more are read.
    rig.chip.ClearRecord();
    request.first = 0x20010000;
    const MemoryFind::Result stopped = MemoryFind::Run(
        rig.config, rig.links, ReadRules("VX21A", {}), request, [&](uint64_t, uint64_t) { cancel = true; }, cancel);
    EXPECT_TRUE(stopped.cancelled);
    EXPECT_FALSE(stopped.found);
    EXPECT_EQ(Transfers(rig.chip).size(), 1);
}

TEST(MemoryWatchLink, FollowsTheRowsShownAndAFailingLinkEndsItWithOneMessage)
{
    TestApp();
    TargetRig rig("VX21A");
    ASSERT_TRUE(rig.chipStarted);
    rig.UseUart(6);
    rig.chip.AddFreeRunningCounter(0x20000100);
    MemoryWatch watch(rig.config, rig.links);
    std::vector<MemoryBlock> last;
    QStringList ended;
    watch.onRefresh = [&](const std::vector<MemoryBlock> &blocks) { last = blocks; };
    watch.onEnded = [&](const QString &message) { ended << message; };
    const ReadRules rules("VX21A", {});
    watch.SetRegion(rules, 0x20000100, 0x40);
    ASSERT_TRUE(watch.Start(20, "VX21A"));
    ASSERT_TRUE(PumpUntil([&] { return watch.AppliedRefreshes() >= 2; }));
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0].first, 0x20000100u);
    EXPECT_EQ(last[0].Size(), 0x40u);

    // Scrolled on: the next refreshes read the new rows, the watch goes on;
    // a refused window in between is not read.
    watch.SetRegion(rules, 0x000FFFE0, 0x40);
    ASSERT_TRUE(PumpUntil([&] { return !last.empty() && last[0].first == 0x000FFFE0u; }));
    EXPECT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0].Size(), 0x20u);
    EXPECT_TRUE(watch.IsRunning());

    // Whichever request of a refresh meets the silence ends the watch.
    rig.chip.InjectNoAnswer(100);
    ASSERT_TRUE(PumpUntil([&] { return !ended.isEmpty(); }));
    PumpUntil([] { return false; }, 300ms);
    ASSERT_EQ(ended.size(), 1);
    EXPECT_TRUE(ended[0] == "ReadMem 0x000fffe0 0x20 error !\n" || ended[0] == "EnterDebugMode error !\n")
        << ended[0].toStdString();
    EXPECT_FALSE(watch.IsRunning());
    rig.chip.ClearFaults();

    // Started again and stopped by the user: the end says nothing.
    ended.clear();
    ASSERT_TRUE(watch.Start(20, "VX21A"));
    watch.Stop();
    EXPECT_EQ(ended, QStringList{QString()});
    EXPECT_FALSE(watch.Start(3, "VX21A")) << "not a rate of the register windows";
}

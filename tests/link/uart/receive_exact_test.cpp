// Finding a reply in the incoming bytes: noise, resynchronisation, wrong or
// missing replies, and bytes that come too late.

#include "SimChipFixture.h"

#include <QElapsedTimer>

namespace {

struct StreamCase
{
    const char *name;
    const char *model;
    const char *stream; // what the chip sends back for the enter request
    bool entered;
};

void PrintTo(const StreamCase &c, std::ostream *os)
{
    *os << c.name;
}

class EnterReplyStream : public ::testing::TestWithParam<StreamCase>
{
};

TEST_P(EnterReplyStream, IsFoundOrRefused)
{
    const StreamCase &c = GetParam();
    SimChipFixture f(c.model);
    ASSERT_TRUE(f.Ready());
    f.m_chip.InjectReplyBytes(Hex(c.stream), 1);
    EXPECT_EQ(f.m_link.EnterDebugMode(f.m_port), c.entered);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EnterReplyStream,
    ::testing::Values(StreamCase{"Exact", "VX21A", "7e79 0200 1000 d106", true},
                      StreamCase{"NoiseBefore", "VX21A", "00 7e 7e79 0200 1000 d106", true},
                      StreamCase{"ManyNoiseBytes", "VX21A", "0102030405060708090a0b 7e79 0200 1000 d106", true},
                      StreamCase{"PartialReplyInsideEarlierBytes", "VX21A", "7e7902 7e79 0200 1000 d106", true},
                      StreamCase{"AlmostWholeFalseStart", "VX21A", "7e79 0200 1000 d1 7e79 0200 1000 d106", true},
                      StreamCase{"WrongStatus", "VX21A", "7e79 0200 1000 d115", false},
                      StreamCase{"CutShort", "VX21A", "7e79 0200 1000 d1", false},
                      StreamCase{"OtherLayout", "VX21A", "7e79 0002 00000000 10000000 d106", false},
                      StreamCase{"BigEndianNoiseBefore", "VX21C", "00 7e 7e79 0002 00000000 10000000 d106", true},
                      StreamCase{"BigEndianWrongStatus", "VX21C", "7e79 0002 00000000 10000000 d115", false}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ReceiveExact, ReadStatusMustBe06)
{
    SimChipFixture f("VX21A");
    ASSERT_TRUE(f.Ready());
    f.m_chip.PokeWord(0x20000000, 0x12345678);
    ASSERT_TRUE(f.m_link.EnterDebugMode(f.m_port));
    f.m_chip.InjectWrongStatus(0x15, 1);
    EXPECT_FALSE(f.m_link.ReadMem(f.m_port, 0x20000000, 4));
    EXPECT_EQ(f.m_buffer.Word(0), 0x12345678u) << "all data arrived, yet the read failed";
    f.m_buffer.SetWord(0, 0);
    EXPECT_TRUE(f.m_link.ReadMem(f.m_port, 0x20000000, 4)) << "one reply only";
    EXPECT_EQ(f.m_buffer.Word(0), 0x12345678u);
}

TEST(ReceiveExact, ReadResynchronisesOnItsHeader)
{
    SimChipFixture f("VX21C");
    ASSERT_TRUE(f.Ready());
    f.m_chip.PokeWord(0x20000000, 0xCAFEF00D);
    ASSERT_TRUE(f.m_link.EnterDebugMode(f.m_port));
    f.m_chip.InjectNoise(Hex("7e79 0006 00 7e"), 1);
    ASSERT_TRUE(f.m_link.ReadMem(f.m_port, 0x20000000, 4));
    EXPECT_EQ(f.m_buffer.Word(0), 0xCAFEF00Du);
}

TEST(ReceiveExact, SlowReplyWithinTheLimitIsTaken)
{
    SimChipFixture f("VX21A");
    ASSERT_TRUE(f.Ready());
    f.m_chip.InjectDelay(150, 1);
    EXPECT_TRUE(f.m_link.EnterDebugMode(f.m_port));
}

// Time limits are the behaviour here; the bounds are generous on purpose.
TEST(ReceiveExact, MissingRepliesFailWithinTheirLimits)
{
    SimChipFixture f("VX21A");
    ASSERT_TRUE(f.Ready());
    QElapsedTimer timer;

    f.m_chip.InjectNoAnswer(1);
    timer.start();
    EXPECT_FALSE(f.m_link.EnterDebugMode(f.m_port));
    EXPECT_GE(timer.elapsed(), 450);
    EXPECT_LT(timer.elapsed(), 5000);

    ASSERT_TRUE(f.m_link.EnterDebugMode(f.m_port));
    f.m_chip.InjectCutShort(7 + 100, 1); // header and part of the data
    timer.start();
    EXPECT_FALSE(f.m_link.ReadMem(f.m_port, 0x20000000, 400));
    EXPECT_GE(timer.elapsed(), 950);
    EXPECT_LT(timer.elapsed(), 10000);

    f.m_chip.InjectCutShort(7 + 400, 1); // everything but the status byte
    timer.start();
    EXPECT_FALSE(f.m_link.ReadMem(f.m_port, 0x20000000, 400));
    EXPECT_GE(timer.elapsed(), 90);
    EXPECT_LT(timer.elapsed(), 5000);
}

TEST(ReceiveExact, ZeroLimitFailsAtOnceAndZeroCountSucceeds)
{
    SimChipFixture f("VX21A");
    ASSERT_TRUE(f.Ready());
    uint8_t byte = 0;
    EXPECT_FALSE(f.m_link.ReceiveExact(f.m_port, &byte, 1, nullptr, 0));
    EXPECT_TRUE(f.m_link.ReceiveExact(f.m_port, &byte, 0, nullptr, 100));
}

TEST(ReceiveExact, LateBytesStayQueuedUntilTheNextRequestDiscardsThem)
{
    SimChipFixture f("VX21A");
    ASSERT_TRUE(f.Ready());
    const QByteArray enterReply = Hex("7e79 0200 1000 d106");

    // No answer in time, then a perfect enter reply arrives late.
    f.m_chip.InjectNoAnswer(1);
    f.m_chip.InjectAfterReply(enterReply, 800, 1);
    EXPECT_FALSE(f.m_link.EnterDebugMode(f.m_port));
    QElapsedTimer timer;
    timer.start();
    while (f.m_port.QueuedBytes() < enterReply.size() && timer.elapsed() < 5000)
        f.m_port.WaitReadable(100);
    EXPECT_EQ(f.m_port.QueuedBytes(), enterReply.size()) << "the failed exchange took nothing";

    // Were the late reply not discarded, it would pass for this one.
    f.m_chip.InjectNoAnswer(1);
    EXPECT_FALSE(f.m_link.EnterDebugMode(f.m_port));
    EXPECT_TRUE(f.m_link.EnterDebugMode(f.m_port));
}

} // namespace

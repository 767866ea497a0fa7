// Request frames as they reach the chip, byte for byte, for both layouts.

#include "SimChipFixture.h"

namespace {

struct LayoutFrames
{
    const char *model;
    const char *enter;
    const char *leave;
    uint32_t readAddress;
    const char *readOneByte; // a read of 1 byte asks for one word
    uint32_t writeAddress;
    const char *write8; // data 11 22 33 44 55 66 77 88 from the buffer
};

const LayoutFrames kLayouts[] = {
    {"VX21A", "7e79 0800 1000 415456583231 0521", "7e79 0800 1000 415456583231 1821", 0x00001234,
     "7e79 0800 1000 4072 341200a0 0100", 0x20000010, "7e79 1000 1000 4077 10000020 0200 1122334455667788"},
    {"VX21D", "7e79 0800 1000 415456583231 0521", "7e79 0800 1000 415456583231 1821", 0xE000ED84,
     "7e79 0800 1000 4072 84ed00f0 0100", 0x2A000100, "7e79 1000 1000 4077 00010020 0200 1122334455667788"},
    {"VX21C", "7e79 0008 00000000 10000000 415456583231 0521", "7e79 0008 00000000 10000000 415456583231 1821",
     0x00001234, "7e79 0008 00000000 10000000 4072 00001234 0001", 0x20C00010,
     "7e79 0010 00000000 10000000 4077 20400010 0002 4433221188776655"},
};

TEST(UartFrames, RequestsOfBothLayoutsAreByteExact)
{
    for (const LayoutFrames &layout : kLayouts) {
        SCOPED_TRACE(layout.model);
        SimChipFixture f(layout.model);
        ASSERT_TRUE(f.Ready());

        ASSERT_TRUE(f.m_link.EnterDebugMode(f.m_port));
        ASSERT_TRUE(f.m_link.ReadMem(f.m_port, layout.readAddress, 1));
        FillBuffer(f.m_buffer, Hex("1122334455667788"));
        ASSERT_TRUE(f.m_link.WriteMem(f.m_port, layout.writeAddress, 8));
        ASSERT_TRUE(f.m_link.LeaveDebugMode(f.m_port));
        ASSERT_TRUE(f.m_chip.WaitForFrames(4, 5000));

        const QList<QByteArray> frames = f.m_chip.ReceivedFrames();
        ASSERT_EQ(frames.size(), 4);
        EXPECT_EQ(frames[0].toHex(), Hex(layout.enter).toHex());
        EXPECT_EQ(frames[1].toHex(), Hex(layout.readOneByte).toHex());
        EXPECT_EQ(frames[2].toHex(), Hex(layout.write8).toHex());
        EXPECT_EQ(frames[3].toHex(), Hex(layout.leave).toHex());

        // The chip's own map puts the data where the CPU address says.
        EXPECT_EQ(f.m_chip.Peek(layout.writeAddress, 8).toHex(), "1122334455667788");
        // The host's buffer is left as it was, also where words were turned.
        EXPECT_EQ(BufferBytes(f.m_buffer, 8).toHex(), "1122334455667788");
        EXPECT_EQ(f.m_chip.EnterCount(), 1);
        EXPECT_EQ(f.m_chip.LeaveCount(), 1);
        EXPECT_FALSE(f.m_chip.InDebugMode());
    }
}

struct WordOrderCase
{
    const char *model;
    const char *reply; // read reply of 4 bytes carrying 04 03 02 01
    const char *inBuffer;
};

TEST(UartFrames, BigEndianReadDataIsTurnedPerWord)
{
    const WordOrderCase cases[] = {
        {"VX21C", "7e79 0006 00000000 10000000 d2 04030201 06", "01020304"},
        {"VX21A", "7e79 0600 1000 d2 04030201 06", "04030201"},
    };
    for (const WordOrderCase &c : cases) {
        SCOPED_TRACE(c.model);
        SimChipFixture f(c.model);
        ASSERT_TRUE(f.Ready());
        ASSERT_TRUE(f.m_link.EnterDebugMode(f.m_port));
        f.m_chip.InjectReplyBytes(Hex(c.reply), 1);
        ASSERT_TRUE(f.m_link.ReadMem(f.m_port, 0x20000000, 4));
        EXPECT_EQ(BufferBytes(f.m_buffer, 4).toHex(), c.inBuffer);
    }
}

TEST(UartFrames, ReadOfOneByteMovesAWholeWord)
{
    SimChipFixture f("VX21A");
    ASSERT_TRUE(f.Ready());
    f.m_chip.PokeWord(0x20000100, 0xA1B2C3D4);
    f.m_chip.PokeWord(0x20000104, 0x55555555);
    FillBuffer(f.m_buffer, Hex("eeeeeeeeeeeeeeee"));
    ASSERT_TRUE(f.m_link.EnterDebugMode(f.m_port));
    ASSERT_TRUE(f.m_link.ReadMem(f.m_port, 0x20000100, 1));
    EXPECT_EQ(BufferBytes(f.m_buffer, 8).toHex(), "d4c3b2a1eeeeeeee");
}

TEST(UartFrames, ModelWithoutLayoutSendsNothing)
{
    // The chip would answer; the link must not even ask.
    SimChipFixture f("VX21A", 1, "VX21B");
    ASSERT_TRUE(f.Ready());
    EXPECT_FALSE(f.m_link.EnterDebugMode(f.m_port));
    EXPECT_FALSE(f.m_link.ReadMem(f.m_port, 0x20000000, 4));
    EXPECT_FALSE(f.m_link.WriteMem(f.m_port, 0x20000000, 4));
    EXPECT_FALSE(f.m_link.LeaveDebugMode(f.m_port));
    // A later exchange of a served model is the first thing the chip sees.
    f.m_linkModel = "VX21A";
    ASSERT_TRUE(f.m_link.EnterDebugMode(f.m_port));
    EXPECT_EQ(f.m_chip.ReceivedByteCount(), 14);
}

TEST(UartFrames, ModelIsAskedAtEveryExchange)
{
    SimChipFixture f("VX21A");
    ASSERT_TRUE(f.Ready());
    ASSERT_TRUE(f.m_link.EnterDebugMode(f.m_port));
    f.m_linkModel = "VX21C"; // the chip cannot parse that layout: no answer
    EXPECT_FALSE(f.m_link.ReadMem(f.m_port, 0x20000000, 4));
    f.m_linkModel = "vx21a"; // case matters
    EXPECT_FALSE(f.m_link.ReadMem(f.m_port, 0x20000000, 4));
    f.m_linkModel = "VX21D";
    EXPECT_TRUE(f.m_link.ReadMem(f.m_port, 0x20000000, 4));
}

TEST(UartFrames, CountPastTheTransferBufferIsRefusedUnsent)
{
    SimChipFixture f("VX21A");
    ASSERT_TRUE(f.Ready());
    ASSERT_TRUE(f.m_link.EnterDebugMode(f.m_port));
    const qint64 before = f.m_chip.ReceivedByteCount();
    for (uint16_t count : {uint16_t(16385), uint16_t(40000), uint16_t(65535)}) {
        EXPECT_FALSE(f.m_link.ReadMem(f.m_port, 0x20000000, count)) << count;
        EXPECT_FALSE(f.m_link.WriteMem(f.m_port, 0x20000000, count)) << count;
    }
    EXPECT_EQ(f.m_chip.ReceivedByteCount(), before);
}

} // namespace

// Long reads and writes through the pseudo-terminal, paced and unpaced.

#include "SimChipFixture.h"

namespace {

QByteArray Pattern(int count, uint8_t seed)
{
    QByteArray bytes(count, '\0');
    for (int i = 0; i < count; ++i)
        bytes[i] = char(uint8_t(i * 7 + seed + (i >> 8)));
    return bytes;
}

struct TransferCase
{
    const char *model;
    int speedIndex; // 2 and up pace headers and short data byte by byte
    uint32_t address;
    int count;
};

void PrintTo(const TransferCase &c, std::ostream *os)
{
    *os << c.model << " speed " << c.speedIndex << " count " << c.count;
}

class LongTransfer : public ::testing::TestWithParam<TransferCase>
{
};

TEST_P(LongTransfer, WriteThenReadBack)
{
    const TransferCase &c = GetParam();
    SimChipFixture f(c.model, c.speedIndex);
    ASSERT_TRUE(f.Ready());
    ASSERT_TRUE(f.m_link.EnterDebugMode(f.m_port));

    const QByteArray data = Pattern(c.count, uint8_t(c.count));
    FillBuffer(f.m_buffer, data);
    ASSERT_TRUE(f.m_link.WriteMem(f.m_port, c.address, uint16_t(c.count)));
    EXPECT_EQ(f.m_chip.Peek(c.address, c.count), data);

    FillBuffer(f.m_buffer, QByteArray(c.count, '\0'));
    ASSERT_TRUE(f.m_link.ReadMem(f.m_port, c.address, uint16_t(c.count)));
    EXPECT_EQ(BufferBytes(f.m_buffer, c.count), data);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LongTransfer,
    ::testing::Values(TransferCase{"VX21A", 0, 0x20000000, 16384}, TransferCase{"VX21A", 6, 0x20000000, 16384},
                      TransferCase{"VX21C", 3, 0x20C00000, 16384}, TransferCase{"VX21A", 2, 0x20001000, 200},
                      TransferCase{"VX21C", 2, 0x20001000, 200}, TransferCase{"VX21A", 2, 0x20001000, 196},
                      TransferCase{"VX21C", 5, 0x00400000, 196}, TransferCase{"VX21D", 1, 0x00001000, 196},
                      TransferCase{"VX21D", 4, 0x00010000, 4}));

} // namespace

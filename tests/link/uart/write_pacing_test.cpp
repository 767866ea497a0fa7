// How the link paces what it writes, seen as the write calls at the port:
// from speed index 2 on, headers and data below 200 bytes go one byte per
// write; below it, every part of a frame goes in one write.

#include "SimChipFixture.h"

#include <QList>

namespace {

TEST(WritePacing, WriteCallsPerSpeedIndex)
{
    for (int speedIndex = 0; speedIndex <= 6; ++speedIndex) {
        SCOPED_TRACE(speedIndex);
        SimChipFixture f("VX21A", speedIndex);
        ASSERT_TRUE(f.Ready());
        QList<int> writes;
        f.m_port.SetWriteTap([&](int count) { writes << count; });
        ASSERT_TRUE(f.m_link.EnterDebugMode(f.m_port));
        ASSERT_TRUE(f.m_link.WriteMem(f.m_port, 0x20000000, 8));
        ASSERT_TRUE(f.m_link.WriteMem(f.m_port, 0x20000100, 400));
        ASSERT_TRUE(f.m_link.ReadMem(f.m_port, 0x20000000, 4));
        if (speedIndex < 2) {
            // enter, write head, 8 data bytes, write head, 400 data bytes, read request
            ASSERT_EQ(writes.size(), 6);
            EXPECT_FALSE(writes.contains(1));
            EXPECT_EQ(writes[2], 8);
            EXPECT_EQ(writes[4], 400);
        } else {
            EXPECT_EQ(writes.count(400), 1) << "long data goes in one write";
            EXPECT_EQ(writes.count(1), writes.size() - 1) << "everything else byte by byte";
            EXPECT_GT(writes.size(), 8 + 3 * 4);
        }
    }
}

} // namespace

#include "link/UartLink.h"

#include <gtest/gtest.h>

namespace {

using ChipProfile::FrameLayout;

struct MapCase
{
    uint32_t address;
    uint32_t littleEndian; // VX21A, VX21D
    uint32_t bigEndian;    // VX21C
};

// Bounds of every range, both sides, plus the usual suspects.
constexpr MapCase kMapCases[] = {
    {0xE000ED84, 0xF000ED84, 0xF000ED84}, {0xE0000000, 0xF0000000, 0xF0000000}, {0xEFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF},
    {0xDFFFFFFC, 0xDFFFFFFC, 0xDFFFFFFC}, {0xF000EDF0, 0xF000EDF0, 0xF000EDF0}, // already in the bus view
    {0x00000000, 0xA0000000, 0x00000000}, {0x00001234, 0xA0001234, 0x00001234}, // first 64 KiB
    {0x0000FFFC, 0xA000FFFC, 0x0000FFFC}, {0x00010000, 0x20810000, 0x00010000}, {0x003FFFFC, 0x20BFFFFC, 0x003FFFFC},
    {0x00400000, 0x20400000, 0x20400000}, {0x0040FFFC, 0x2040FFFC, 0x2040FFFC}, {0x00410000, 0x00410000, 0x20410000},
    {0x0041FFFC, 0x0041FFFC, 0x2041FFFC}, {0x00420000, 0x00420000, 0x00420000}, {0x20BFFFFC, 0x20BFFFFC, 0x20BFFFFC},
    {0x20C00000, 0x20C00000, 0x20400000}, {0x20C1FFFC, 0x20C1FFFC, 0x2041FFFC}, {0x20C20000, 0x20C20000, 0x20C20000},
    {0x29FFFFFC, 0x29FFFFFC, 0x29FFFFFC}, {0x2A000000, 0x20000000, 0x20000000}, {0x2A07FFFC, 0x2007FFFC, 0x2007FFFC},
    {0x2A080000, 0x2A080000, 0x2A080000}, {0x0FFFFFFC, 0x0FFFFFFC, 0x0FFFFFFC}, {0x10000000, 0x60000000, 0x60000000},
    {0x1FFFFFFC, 0x6FFFFFFC, 0x6FFFFFFC}, {0x20000000, 0x20000000, 0x20000000}, {0x40001000, 0x40001000, 0x40001000},
    {0x50000000, 0x50000000, 0x50000000},
};

TEST(AddressMap, BothLayouts)
{
    for (const MapCase &c : kMapCases) {
        SCOPED_TRACE(::testing::Message() << std::hex << "address 0x" << c.address);
        EXPECT_EQ(UartLink::MapAddress(FrameLayout::LittleEndian, c.address), c.littleEndian);
        EXPECT_EQ(UartLink::MapAddress(FrameLayout::BigEndian, c.address), c.bigEndian);
    }
}

TEST(SpeedTable, SevenRatesAndNothingElse)
{
    const uint32_t rates[] = {115200, 1000000, 2000000, 3000000, 4000000, 5000000, 6000000};
    for (int index = 0; index < 7; ++index)
        EXPECT_EQ(UartLink::BaudForSpeedIndex(index), rates[index]) << index;
    EXPECT_FALSE(UartLink::BaudForSpeedIndex(-1));
    EXPECT_FALSE(UartLink::BaudForSpeedIndex(7));
}

} // namespace

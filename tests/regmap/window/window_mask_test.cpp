#include "regmap/WindowMask.h"

#include <gtest/gtest.h>

// The mask as the peripheral list and the register windows read it: bits
// past the last slot, and negative values a hand-edited file may hold, are
// kept as they are but never name a window.
TEST(WindowMaskTest, SlotsInAndOutOfRange)
{
    struct Case
    {
        int bits;
        int slot;
        bool has;
        int with;
        int without;
    };
    const Case cases[] = {
        {0, 0, false, 0x1, 0},      {0x5, 2, true, 0x5, 0x1},     {0x5, 1, false, 0x7, 0x5},
        {0x8, 3, true, 0x8, 0},     {0x10, 4, false, 0x10, 0x10}, // slot 4 does not exist
        {0x1, -1, false, 0x1, 0x1}, {-1, 3, true, -1, -1 & ~0x8},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "bits " << c.bits << " slot " << c.slot);
        const WindowMask mask(c.bits);
        EXPECT_EQ(mask.Has(c.slot), c.has);
        EXPECT_EQ(mask.With(c.slot).Bits(), c.with);
        EXPECT_EQ(mask.Without(c.slot).Bits(), c.without);
    }
    EXPECT_TRUE(WindowMask().IsEmpty());
    EXPECT_TRUE(WindowMask(0x4).Without(2).IsEmpty());
    EXPECT_FALSE(WindowMask(0x10).IsEmpty());
}

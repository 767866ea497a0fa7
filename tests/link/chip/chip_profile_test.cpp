#include "link/ChipProfile.h"

#include <gtest/gtest.h>

using namespace ChipProfile;

namespace {

const char kCommonRead[] = "0x10000000 > ADDR >= 0x100000, please check!";
const char kBelowRam[] = "0x20000000 > ADDR, please check!";
const char kFrom62[] = "0xE0000000 > ADDR >= 0x62000000, please check!";
const char kFrom64[] = "0xE0000000 > ADDR >= 0x64000000, please check!";

struct AddressCase
{
    const char *model;
    uint32_t address;
    const char *readMessage;  // nullptr: passes
    const char *writeMessage; // nullptr: passes
};

const AddressCase kAddressCases[] = {
    // Common read window, exact bounds, for every model.
    {"VX21A", 0x000FFFFC, nullptr, kBelowRam},
    {"VX21A", 0x00100000, kCommonRead, kBelowRam},
    {"VX21D", 0x0FFFFFFF, kCommonRead, kBelowRam},
    {"other", 0x00100000, kCommonRead, kBelowRam},
    {"VX21C", 0x10000000, nullptr, kBelowRam},
    // The write floor refuses the last word below RAM and passes RAM.
    {"VX21D", 0x1FFFFFFC, nullptr, kBelowRam},
    {"VX21D", 0x20000000, nullptr, nullptr},
    // VX21A has its own window from 0x62000000 to 0xDFFFFFFF.
    {"VX21A", 0x61FFFFFC, nullptr, nullptr},
    {"VX21A", 0x62000000, kFrom62, kFrom62},
    {"VX21A", 0xDFFFFFFF, kFrom62, kFrom62},
    {"VX21A", 0xE0000000, nullptr, nullptr},
    {"VX21A", 0xFFFFFFFC, nullptr, nullptr},
    // VX21B refuses only writes from 0x64000000; VX21D has no window.
    {"VX21B", 0x64000000, nullptr, kFrom64},
    {"VX21C", 0x64000000, kFrom64, kFrom64},
    {"VX21E", 0xDFFFFFFC, kFrom64, kFrom64},
    {"VX21C", 0x63FFFFFC, nullptr, nullptr},
    {"VX21D", 0x64000000, nullptr, nullptr},
    // Matching is exact: case and trailing blanks matter.
    {"vx21a", 0x62000000, nullptr, nullptr},
    {"VX21A ", 0x62000000, nullptr, nullptr},
};

TEST(ChipProfile, AddressChecksApplyCommonRuleThenModelWindow)
{
    for (const AddressCase &c : kAddressCases) {
        SCOPED_TRACE(testing::Message() << c.model << " 0x" << std::hex << c.address);
        const auto read = CheckReadAddress(c.model, c.address);
        const auto write = CheckWriteAddress(c.model, c.address);
        EXPECT_EQ(read.value_or("pass").toStdString(), c.readMessage ? c.readMessage : "pass");
        EXPECT_EQ(write.value_or("pass").toStdString(), c.writeMessage ? c.writeMessage : "pass");
    }
}

TEST(ChipProfile, UartLayoutsAndSupport)
{
    EXPECT_EQ(UartFrameLayout("VX21A"), FrameLayout::LittleEndian);
    EXPECT_EQ(UartFrameLayout("VX21D"), FrameLayout::LittleEndian);
    EXPECT_EQ(UartFrameLayout("VX21C"), FrameLayout::BigEndian);
    for (const char *model : {"VX21B", "VX21E", "vx21c", "VX21C ", "", "COMMON"}) {
        EXPECT_EQ(UartFrameLayout(model), FrameLayout::None) << model;
        EXPECT_FALSE(SupportsUartDebug(model)) << model;
    }
}

TEST(ChipProfile, WatchdogRegistersInWritingOrder)
{
    EXPECT_EQ(WatchdogRegisters("VX21A"), (std::vector<uint32_t>{0x4000B00C, 0x500CC00C, 0x5009400C}));
    EXPECT_EQ(WatchdogRegisters("VX21B"), (std::vector<uint32_t>{0x4001400C, 0x4005500C, 0x4007C00C}));
    EXPECT_EQ(WatchdogRegisters("VX21D"), (std::vector<uint32_t>{0x5009400C, 0x4000B00C, 0x500CC00C}));
    EXPECT_EQ(WatchdogRegisters("VX21E"), WatchdogRegisters("VX21C"));
    EXPECT_TRUE(WatchdogRegisters("VX21a").empty());
    EXPECT_TRUE(NeedsLcpuHaltPreparation("VX21A"));
    EXPECT_FALSE(NeedsLcpuHaltPreparation("VX21C"));
    EXPECT_FALSE(NeedsLcpuHaltPreparation("vx21a"));
}

} // namespace

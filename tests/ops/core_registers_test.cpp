// The core registers through the core's debug registers in memory, over the
// stand-in probe library and the simulated chip on a pseudo-terminal: reads
// and writes by DCRSR, S_REGRDY and DCRDR, a running core refused unless the
// user asks to halt it, S_REGRDY that never comes.

#include "link/HaltRecord.h"
#include "ops/ChipControl.h"
#include "ops/CoreOps.h"
#include "ops/FaultReport.h"
#include "ops/OpsMessages.h"
#include "support/TargetRig.h"

#include <gtest/gtest.h>

namespace {

struct CoreRig : TargetRig
{
    explicit CoreRig(Over link) { Use(link); }
    OperationEnv env{config, links, context, {}};
    CoreOps::Options options{.readyDeadlineMs = 30, .pauseAfterHaltMs = 0};

    void SetRegister(uint8_t selector, uint32_t value)
    {
        over == Over::Probe ? probe.SetCoreRegister(selector, value) : chip.SetCoreRegister(selector, value);
    }
    uint32_t Register(uint8_t selector)
    {
        return over == Over::Probe ? probe.CoreRegister(selector) : chip.CoreRegister(selector);
    }
    void Halt() { ChipControl::HaltHcpu(env, {0, 0, 0}); }
    // Whether the simulated core is halted, as its own DHCSR says.
    bool CoreHalted()
    {
        if (over == Over::Uart)
            return chip.CoreHalted();
        return probe.CallLog().contains("JLINK_Halt");
    }
    HaltedCores Recorded() { return HaltRecord::Read(config, HaltRecord::SelectedTarget(config)); }
    std::string Messages() const { return user.messages.join('|').toStdString(); }
};

class CoreRegistersOver : public testing::TestWithParam<Over>
{
};

TEST_P(CoreRegistersOver, HaltedCoreReadsEveryRegisterBySelector)
{
    CoreRig rig(GetParam());
    ASSERT_TRUE(rig.chipStarted);
    rig.SetRegister(0, 0x11111111);
    rig.SetRegister(12, 0xCCCC0012);
    rig.SetRegister(15, 0x10000124);
    rig.SetRegister(16, 0x21000003);
    rig.SetRegister(20, 0x02010380);   // CONTROL 2, FAULTMASK 1, BASEPRI 0x03, PRIMASK 0x80
    rig.SetRegister(0x1B, 0x30001000); // PSP_S
    rig.SetRegister(0x5F, 0x3F800000); // S31
    rig.Halt();
    ASSERT_TRUE(rig.user.messages.isEmpty()) << rig.Messages();

    const auto values = CoreOps::Read(rig.env,
                                      {CoreRegister::R0, CoreRegister::R12, CoreRegister::PC, CoreRegister::XPSR,
                                       CoreRegister::CONTROL, CoreRegister::FAULTMASK, CoreRegister::BASEPRI,
                                       CoreRegister::PRIMASK, CoreRegister::PSP_S, CoreRegister::S31},
                                      rig.options);
    ASSERT_TRUE(values) << rig.Messages();
    const CoreRegisterValues expected{{CoreRegister::R0, 0x11111111},    {CoreRegister::R12, 0xCCCC0012},
                                      {CoreRegister::PC, 0x10000124},    {CoreRegister::XPSR, 0x21000003},
                                      {CoreRegister::CONTROL, 0x02},     {CoreRegister::FAULTMASK, 0x01},
                                      {CoreRegister::BASEPRI, 0x03},     {CoreRegister::PRIMASK, 0x80},
                                      {CoreRegister::PSP_S, 0x30001000}, {CoreRegister::S31, 0x3F800000}};
    EXPECT_EQ(*values, expected);
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.Messages();
}

TEST_P(CoreRegistersOver, WriteGoesThroughDcrdrAndReadsBack)
{
    CoreRig rig(GetParam());
    ASSERT_TRUE(rig.chipStarted);
    rig.Halt();
    for (const auto &[name, selector, text, value] :
         {std::tuple{"pc", uint8_t(15), "0x10000200", 0x10000200u},
          std::tuple{"R7", uint8_t(7), "DEADBEEF", 0xDEADBEEFu}, std::tuple{"SP", uint8_t(13), "30007f00", 0x30007F00u},
          std::tuple{"xPSR", uint8_t(16), "01000000", 0x01000000u}}) {
        const auto readBack = CoreOps::Write(rig.env, name, text, rig.options);
        EXPECT_EQ(readBack, value) << name << " " << rig.Messages();
        EXPECT_EQ(rig.Register(selector), value) << name;
    }
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.Messages();
}

// Checked before the link opens: nothing reaches the core.
TEST_P(CoreRegistersOver, WritesRefusedByName)
{
    CoreRig rig(GetParam());
    ASSERT_TRUE(rig.chipStarted);
    rig.Halt();
    const uint32_t lr = rig.Register(14);
    EXPECT_FALSE(CoreOps::Write(rig.env, "LR", "0", rig.options));
    EXPECT_FALSE(CoreOps::Write(rig.env, "R13x", "0", rig.options));
    EXPECT_FALSE(CoreOps::Write(rig.env, "R1", "0x123456789", rig.options));
    EXPECT_FALSE(CoreOps::Write(rig.env, "R1", "12g", rig.options));
    EXPECT_EQ(rig.user.messages,
              QStringList({"core register LR is not written here (R0-R12, SP, PC, xPSR), please check!",
                           "no core register R13x, please check!",
                           "0x123456789 is not a 32-bit hexadecimal value, please check!",
                           "12g is not a 32-bit hexadecimal value, please check!"}));
    EXPECT_EQ(rig.Register(14), lr);
}

// A running core is never halted behind the user's back.
TEST_P(CoreRegistersOver, RunningCoreIsRefusedAndKeepsRunning)
{
    CoreRig rig(GetParam());
    ASSERT_TRUE(rig.chipStarted);
    rig.SetRegister(15, 0x10000124);
    EXPECT_FALSE(CoreOps::Read(rig.env, CoreOps::ShownRegisters(), rig.options));
    EXPECT_FALSE(CoreOps::Write(rig.env, "PC", "10000200", rig.options));
    EXPECT_FALSE(CoreOps::ReadFault(rig.env, rig.options));
    const QString refusal = OpsMessages::kCoreRunning;
    EXPECT_EQ(rig.user.messages, QStringList({refusal, refusal, refusal}));
    EXPECT_TRUE(rig.user.messages[0].contains("halt HCPU"));
    EXPECT_FALSE(rig.CoreHalted());
    EXPECT_EQ(rig.Register(15), 0x10000124u);
    EXPECT_EQ(rig.Recorded(), HaltedCores{});
}

// "halt, read, keep halted": the core is halted as by "halt HCPU" and stays so.
TEST_P(CoreRegistersOver, HaltReadKeepHalted)
{
    CoreRig rig(GetParam());
    ASSERT_TRUE(rig.chipStarted);
    rig.SetRegister(15, 0x10000124);
    rig.options.halting = CoreOps::Halting::HaltAndKeepHalted;
    const auto values = CoreOps::Read(rig.env, {CoreRegister::PC}, rig.options);
    ASSERT_TRUE(values) << rig.Messages();
    EXPECT_EQ(values->at(CoreRegister::PC), 0x10000124u);
    EXPECT_TRUE(rig.CoreHalted());
    EXPECT_EQ(rig.Recorded(), (HaltedCores{.hcpu = true}));
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.Messages();
}

TEST_P(CoreRegistersOver, RegisterReadyThatNeverComesEndsAtTheDeadline)
{
    CoreRig rig(GetParam());
    ASSERT_TRUE(rig.chipStarted);
    rig.Halt();
    if (rig.over == Over::Probe)
        ASSERT_TRUE(rig.probe.SetFault("regrdy-never"));
    else
        rig.chip.InjectRegisterReadyNever(true);
    EXPECT_FALSE(CoreOps::Read(rig.env, {CoreRegister::R0, CoreRegister::R1}, rig.options));
    EXPECT_EQ(rig.user.messages, QStringList{"core register R0: S_REGRDY not set within 30 ms !\n"});
    EXPECT_FALSE(CoreOps::Write(rig.env, "PC", "10000200", rig.options));
    EXPECT_EQ(rig.user.messages.last(), "core register PC: S_REGRDY not set within 30 ms !\n");
    EXPECT_FALSE(rig.PortHeld()); // the link was closed after the message
}

INSTANTIATE_TEST_SUITE_P(Links, CoreRegistersOver, testing::Values(Over::Probe, Over::Uart),
                         [](const testing::TestParamInfo<Over> &info) { return std::string(Name(info.param)); });

// The fault words and the stacked frame come from the chip's memory, the
// stack from the core's banked stack pointer named by EXC_RETURN.
TEST_P(CoreRegistersOver, FaultReadingTakesTheFrameFromTheBankedStack)
{
    CoreRig rig(GetParam());
    ASSERT_TRUE(rig.chipStarted);
    rig.SetRegister(16, 0x01000005);   // BusFault
    rig.SetRegister(14, 0xFFFFFFFD);   // PSP_S, thread mode, standard frame
    rig.SetRegister(0x1B, 0x20001000); // PSP_S
    rig.Poke(CoreOps::kCfsr, (1u << 9) | (1u << 15));
    rig.Poke(CoreOps::kCfsr + 16, 0x0FF00000); // BFAR
    for (uint32_t i = 0; i < 8; ++i)
        rig.Poke(0x20001000 + 4 * i, 0xF0000000 + i);
    rig.Halt();
    const auto reading = CoreOps::ReadFault(rig.env, rig.options);
    ASSERT_TRUE(reading) << rig.Messages();
    EXPECT_EQ(reading->words.cfsr, (1u << 9) | (1u << 15));
    EXPECT_EQ(reading->words.bfar, 0x0FF00000u);
    EXPECT_EQ(reading->frameStack, "PSP_S");
    EXPECT_EQ(reading->frameAddress, 0x20001000u);
    EXPECT_EQ(reading->frame, (std::vector<uint32_t>{0xF0000000, 0xF0000001, 0xF0000002, 0xF0000003, 0xF0000004,
                                                     0xF0000005, 0xF0000006, 0xF0000007}));
    EXPECT_TRUE(reading->frameProblem.isEmpty());
}

// A stack pointer the chip table refuses to read: said so, no frame made up.
TEST_P(CoreRegistersOver, StackPointerOutsideReadableMemoryReadsNoFrame)
{
    CoreRig rig(GetParam());
    ASSERT_TRUE(rig.chipStarted);
    rig.SetRegister(16, 0x01000003);
    rig.SetRegister(14, 0xFFFFFFF9);   // MSP_S
    rig.SetRegister(0x1A, 0x00200000); // inside 0x00100000..0x0FFFFFFF, refused for every chip
    rig.Halt();
    const auto reading = CoreOps::ReadFault(rig.env, rig.options);
    ASSERT_TRUE(reading) << rig.Messages();
    EXPECT_TRUE(reading->frame.empty());
    EXPECT_FALSE(reading->frameAddress);
    EXPECT_EQ(reading->frameProblem,
              "not read: MSP_S 0x00200000 is outside readable memory (0x10000000 > ADDR >= 0x100000, please check!)");
}

// An extended frame: S0-S15 and FPSCR after the basic frame; with DCRS
// clear the callee registers lie below it and the frame starts 40 bytes up.
TEST_P(CoreRegistersOver, ExtendedFrameAboveTheCalleeRegisters)
{
    CoreRig rig(GetParam());
    ASSERT_TRUE(rig.chipStarted);
    rig.SetRegister(16, 0x01000003);
    rig.SetRegister(14, 0xFFFFFFCD);   // PSP_S, thread mode, extended frame, DCRS clear
    rig.SetRegister(0x1B, 0x20002000); // PSP_S
    for (uint32_t i = 0; i < 10 + 26; ++i)
        rig.Poke(0x20002000 + 4 * i, 0xA0000000 + i);
    rig.Halt();
    const auto reading = CoreOps::ReadFault(rig.env, rig.options);
    ASSERT_TRUE(reading) << rig.Messages();
    EXPECT_TRUE(reading->extendedFrame);
    EXPECT_EQ(reading->frameAddress, 0x20002000u + 40);
    ASSERT_EQ(reading->frame.size(), 25u); // 8 + S0-S15 + FPSCR
    EXPECT_EQ(reading->frame.front(), 0xA000000Au);
    EXPECT_EQ(reading->frame.back(), 0xA000000Au + 24);
    const FaultReport::Report report = FaultReport::Decode(*reading);
    const QString text = FaultReport::Text(report);
    EXPECT_TRUE(text.contains("extended (floating-point) frame, R4-R11 stacked below it\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("  S15   0xA0000021\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("  FPSCR 0xA0000022\n")) << text.toStdString();
}

// The link lost in the middle of the registers: its one message, and no values.
TEST(CoreRegistersLinkLost, UartChipThatStopsAnsweringMidRead)
{
    CoreRig rig(Over::Uart);
    ASSERT_TRUE(rig.chipStarted);
    rig.Halt();
    // enter, the halt record's check of DHCSR, DHCSR, then R0's selector and ready and value
    rig.chip.DeferFaults(1 + 1 + 4);
    rig.chip.InjectNoAnswer(1000);
    EXPECT_FALSE(CoreOps::Read(rig.env, {CoreRegister::R0, CoreRegister::R1}, rig.options));
    ASSERT_EQ(rig.user.messages.size(), 1) << rig.Messages();
    EXPECT_TRUE(rig.user.messages[0].startsWith("WriteMem 0xf000edf4 0x4 error !")) << rig.Messages();
}

} // namespace

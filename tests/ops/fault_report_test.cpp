// The fault report in plain words: every fault status bit of CFSR, HFSR and
// SFSR named with its words, the fault addresses shown only where their
// VALID bit holds, EXC_RETURN and the exception decoded, lines a server did
// not give said so.

#include "ops/FaultReport.h"
#include "support/QtPrinters.h"

#include <QJsonArray>

#include <gtest/gtest.h>

namespace {

struct BitCase
{
    const char *reg;
    uint32_t word;
    const char *part;
    const char *name;
    const char *words;
};

std::vector<FaultReport::SetBit> BitsOf(const char *reg, uint32_t word)
{
    const QString name = reg;
    if (name == "CFSR")
        return FaultReport::CfsrBits(word);
    if (name == "HFSR")
        return FaultReport::HfsrBits(word);
    if (name == "DFSR")
        return FaultReport::DfsrBits(word);
    return FaultReport::SfsrBits(word);
}

class FaultBits : public testing::TestWithParam<BitCase>
{
};

TEST_P(FaultBits, OneBitIsNamedInWords)
{
    const BitCase &c = GetParam();
    const std::vector<FaultReport::SetBit> bits = BitsOf(c.reg, c.word);
    ASSERT_EQ(bits.size(), 1u);
    EXPECT_EQ(bits[0].part, c.part);
    EXPECT_EQ(bits[0].name, c.name);
    EXPECT_EQ(bits[0].words, c.words);
}

INSTANTIATE_TEST_SUITE_P(
    EveryBit, FaultBits,
    testing::Values(
        BitCase{"CFSR", 1u << 0, "MMFSR", "IACCVIOL", "instruction access violation (MPU or execute-never)"},
        BitCase{"CFSR", 1u << 1, "MMFSR", "DACCVIOL", "data access violation (MPU)"},
        BitCase{"CFSR", 1u << 3, "MMFSR", "MUNSTKERR", "memory management fault on unstacking at exception return"},
        BitCase{"CFSR", 1u << 4, "MMFSR", "MSTKERR", "memory management fault on stacking at exception entry"},
        BitCase{"CFSR", 1u << 5, "MMFSR", "MLSPERR",
                "memory management fault during lazy floating-point state preservation"},
        BitCase{"CFSR", 1u << 7, "MMFSR", "MMARVALID", "MMFAR holds the faulting address"},
        BitCase{"CFSR", 1u << 8, "BFSR", "IBUSERR", "instruction bus error"},
        BitCase{"CFSR", 1u << 9, "BFSR", "PRECISERR", "precise data bus error"},
        BitCase{"CFSR", 1u << 10, "BFSR", "IMPRECISERR", "imprecise data bus error"},
        BitCase{"CFSR", 1u << 11, "BFSR", "UNSTKERR", "bus error on unstacking at exception return"},
        BitCase{"CFSR", 1u << 12, "BFSR", "STKERR", "bus error on stacking at exception entry"},
        BitCase{"CFSR", 1u << 13, "BFSR", "LSPERR", "bus error during lazy floating-point state preservation"},
        BitCase{"CFSR", 1u << 15, "BFSR", "BFARVALID", "BFAR holds the faulting address"},
        BitCase{"CFSR", 1u << 16, "UFSR", "UNDEFINSTR", "undefined instruction"},
        BitCase{"CFSR", 1u << 17, "UFSR", "INVSTATE", "invalid state: Thumb bit clear"},
        BitCase{"CFSR", 1u << 18, "UFSR", "INVPC",
                "invalid PC: a bad EXC_RETURN or integrity signature at exception return"},
        BitCase{"CFSR", 1u << 19, "UFSR", "NOCP",
                "no coprocessor: floating-point or coprocessor instruction while disabled or absent"},
        BitCase{"CFSR", 1u << 20, "UFSR", "STKOF", "stack overflow (STKOF)"},
        BitCase{"CFSR", 1u << 24, "UFSR", "UNALIGNED", "unaligned access"},
        BitCase{"CFSR", 1u << 25, "UFSR", "DIVBYZERO", "divide by zero"},
        BitCase{"HFSR", 1u << 1, "HFSR", "VECTTBL", "bus error on a vector table read"},
        BitCase{"HFSR", 1u << 30, "HFSR", "FORCED", "forced: a configurable fault escalated to HardFault"},
        BitCase{"HFSR", 1u << 31, "HFSR", "DEBUGEVT", "debug event while halting debug is off"},
        BitCase{"DFSR", 1u << 0, "DFSR", "HALTED", "halt request or step"},
        BitCase{"DFSR", 1u << 1, "DFSR", "BKPT", "breakpoint"},
        BitCase{"SFSR", 1u << 0, "SFSR", "INVEP", "invalid entry point: a Non-secure call into Secure code without SG"},
        BitCase{"SFSR", 1u << 1, "SFSR", "INVIS", "invalid integrity signature at exception return"},
        BitCase{"SFSR", 1u << 2, "SFSR", "INVER", "invalid exception return"},
        BitCase{"SFSR", 1u << 3, "SFSR", "AUVIOL", "attribution unit violation: Non-secure access to Secure memory"},
        BitCase{"SFSR", 1u << 4, "SFSR", "INVTRAN", "invalid transition from Secure to Non-secure"},
        BitCase{"SFSR", 1u << 5, "SFSR", "LSPERR",
                "SAU or IDAU violation during lazy floating-point state preservation"},
        BitCase{"SFSR", 1u << 6, "SFSR", "SFARVALID", "SFAR holds the faulting address"},
        BitCase{"SFSR", 1u << 7, "SFSR", "LSERR",
                "lazy state error: floating-point state inconsistent at exception entry or return"}));

// Reserved bits name nothing; the words never invent a bit.
TEST(FaultBitsReserved, ReservedBitsOfCfsrHfsrAndSfsrNameNothing)
{
    EXPECT_TRUE(FaultReport::CfsrBits((1u << 2) | (1u << 6) | (1u << 14) | (7u << 21) | (0x3Fu << 26)).empty());
    EXPECT_TRUE(FaultReport::HfsrBits(~((1u << 1) | (1u << 30) | (1u << 31))).empty());
    EXPECT_TRUE(FaultReport::SfsrBits(0xFFFFFF00u).empty());
}

// STKOF names the stack the frame went to, where it is known.
TEST(FaultBitsReserved, StackOverflowNamesTheStack)
{
    EXPECT_EQ(FaultReport::CfsrBits(1u << 20, "PSP_S")[0].words, "stack overflow of the process stack (STKOF)");
    EXPECT_EQ(FaultReport::CfsrBits(1u << 20, "MSP_NS")[0].words, "stack overflow of the main stack (STKOF)");
}

struct ExcReturnCase
{
    uint32_t lr;
    const char *stack;
    bool threadMode;
    bool standardFrame;
    bool calleeStacked;
};

class ExcReturns : public testing::TestWithParam<ExcReturnCase>
{
};

TEST_P(ExcReturns, Decoded)
{
    const ExcReturnCase &c = GetParam();
    const auto decoded = FaultReport::DecodeExcReturn(c.lr);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->StackName(), c.stack);
    EXPECT_EQ(decoded->threadMode, c.threadMode);
    EXPECT_EQ(decoded->standardFrame, c.standardFrame);
    EXPECT_EQ(decoded->calleeStacked, c.calleeStacked);
    EXPECT_EQ(FaultReport::FrameWords(*decoded), c.standardFrame ? 8 : 26);
    EXPECT_EQ(FaultReport::FrameOffset(*decoded), c.calleeStacked ? 40u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Words, ExcReturns,
                         testing::Values(ExcReturnCase{0xFFFFFFF9, "MSP_S", true, true, false},
                                         ExcReturnCase{0xFFFFFFFD, "PSP_S", true, true, false},
                                         ExcReturnCase{0xFFFFFFF1, "MSP_S", false, true, false},
                                         ExcReturnCase{0xFFFFFFBC, "PSP_NS", true, true, false},
                                         ExcReturnCase{0xFFFFFFA8, "MSP_NS", true, false, false},
                                         ExcReturnCase{0xFFFFFFED, "PSP_S", true, false, false},
                                         ExcReturnCase{0xFFFFFFDD, "PSP_S", true, true, true}));

TEST(ExcReturnsOther, AReturnAddressIsNoExcReturn)
{
    EXPECT_FALSE(FaultReport::DecodeExcReturn(0x10000123));
}

TEST(ExceptionNames, NumbersAndNames)
{
    const std::pair<uint32_t, const char *> cases[] = {
        {0, "Thread mode"}, {2, "NMI"},         {3, "HardFault"},   {4, "MemManage"},     {5, "BusFault"},
        {6, "UsageFault"},  {7, "SecureFault"}, {11, "SVCall"},     {12, "DebugMonitor"}, {14, "PendSV"},
        {15, "SysTick"},    {16, "IRQ 0"},      {16 + 42, "IRQ 42"}};
    for (const auto &[number, name] : cases)
        EXPECT_EQ(FaultReport::ExceptionName(number), name) << number;
}

CoreOps::FaultReading BusFaultReading()
{
    CoreOps::FaultReading reading;
    reading.words = {.cfsr = (1u << 9) | (1u << 15),
                     .hfsr = 1u << 30,
                     .dfsr = 0,
                     .mmfar = 0xE000EDF8,
                     .bfar = 0x0FF00000,
                     .afsr = 0,
                     .sfsr = 0,
                     .sfar = 0x12345678};
    reading.core = {{CoreRegister::XPSR, 0x01000003}, {CoreRegister::LR, 0xFFFFFFF9}};
    reading.frameStack = "MSP_S";
    reading.frameAddress = 0x30007FD0;
    reading.frame = {0, 1, 2, 3, 12, 0x10000081, 0x10000042, 0x01000000};
    return reading;
}

TEST(FaultReportText, BusFaultInWordsWithValidAddressesOnly)
{
    const FaultReport::Report report = FaultReport::Decode(BusFaultReading());
    const QString text = FaultReport::Text(report);
    EXPECT_TRUE(text.startsWith("Exception: 3 HardFault\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("EXC_RETURN 0xFFFFFFF9: frame on MSP_S (Secure main stack), returns to Thread mode, "
                              "standard frame\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("CFSR 0x00008200\n  BFSR PRECISERR: precise data bus error\n"
                              "  BFSR BFARVALID: BFAR holds the faulting address\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("HFSR 0x40000000\n  FORCED: forced: a configurable fault escalated to HardFault\n"))
        << text.toStdString();
    EXPECT_TRUE(text.contains("BFAR 0x0FF00000: the faulting address\n")) << text.toStdString();
    // MMARVALID and SFARVALID clear: the words in MMFAR and SFAR are not shown.
    EXPECT_TRUE(text.contains("MMFAR: not valid (MMARVALID clear)\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("SFAR: not valid (SFARVALID clear)\n")) << text.toStdString();
    EXPECT_FALSE(text.contains("E000EDF8")) << text.toStdString();
    EXPECT_FALSE(text.contains("12345678")) << text.toStdString();
    EXPECT_TRUE(text.contains("Stacked frame on MSP_S at 0x30007FD0:\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("  PC    0x10000042\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("  xPSR  0x01000000\n")) << text.toStdString();

    const QJsonObject json = FaultReport::Json(report);
    EXPECT_EQ(json["exception"]["name"].toString(), "HardFault");
    EXPECT_EQ(json["fault_addresses"]["BFAR"].toString(), "0x0FF00000");
    EXPECT_TRUE(json["fault_addresses"]["MMFAR"].isNull());
    EXPECT_TRUE(json["fault_addresses"]["SFAR"].isNull());
    EXPECT_EQ(json["fault_registers"]["CFSR"]["bits"].toArray().size(), 2);
    EXPECT_EQ(json["stacked_frame"]["registers"]["PC"].toString(), "0x10000042");
}

// VALID bits set: each address shows; clear: none does, whatever the word holds.
TEST(FaultReportText, EveryValidBitShowsItsAddress)
{
    CoreOps::FaultReading reading = BusFaultReading();
    reading.words.cfsr = (1u << 7) | (1u << 1) | (1u << 15) | (1u << 9);
    reading.words.sfsr = (1u << 6) | (1u << 3);
    const QString text = FaultReport::Text(FaultReport::Decode(reading));
    EXPECT_TRUE(text.contains("MMFAR 0xE000EDF8: the faulting address\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("SFAR 0x12345678: the faulting address\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("  AUVIOL: attribution unit violation: Non-secure access to Secure memory\n"))
        << text.toStdString();

    reading.words.cfsr = 0;
    reading.words.sfsr = 0;
    const QString clear = FaultReport::Text(FaultReport::Decode(reading));
    EXPECT_TRUE(clear.contains("BFAR: not valid (BFARVALID clear)\n")) << clear.toStdString();
    EXPECT_TRUE(clear.contains("CFSR 0x00000000: no bit set\n")) << clear.toStdString();
}

// A GDB server without the Security Extension's registers or xPSR: those
// lines say so, and nothing is made up for them.
TEST(FaultReportText, LinesNotGivenByTheServer)
{
    CoreOps::FaultReading reading;
    reading.words.cfsr = 1u << 25;
    reading.words.hfsr = 0;
    reading.words.dfsr = 0;
    reading.words.mmfar = 0;
    reading.words.bfar = 0;
    reading.words.afsr = 0;
    reading.frameProblem = "not read: xPSR not given by the server";
    const QString text = FaultReport::Text(FaultReport::Decode(reading));
    EXPECT_TRUE(text.contains("Exception: not given by the server\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("EXC_RETURN: not given by the server\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("SFSR: not given by the server\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("SFAR: not given by the server\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("  UFSR DIVBYZERO: divide by zero\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("Stacked frame: not read: xPSR not given by the server\n")) << text.toStdString();
    const QJsonObject json = FaultReport::Json(FaultReport::Decode(reading));
    EXPECT_TRUE(json["fault_registers"]["SFSR"].isNull());
    EXPECT_TRUE(json["exception"].isNull());
}

} // namespace

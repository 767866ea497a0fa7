#include "StandInTest.h"

#include <array>

namespace {

using CallsTest = StandInTest;

// One whole probe cycle: every call passes exactly the arguments the
// library's contract fixes.
TEST_F(CallsTest, CycleCallsPassTheContractArguments)
{
    EXPECT_EQ(m_jlink.ProbeSerialNumbers(), std::vector<uint32_t>{123456});
    ASSERT_NO_FATAL_FAILURE(OpenProbe(123456));
    std::array<uint8_t, 0x10> bytes{};
    EXPECT_EQ(m_jlink.ReadMemEx(0x20000000, 0x10, bytes.data()), 0x10);
    EXPECT_EQ(m_jlink.WriteMemEx(0x5000A008, 8, bytes.data()), 8);
    m_jlink.Halt();
    m_jlink.Close();

    const QStringList expected = QStringList{"JLINK_EMU_GetList 1 null 0", "JLINK_EMU_GetList 1 array 1"} +
                                 ProbeOpeningCalls(123456) +
                                 QStringList{"JLINK_ReadMemEx 0x20000000 0x10 4", "JLINK_WriteMemEx 0x5000a008 0x8 4",
                                             "JLINK_Halt", "JLINK_Close"};
    EXPECT_EQ(m_standIn.CallLog(), expected);
}

TEST_F(CallsTest, ProbeListKeepsTheLibraryOrder)
{
    const std::vector<uint32_t> serials{11, 4000000000u, 7};
    m_standIn.SetProbes(serials);
    EXPECT_EQ(m_jlink.EmuGetList(), 3);
    EXPECT_EQ(m_jlink.ProbeSerialNumbers(), serials);
    EXPECT_EQ(m_standIn.CallLog(),
              QStringList({"JLINK_EMU_GetList 1 null 0", "JLINK_EMU_GetList 1 null 0", "JLINK_EMU_GetList 1 array 3"}));
    // The probe chosen by its number is the one selected, even the last.
    EXPECT_GE(m_jlink.EmuSelectByUsbSn(7), 0);
}

// The library counts every probe attached, so one plugged in between the
// two list calls reports more probes than records: only those are read.
TEST_F(CallsTest, ProbeArrivingBetweenTheListCallsStaysWithinTheRecords)
{
    ASSERT_TRUE(m_standIn.SetFault("probe-arrives"));
    EXPECT_EQ(m_jlink.ProbeSerialNumbers(), std::vector<uint32_t>{123456});
    EXPECT_EQ(m_jlink.ProbeSerialNumbers(), (std::vector<uint32_t>{123456, 123457}));
}

TEST_F(CallsTest, NoProbeAsksOnlyForTheCount)
{
    ASSERT_TRUE(m_standIn.SetFault("no-probe"));
    EXPECT_EQ(m_jlink.EmuGetList(), 0);
    m_standIn.ClearCallLog();
    EXPECT_TRUE(m_jlink.ProbeSerialNumbers().empty());
    EXPECT_EQ(m_standIn.CallLog(), QStringList({"JLINK_EMU_GetList 1 null 0"}));
}

// Each opening fault shows in the result of the step the caller checks.
TEST_F(CallsTest, OpeningFaultsShowInTheCheckedResults)
{
    struct Case
    {
        const char *fault; // nullptr: none
        uint32_t serial;
        bool selected, open, probeConnected, targetConnected;
    };
    const Case cases[] = {
        {nullptr, 123456, true, true, true, true},
        {nullptr, 654321, false, true, true, true}, // unknown serial number
        {"select", 123456, false, true, true, true},
        {"open", 123456, true, false, false, false},
        {"not-connected", 123456, true, true, false, false},
        {"connect", 123456, true, true, true, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.fault ? c.fault : "no fault");
        m_standIn.Reset();
        if (c.fault) {
            ASSERT_TRUE(m_standIn.SetFault(c.fault));
        }
        EXPECT_EQ(m_jlink.EmuSelectByUsbSn(c.serial) >= 0, c.selected);
        m_jlink.Open();
        EXPECT_EQ(m_jlink.IsOpen(), c.open);
        EXPECT_EQ(m_jlink.EmuIsConnected(), c.probeConnected);
        EXPECT_EQ(m_jlink.Connect() == 0, c.targetConnected);
        m_jlink.Close();
    }
    EXPECT_FALSE(m_standIn.SetFault("melted"));
}

TEST_F(CallsTest, TransfersNeedAConnectedTarget)
{
    uint8_t bytes[4] = {};
    EXPECT_LT(m_jlink.ReadMemEx(0x20000000, 4, bytes), 0);
    ASSERT_NO_FATAL_FAILURE(OpenProbe());
    m_jlink.Close();
    EXPECT_LT(m_jlink.WriteMemEx(0x20000000, 4, bytes), 0);
}

// A transfer one byte short reports count - 1; judging it is the caller's.
TEST_F(CallsTest, ShortTransferReportsOneByteLess)
{
    m_standIn.PokeWord(0x20000000, 0x44332211);
    m_standIn.PokeWord(0x20000004, 0x88776655);
    ASSERT_NO_FATAL_FAILURE(OpenProbe());

    ASSERT_TRUE(m_standIn.SetFault("short-read"));
    std::array<uint8_t, 8> into;
    into.fill(0xEE);
    EXPECT_EQ(m_jlink.ReadMemEx(0x20000000, 8, into.data()), 7);
    EXPECT_EQ(into, (std::array<uint8_t, 8>{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0xEE}));

    ASSERT_TRUE(m_standIn.SetFault("short-write"));
    const std::array<uint8_t, 4> from{0xA1, 0xA2, 0xA3, 0xA4};
    EXPECT_EQ(m_jlink.WriteMemEx(0x20000000, 4, from.data()), 3);
    EXPECT_EQ(m_standIn.PeekWord(0x20000000), 0x44A3A2A1u);
}

// From the Nth call on: the first chunks pass, a later one falls short.
TEST_F(CallsTest, ShortTransferFromALaterCall)
{
    ASSERT_NO_FATAL_FAILURE(OpenProbe());
    std::array<uint8_t, 0x400> chunk{};
    ASSERT_TRUE(m_standIn.SetFault("short-read", 2));
    EXPECT_EQ(m_jlink.ReadMemEx(0x20000000, 0x400, chunk.data()), 0x400);
    EXPECT_EQ(m_jlink.ReadMemEx(0x20000400, 0x400, chunk.data()), 0x3FF);
    EXPECT_EQ(m_jlink.ReadMemEx(0x20000800, 0x400, chunk.data()), 0x3FF);

    ASSERT_TRUE(m_standIn.SetFault("short-write", 3));
    EXPECT_EQ(m_jlink.WriteMemEx(0x20000000, 0x400, chunk.data()), 0x400);
    EXPECT_EQ(m_jlink.WriteMemEx(0x20000400, 0x400, chunk.data()), 0x400);
    EXPECT_EQ(m_jlink.WriteMemEx(0x20000800, 0x400, chunk.data()), 0x3FF);
}

} // namespace

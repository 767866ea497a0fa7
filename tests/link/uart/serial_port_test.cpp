// Opening the port: names, exclusivity, speed and repeated use.

#include "SimChipFixture.h"

namespace {

TEST(SerialPort, NameRules)
{
    EXPECT_FALSE(SerialPort::Open("", 115200).IsOpen());
    EXPECT_FALSE(SerialPort::Open("corvane-no-such-port", 115200).IsOpen());
    EXPECT_FALSE(SerialPort::Open("/dev/null", 115200).IsOpen()) << "not a terminal";
    // A bare name is taken under /dev/: ptmx is a terminal found only there.
    EXPECT_TRUE(SerialPort::Open("ptmx", 115200).IsOpen());
    EXPECT_FALSE(SerialPort::Open("./ptmx", 115200).IsOpen());

    SimulatedChip chip("VX21A");
    ASSERT_TRUE(chip.Start());
    EXPECT_TRUE(SerialPort::Open(chip.PortPath(), 115200).IsOpen());
}

TEST(SerialPort, HeldExclusivelyAndReopenedFreely)
{
    SimChipFixture f("VX21A");
    ASSERT_TRUE(f.Ready());
    EXPECT_FALSE(f.m_link.OpenPort(f.m_chip.PortPath(), 1).IsOpen()) << "already held";
    for (int round = 0; round < 5; ++round) {
        SCOPED_TRACE(round);
        f.m_port.Close();
        EXPECT_FALSE(f.m_port.IsOpen());
        f.m_port = f.m_link.OpenPort(f.m_chip.PortPath(), 1);
        ASSERT_TRUE(f.m_port.IsOpen());
        EXPECT_TRUE(f.m_link.EnterDebugMode(f.m_port));
        EXPECT_TRUE(f.m_link.LeaveDebugMode(f.m_port));
    }
    SerialPort moved = std::move(f.m_port);
    EXPECT_TRUE(moved.IsOpen());
    EXPECT_FALSE(f.m_port.IsOpen());
    EXPECT_EQ(f.m_port.QueuedBytes(), 0);
    uint8_t byte = 0;
    EXPECT_EQ(f.m_port.Read(&byte, 1), 0);
}

TEST(SerialPort, SpeedIndexSetsTheLineRate)
{
    SimulatedChip chip("VX21A");
    ASSERT_TRUE(chip.Start());
    TransferBuffer buffer;
    UartLink link(buffer, [] { return QString("VX21A"); });
    const uint32_t rates[] = {115200, 1000000, 2000000, 3000000, 4000000, 5000000, 6000000};
    for (int index = 0; index < 7; ++index) {
        SerialPort port = link.OpenPort(chip.PortPath(), index);
        ASSERT_TRUE(port.IsOpen()) << index;
        EXPECT_EQ(chip.LineBaud(), rates[index]) << index;
    }
}

TEST(SerialPort, SpeedIndexWithoutRateOpensNothing)
{
    SimulatedChip chip("VX21A");
    ASSERT_TRUE(chip.Start());
    TransferBuffer buffer;
    UartLink link(buffer, [] { return QString("VX21A"); });
    EXPECT_FALSE(link.OpenPort(chip.PortPath(), 7).IsOpen());
    EXPECT_FALSE(link.OpenPort(chip.PortPath(), -1).IsOpen());
    EXPECT_TRUE(link.OpenPort(chip.PortPath(), 6).IsOpen()) << "the port was left free";
}

} // namespace

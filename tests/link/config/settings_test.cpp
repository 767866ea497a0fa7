#include "IniFixture.h"

#include "link/Settings.h"

namespace {

const QByteArray kAllCommon = "[COMMON]\n"
                              "DATA_TYPE=2\n"
                              "JLINK_PORT=801000123\n"
                              "UART_PORT=ttyUSB0\n"
                              "UART_BAUND=3\n"
                              "EXPAND_TYPE=2\n"
                              "HEX_DEC=1\n"
                              "GDB_SERVER=lab-pc:2331\n";

struct PartCase
{
    SettingsPart part;
    Settings expected;
};

const PartCase kPartCases[] = {
    {SettingsPart::DataSourceOnly, {2, 0, QString(), 0, 0, 0, QString()}},
    {SettingsPart::JLink, {2, 801000123, QString(), 0, 0, 0, QString()}},
    {SettingsPart::Uart, {2, 0, "ttyUSB0", 3, 0, 0, QString()}},
    {SettingsPart::Display, {2, 0, QString(), 0, 2, 1, QString()}},
    {SettingsPart::Gdb, {2, 0, QString(), 0, 0, 0, "lab-pc:2331"}},
};

class LoadSettingsTest : public IniFixture
{
};

TEST_F(LoadSettingsTest, DataSourceAlwaysThenOnlyThePartAskedFor)
{
    Put(kAllCommon);
    for (const PartCase &c : kPartCases) {
        SCOPED_TRACE(int(c.part));
        const Settings s = LoadSettings(m_file, c.part);
        EXPECT_EQ(s.dataSource, c.expected.dataSource);
        EXPECT_EQ(s.jlinkSerialNumber, c.expected.jlinkSerialNumber);
        EXPECT_EQ(s.uartPort, c.expected.uartPort);
        EXPECT_EQ(s.uartSpeedIndex, c.expected.uartSpeedIndex);
        EXPECT_EQ(s.expandLevel, c.expected.expandLevel);
        EXPECT_EQ(s.numberBase, c.expected.numberBase);
        EXPECT_EQ(s.gdbServer, c.expected.gdbServer);
    }
}

TEST_F(LoadSettingsTest, MissingFileGivesZeros)
{
    for (SettingsPart part : {SettingsPart::JLink, SettingsPart::Uart, SettingsPart::Display}) {
        const Settings s = LoadSettings(m_file, part);
        EXPECT_EQ(s.dataSource, 0);
        EXPECT_EQ(s.jlinkSerialNumber, 0);
        EXPECT_TRUE(s.uartPort.isEmpty());
        EXPECT_EQ(s.uartSpeedIndex + s.expandLevel + s.numberBase, 0);
    }
}

TEST_F(LoadSettingsTest, PortIsCutTo39AndSerialKeeps32Bits)
{
    const QByteArray longPort = "/dev/serial/by-id/usb-FTDI_FT232R_UART_A50285BI-if00";
    Put("[COMMON]\nDATA_TYPE=1\nJLINK_PORT=3000000000\nUART_PORT=" + longPort + "\n");
    EXPECT_EQ(LoadSettings(m_file, SettingsPart::Uart).uartPort, QString(longPort.left(39)));
    EXPECT_EQ(uint32_t(LoadSettings(m_file, SettingsPart::JLink).jlinkSerialNumber), 3000000000u);
}

TEST_F(LoadSettingsTest, EachLoadReadsTheFileAnew)
{
    ConfigFile panel(Path());
    panel.WriteInt(ConfigKey::kCommon, ConfigKey::kDataType, 1);
    panel.WriteInt(ConfigKey::kCommon, ConfigKey::kJlinkPort, 123);
    EXPECT_EQ(LoadSettings(m_file, SettingsPart::JLink).jlinkSerialNumber, 123);
    panel.WriteInt(ConfigKey::kCommon, ConfigKey::kDataType, 2);
    panel.WriteText(ConfigKey::kCommon, ConfigKey::kUartPort, "ttyACM0");
    const Settings s = LoadSettings(m_file, SettingsPart::Uart);
    EXPECT_EQ(s.dataSource, 2);
    EXPECT_EQ(s.uartPort, "ttyACM0");
    // Edited by hand, even to the same size: the next load sees it, then
    // keeps seeing it.
    for (const char *server : {"lab-pc:2331", "lab-pc:2332"}) {
        Put(QByteArray("[COMMON]\nDATA_TYPE=3\nGDB_SERVER=") + server + "\n");
        EXPECT_EQ(LoadSettings(m_file, SettingsPart::Gdb).gdbServer, server);
        EXPECT_EQ(LoadSettings(m_file, SettingsPart::Gdb).gdbServer, server);
        EXPECT_EQ(LoadSettings(m_file, SettingsPart::Uart).uartPort, "");
    }
}

} // namespace

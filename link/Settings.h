#pragma once

#include "link/ConfigFile.h"
#include "link/SettingValues.h"

#include <QString>

#include <cstdint>

// Section and key names of the configuration file, and the read sizes of its
// texts (characters including the terminator, as ReadText takes them).
// Indexed keys are formats for QString::asprintf ("CHIP_%d", "WND_%d").
namespace ConfigKey {

// Sections
inline constexpr char kChipType[] = "CHIP_TYPE";
inline constexpr char kUartBaundSection[] = "UART_BAUND";
inline constexpr char kCommon[] = "COMMON";
// A chip model's own section is named by the model; it holds kWindowOpen,
// kCoreElf and one AssignmentMask per peripheral, keyed by the peripheral's name.

// CHIP_TYPE and UART_BAUND
inline constexpr char kNum[] = "NUM";
inline constexpr char kChip[] = "CHIP_%d";
inline constexpr char kSel[] = "SEL";
inline constexpr char kBaund[] = "BAUND_%d";

// COMMON
inline constexpr char kDataType[] = "DATA_TYPE";
inline constexpr char kJlinkPort[] = "JLINK_PORT";
inline constexpr char kJlinkBaund[] = "JLINK_BAUND";
inline constexpr char kUartPort[] = "UART_PORT";
inline constexpr char kUartBaund[] = "UART_BAUND";
inline constexpr char kExpandType[] = "EXPAND_TYPE";
inline constexpr char kHexDec[] = "HEX_DEC";
inline constexpr char kRegWr[] = "REG_WR";
inline constexpr char kJlinkDll[] = "JLINKDLL";
inline constexpr char kCheckIpPath[] = "CHECKIP_PATH";
inline constexpr char kInitDockPane[] = "INIT_DOCKPANE";
inline constexpr char kGdbServer[] = "GDB_SERVER";
inline constexpr char kGdbServerDefault[] = "localhost:3333";

// Chip model section
inline constexpr char kWindowOpen[] = "WND_%d";
// The firmware's ELF file the core window last used for the chip.
inline constexpr char kCoreElf[] = "CORE_ELF";

// Read sizes
inline constexpr int kListTextSize = 50;      // CHIP_%d, BAUND_%d
inline constexpr int kPanelPortSize = 49;     // JLINK_PORT, UART_PORT as the panel reads them
inline constexpr int kOperationPortSize = 40; // UART_PORT as the operations read it
inline constexpr int kPathSize = 260;         // JLINKDLL, CHECKIP_PATH
inline constexpr int kServerSize = 260;       // GDB_SERVER, "host:port"

} // namespace ConfigKey

// What an operation reads from COMMON when it starts, and works from until it
// ends. Fields of the parts not asked for keep their zero values.
struct Settings
{
    int32_t dataSource = 0;        // DATA_TYPE: 0 offline, 1 J-Link, 3 GDB server, anything else UART
    int32_t jlinkSerialNumber = 0; // JLINK_PORT, read as an integer
    QString uartPort;              // UART_PORT, at most 39 characters
    int32_t uartSpeedIndex = 0;    // UART_BAUND
    int32_t expandLevel = 0;       // EXPAND_TYPE
    int32_t numberBase = 0;        // HEX_DEC
    QString gdbServer;             // GDB_SERVER, "host:port"
};

enum class SettingsPart { DataSourceOnly, JLink, Uart, Display, Gdb };
inline constexpr int kSettingsParts = 5;

// Reads dataSource always, then only the fields of the part asked for.
Settings LoadSettings(const ConfigFile &file, SettingsPart part);

// The link the stored choice names ("uart PORT", "jlink SERIAL", "gdb
// HOST:PORT", "offline"): when it changes, every byte read before is stale.
QString LinkIdentity(const ConfigFile &file);

#pragma once

// Every text the link layer shows the user, in one place.
//
// These texts are a contract, character for character: their spelling
// (typos included), spacing, "!" and trailing line breaks are what users,
// scripts and the tests expect. Never tidy them. The same words with and
// without a line break are different texts for different places. Texts with
// % are printf formats (MessageText::Format) with the arguments named beside.
namespace LinkMessages {

// Operations on offline data.
inline constexpr char kSelectOnlineData[] = "Please select online data type !\n";

// Address checks of the chip profiles.
inline constexpr char kReadCommonWindow[] = "0x10000000 > ADDR >= 0x100000, please check!";
inline constexpr char kWriteCommonWindow[] = "0x20000000 > ADDR, please check!";
inline constexpr char kFrom62Window[] = "0xE0000000 > ADDR >= 0x62000000, please check!";
inline constexpr char kFrom64Window[] = "0xE0000000 > ADDR >= 0x64000000, please check!";
// A transfer whose later bytes a check refuses: the first refused address,
// then the text of the rule it breaks (one of the four above).
inline constexpr char kTransferReaches[] = "transfer reaches 0x%08x: %s";

// The configuration file refused a write; %s is its path (then, for a name
// or text it cannot hold, the section and the key).
inline constexpr char kConfigHeld[] = "%s is held by another writer, not written !\n";
inline constexpr char kConfigUnreadable[] = "%s cannot be read, not written !\n";
inline constexpr char kConfigNotUtf8[] = "%s is not UTF-8 text, not written !\n";
inline constexpr char kConfigFolderRefuses[] = "%s: its folder takes no new file, not written !\n";
inline constexpr char kConfigWriteError[] = "%s write error, not written !\n";
inline constexpr char kConfigNotStorable[] = "%s cannot hold [%s] %s with this text, not written !\n";

// The J-Link probe link.
inline constexpr char kProbeLibraryMissing[] =
    "Please copy libjlinkarm.so file from the path of the JLink(SEGGER) software to the path of this tool!";
inline constexpr char kProbeSelect[] = "jlink_EMU_SelectByUSBSN error\n";
inline constexpr char kProbeIsOpen[] = "jlink_IsOpen error\n";
inline constexpr char kProbeIsConnected[] = "jlink_EMU_IsConnected error\n";
inline constexpr char kProbeConnect[] = "jlink_Connect error\n";
// The register window's variant of the connect failure.
inline constexpr char kRegisterLinkConnect[] = "link_Connect error\n";
// Address, byte count.
inline constexpr char kProbeReadBody[] = "jlink_ReadMemEx 0x%08x 0x%x error !\n";
inline constexpr char kProbeWriteBody[] = "jlink_WriteMemEx 0x%08x 0x%x error !\n";
// Address of the register window's one-word transfers.
inline constexpr char kProbeReadWord[] = "jlink_ReadMemEx 0x%08x 4 error !\n";
inline constexpr char kProbeWriteWord[] = "jlink_WriteMemEx 0x%08x 4 error !\n";

// The UART debug link. %s is the chip model; the capture's and the register
// window's refusal ends in a line break, the others' does not.
inline constexpr char kUartRefusal[] = "%s not support uart debug !";
inline constexpr char kUartRefusalLine[] = "%s not support uart debug !\n";
inline constexpr char kUartOpen[] = "uart open error !\n";
inline constexpr char kUartEnterDebugMode[] = "EnterDebugMode error !\n";
inline constexpr char kUartReadBody[] = "ReadMem 0x%08x 0x%x error !\n";
inline constexpr char kUartWriteBody[] = "WriteMem 0x%08x 0x%x error !\n";
// The one-word read failure has no line break; the write's has.
inline constexpr char kUartReadWord[] = "ReadMem 0x%08x 4 error !";
inline constexpr char kUartWriteWord[] = "WriteMem 0x%08x 4 error !\n";

// A GDB server. %s of the connect failure is the server, "host:port".
inline constexpr char kGdbConnect[] = "gdb connect %s error !\n";
inline constexpr char kGdbReadBody[] = "gdb_ReadMem 0x%08x 0x%x error !\n";
inline constexpr char kGdbWriteBody[] = "gdb_WriteMem 0x%08x 0x%x error !\n";
inline constexpr char kGdbReadWord[] = "gdb_ReadMem 0x%08x 4 error !\n";
inline constexpr char kGdbWriteWord[] = "gdb_WriteMem 0x%08x 4 error !\n";

// A core register the GDB server did not read or write; %s is its name.
inline constexpr char kGdbRegisterRead[] = "gdb read of core register %s error !\n";
inline constexpr char kGdbRegisterWrite[] = "gdb write of core register %s error !\n";

// The core's debug registers: the core did not set S_REGRDY in DHCSR within
// the deadline after the selector went to DCRSR; the register's name, the
// deadline in milliseconds.
inline constexpr char kRegisterNotReady[] = "core register %s: S_REGRDY not set within %d ms !\n";

// Why the GDB link failed, as a reason after its message, where the system
// gave none of its own ("Connection refused" comes from the system). %d is
// the reply deadline in milliseconds, %s the start of the server's reply.
inline constexpr char kGdbNotHostPort[] = "not host:port";
inline constexpr char kGdbNoReply[] = "no reply within %d ms";
inline constexpr char kGdbClosed[] = "closed by the server";
inline constexpr char kGdbFlooded[] = "the server kept sending without the reply";
inline constexpr char kGdbGarbled[] = "a garbled reply";
inline constexpr char kGdbNotAcknowledged[] = "the server took no resend of the packet";
inline constexpr char kGdbUnexpectedReply[] = "the server answered \"%s\"";

// Why a serial port did not open, as a reason after kUartOpen: the path and
// the system's text. The system's text for ENOTTY ("Inappropriate ioctl for
// device") says little about a port, so that one is our own.
inline constexpr char kPortReason[] = "%s: %s";
inline constexpr char kNotATerminal[] = "not a terminal";
// The same pair for a port that hung up in the middle of an exchange.
inline constexpr char kPortHungUp[] = "the port hung up";

} // namespace LinkMessages

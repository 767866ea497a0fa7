#pragma once

#include <QtGlobal>

// Every text the link layer shows the user, in one place.
//
// These texts are a contract, character for character: their spelling
// (typos included), spacing, "!" and trailing line breaks are what users,
// scripts and the tests expect. Never tidy them. The same words with and
// without a line break are different texts for different places. Texts with
// % are printf formats (MessageText::Format) with the arguments named beside.
//
// Each text is marked for translations/*.ts and shown through Tr()
// (link/Tr.h); under the C locale it is shown as written here.
namespace LinkMessages {

// Operations on offline data.
inline constexpr char kSelectOnlineData[] = QT_TRANSLATE_NOOP("Corvane", "Please select online data type !\n");

// Address checks of the chip profiles.
inline constexpr char kReadCommonWindow[] =
    QT_TRANSLATE_NOOP("Corvane", "0x10000000 > ADDR >= 0x100000, please check!");
inline constexpr char kWriteCommonWindow[] = QT_TRANSLATE_NOOP("Corvane", "0x20000000 > ADDR, please check!");
inline constexpr char kFrom62Window[] = QT_TRANSLATE_NOOP("Corvane", "0xE0000000 > ADDR >= 0x62000000, please check!");
inline constexpr char kFrom64Window[] = QT_TRANSLATE_NOOP("Corvane", "0xE0000000 > ADDR >= 0x64000000, please check!");
// A transfer whose later bytes a check refuses: the first refused address,
// then the text of the rule it breaks (one of the four above).
inline constexpr char kTransferReaches[] = QT_TRANSLATE_NOOP("Corvane", "transfer reaches 0x%08x: %s");

// The configuration file refused a write; %s is its path (then, for a name
// or text it cannot hold, the section and the key).
inline constexpr char kConfigHeld[] = QT_TRANSLATE_NOOP("Corvane", "%s is held by another writer, not written !\n");
inline constexpr char kConfigUnreadable[] = QT_TRANSLATE_NOOP("Corvane", "%s cannot be read, not written !\n");
inline constexpr char kConfigNotUtf8[] = QT_TRANSLATE_NOOP("Corvane", "%s is not UTF-8 text, not written !\n");
inline constexpr char kConfigFolderRefuses[] =
    QT_TRANSLATE_NOOP("Corvane", "%s: its folder takes no new file, not written !\n");
inline constexpr char kConfigWriteError[] = QT_TRANSLATE_NOOP("Corvane", "%s write error, not written !\n");
inline constexpr char kConfigNotStorable[] =
    QT_TRANSLATE_NOOP("Corvane", "%s cannot hold [%s] %s with this text, not written !\n");

// The J-Link probe link.
inline constexpr char kProbeLibraryMissing[] = QT_TRANSLATE_NOOP(
    "Corvane", "Please copy libjlinkarm.so file from the path of the JLink(SEGGER) software to the path of this tool!");
inline constexpr char kProbeSelect[] = QT_TRANSLATE_NOOP("Corvane", "jlink_EMU_SelectByUSBSN error\n");
inline constexpr char kProbeIsOpen[] = QT_TRANSLATE_NOOP("Corvane", "jlink_IsOpen error\n");
inline constexpr char kProbeIsConnected[] = QT_TRANSLATE_NOOP("Corvane", "jlink_EMU_IsConnected error\n");
inline constexpr char kProbeConnect[] = QT_TRANSLATE_NOOP("Corvane", "jlink_Connect error\n");
// The register window's variant of the connect failure.
inline constexpr char kRegisterLinkConnect[] = QT_TRANSLATE_NOOP("Corvane", "link_Connect error\n");
// Address, byte count.
inline constexpr char kProbeReadBody[] = QT_TRANSLATE_NOOP("Corvane", "jlink_ReadMemEx 0x%08x 0x%x error !\n");
inline constexpr char kProbeWriteBody[] = QT_TRANSLATE_NOOP("Corvane", "jlink_WriteMemEx 0x%08x 0x%x error !\n");
// Address of the register window's one-word transfers.
inline constexpr char kProbeReadWord[] = QT_TRANSLATE_NOOP("Corvane", "jlink_ReadMemEx 0x%08x 4 error !\n");
inline constexpr char kProbeWriteWord[] = QT_TRANSLATE_NOOP("Corvane", "jlink_WriteMemEx 0x%08x 4 error !\n");

// The UART debug link. %s is the chip model; the capture's and the register
// window's refusal ends in a line break, the others' does not.
inline constexpr char kUartRefusal[] = QT_TRANSLATE_NOOP("Corvane", "%s not support uart debug !");
inline constexpr char kUartRefusalLine[] = QT_TRANSLATE_NOOP("Corvane", "%s not support uart debug !\n");
inline constexpr char kUartOpen[] = QT_TRANSLATE_NOOP("Corvane", "uart open error !\n");
inline constexpr char kUartEnterDebugMode[] = QT_TRANSLATE_NOOP("Corvane", "EnterDebugMode error !\n");
inline constexpr char kUartReadBody[] = QT_TRANSLATE_NOOP("Corvane", "ReadMem 0x%08x 0x%x error !\n");
inline constexpr char kUartWriteBody[] = QT_TRANSLATE_NOOP("Corvane", "WriteMem 0x%08x 0x%x error !\n");
// The one-word read failure has no line break; the write's has.
inline constexpr char kUartReadWord[] = QT_TRANSLATE_NOOP("Corvane", "ReadMem 0x%08x 4 error !");
inline constexpr char kUartWriteWord[] = QT_TRANSLATE_NOOP("Corvane", "WriteMem 0x%08x 4 error !\n");

// A GDB server. %s of the connect failure is the server, "host:port".
inline constexpr char kGdbConnect[] = QT_TRANSLATE_NOOP("Corvane", "gdb connect %s error !\n");
inline constexpr char kGdbReadBody[] = QT_TRANSLATE_NOOP("Corvane", "gdb_ReadMem 0x%08x 0x%x error !\n");
inline constexpr char kGdbWriteBody[] = QT_TRANSLATE_NOOP("Corvane", "gdb_WriteMem 0x%08x 0x%x error !\n");
inline constexpr char kGdbReadWord[] = QT_TRANSLATE_NOOP("Corvane", "gdb_ReadMem 0x%08x 4 error !\n");
inline constexpr char kGdbWriteWord[] = QT_TRANSLATE_NOOP("Corvane", "gdb_WriteMem 0x%08x 4 error !\n");

// A core register the GDB server did not read or write; %s is its name.
inline constexpr char kGdbRegisterRead[] = QT_TRANSLATE_NOOP("Corvane", "gdb read of core register %s error !\n");
inline constexpr char kGdbRegisterWrite[] = QT_TRANSLATE_NOOP("Corvane", "gdb write of core register %s error !\n");

// The core's debug registers: the core did not set S_REGRDY in DHCSR within
// the deadline after the selector went to DCRSR; the register's name, the
// deadline in milliseconds.
inline constexpr char kRegisterNotReady[] =
    QT_TRANSLATE_NOOP("Corvane", "core register %s: S_REGRDY not set within %d ms !\n");

// Why the GDB link failed, as a reason after its message, where the system
// gave none of its own ("Connection refused" comes from the system). %d is
// the reply deadline in milliseconds, %s the start of the server's reply.
inline constexpr char kGdbNotHostPort[] = QT_TRANSLATE_NOOP("Corvane", "not host:port");
inline constexpr char kGdbNoReply[] = QT_TRANSLATE_NOOP("Corvane", "no reply within %d ms");
inline constexpr char kGdbClosed[] = QT_TRANSLATE_NOOP("Corvane", "closed by the server");
inline constexpr char kGdbFlooded[] = QT_TRANSLATE_NOOP("Corvane", "the server kept sending without the reply");
inline constexpr char kGdbGarbled[] = QT_TRANSLATE_NOOP("Corvane", "a garbled reply");
inline constexpr char kGdbNotAcknowledged[] = QT_TRANSLATE_NOOP("Corvane", "the server took no resend of the packet");
inline constexpr char kGdbUnexpectedReply[] = QT_TRANSLATE_NOOP("Corvane", "the server answered \"%s\"");

// Why a serial port did not open, as a reason after kUartOpen: the path and
// the system's text. The system's text for ENOTTY ("Inappropriate ioctl for
// device") says little about a port, so that one is our own.
inline constexpr char kPortReason[] = "%s: %s";
inline constexpr char kNotATerminal[] = QT_TRANSLATE_NOOP("Corvane", "not a terminal");
// The same pair for a port that hung up in the middle of an exchange.
inline constexpr char kPortHungUp[] = QT_TRANSLATE_NOOP("Corvane", "the port hung up");

} // namespace LinkMessages

#pragma once

#include <QtGlobal>

// Every text the memory and chip-control operations show the user, in one
// place.
//
// These texts are a contract, character for character: their spelling
// (typos included), spacing, "!" and trailing line breaks are what users,
// scripts and the tests expect. Never tidy them. The snapshot capture's
// texts are the register window's (regmap/RegisterWindowMessages.h); the
// link's are in link/LinkMessages.h.
//
// Each text is marked for translations/*.ts and shown through Tr()
// (link/Tr.h); under the C locale it is shown as written here.
namespace OpsMessages {

// Input checks.
inline constexpr char kAlign[] = QT_TRANSLATE_NOOP("Corvane", "ADDR shold 4 Bytes align, please check!");
inline constexpr char kNoFile[] = QT_TRANSLATE_NOOP("Corvane", "no file select, please check!");
inline constexpr char kZeroLength[] = QT_TRANSLATE_NOOP("Corvane", "LENGTH == 0, please check!");
inline constexpr char kNoData[] = QT_TRANSLATE_NOOP("Corvane", "no data to write, please check!");
inline constexpr char kFileTooLarge[] = QT_TRANSLATE_NOOP("Corvane", "input file too large for ADDR, please check!");

// Notes: the length is capped and the read goes on.
inline constexpr char kDumpCapped[] =
    QT_TRANSLATE_NOOP("Corvane", "LENGTH over 1024 Bytes, data show too long, use 1024 Bytes!");
inline constexpr char kFileCapped[] = QT_TRANSLATE_NOOP("Corvane", "LENGTH over 8*1024*1024 Bytes, use 8*1024*1024!");

// Local files of the transfers.
inline constexpr char kOutputCreate[] = QT_TRANSLATE_NOOP("Corvane", "output file create fail !\n");
inline constexpr char kOutputWrite[] = QT_TRANSLATE_NOOP("Corvane", "output file write fail !\n");
inline constexpr char kInputOpen[] = QT_TRANSLATE_NOOP("Corvane", "input file open fail !\n");
inline constexpr char kInputRead[] = QT_TRANSLATE_NOOP("Corvane", "input file read fail !\n");

// Why, on a line after them: the path, then the system's text or the file's kind.
inline constexpr char kPathReason[] = "%s: %s";
inline constexpr char kNotAnOutput[] = QT_TRANSLATE_NOOP("Corvane", "%s: not a regular file or a character device");
inline constexpr char kNotAnInput[] = QT_TRANSLATE_NOOP("Corvane", "%s: not a regular file");
// The path, the deadline in milliseconds.
inline constexpr char kOutputStalled[] = QT_TRANSLATE_NOOP("Corvane", "%s: took no bytes for %d ms");

// A long transfer asked to end between two chunks: bytes done, bytes in all.
inline constexpr char kTransferStopped[] =
    QT_TRANSLATE_NOOP("Corvane", "transfer stopped after 0x%x of 0x%x Bytes !\n");

// The core's registers and its fault report. The core must be halted; a
// running core is never halted unasked.
inline constexpr char kCoreRunning[] = QT_TRANSLATE_NOOP(
    "Corvane", "the core is running: halt it first (\"halt HCPU\" in the panel, corvane-cli halt-hcpu), "
               "or ask for halt, read, keep halted (--halt) !\n");
// The name typed.
inline constexpr char kNoCoreRegister[] = QT_TRANSLATE_NOOP("Corvane", "no core register %s, please check!");
inline constexpr char kCoreRegisterReadOnly[] =
    QT_TRANSLATE_NOOP("Corvane", "core register %s is not written here (R0-R12, SP, PC, xPSR), please check!");
// The text typed.
inline constexpr char kCoreValue[] =
    QT_TRANSLATE_NOOP("Corvane", "%s is not a 32-bit hexadecimal value, please check!");
// The register's name.
inline constexpr char kCoreRegisterNotGiven[] =
    QT_TRANSLATE_NOOP("Corvane", "core register %s is not given by the server !\n");
// Name, value written, value read back.
inline constexpr char kCoreWriteMismatch[] =
    QT_TRANSLATE_NOOP("Corvane", "core register %s written 0x%08X, read back 0x%08X !\n");

// The fault report's own words.
inline constexpr char kFaultNotGiven[] = QT_TRANSLATE_NOOP("Corvane", "not given by the server");
inline constexpr char kFaultNoSymbol[] = QT_TRANSLATE_NOOP("Corvane", "no symbol");
inline constexpr char kStackOverflowProcess[] =
    QT_TRANSLATE_NOOP("Corvane", "stack overflow of the process stack (STKOF)");
inline constexpr char kStackOverflowMain[] = QT_TRANSLATE_NOOP("Corvane", "stack overflow of the main stack (STKOF)");
inline constexpr char kStackOverflow[] = QT_TRANSLATE_NOOP("Corvane", "stack overflow (STKOF)");
inline constexpr char kAuxiliaryFaultBit[] = QT_TRANSLATE_NOOP("Corvane", "the chip's own auxiliary fault bit");
// Why the stacked frame is not shown: the stack's name, its pointer, the chip table's refusal.
inline constexpr char kFrameOutside[] =
    QT_TRANSLATE_NOOP("Corvane", "not read: %s 0x%08X is outside readable memory (%s)");
inline constexpr char kFramePastEnd[] =
    QT_TRANSLATE_NOOP("Corvane", "the frame would pass the end of the address space");
inline constexpr char kFrameNoExcReturn[] = QT_TRANSLATE_NOOP("Corvane", "not read: LR holds no EXC_RETURN");
inline constexpr char kFrameThreadMode[] =
    QT_TRANSLATE_NOOP("Corvane", "not read: the core is in Thread mode, no exception is being handled");
// The stack's name.
inline constexpr char kFrameStackNotGiven[] = QT_TRANSLATE_NOOP("Corvane", "not read: %s not given by the server");
// The stack's name, its pointer, the link's message.
// Why an --elf file was not taken, where the system gave no reason.
inline constexpr char kElfNotElf[] = QT_TRANSLATE_NOOP("Corvane", "not an ELF file");
inline constexpr char kFrameReadFailed[] = QT_TRANSLATE_NOOP("Corvane", "not read: %s 0x%08X could not be read");

// What the fields of xPSR and CONTROL mean in a core register grid.
inline constexpr char kFlagSet[] = "set";
inline constexpr char kFlagClear[] = "clear";
inline constexpr char kThumbState[] = "Thumb state";
inline constexpr char kThumbClear[] = "Thumb bit clear: the next instruction faults";
inline constexpr char kPrivileged[] = "privileged in Thread mode";
inline constexpr char kUnprivileged[] = "unprivileged in Thread mode";
inline constexpr char kMainStack[] = "Thread mode uses MSP";
inline constexpr char kProcessStack[] = "Thread mode uses PSP";
inline constexpr char kFpContextActive[] = "floating-point context active";
inline constexpr char kNoFpContext[] = "no floating-point context";
inline constexpr char kSecureFpActive[] = "the floating-point context belongs to the Secure state";
inline constexpr char kSecureFpInactive[] = "no Secure floating-point context";

} // namespace OpsMessages

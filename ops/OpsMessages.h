#pragma once

// Every text the memory and chip-control operations show the user, in one
// place.
//
// These texts are a contract, character for character: their spelling
// (typos included), spacing, "!" and trailing line breaks are what users,
// scripts and the tests expect. Never tidy them. The snapshot capture's
// texts are the register window's (regmap/RegisterWindowMessages.h); the
// link's are in link/LinkMessages.h.
namespace OpsMessages {

// Input checks.
inline constexpr char kAlign[] = "ADDR shold 4 Bytes align, please check!";
inline constexpr char kNoFile[] = "no file select, please check!";
inline constexpr char kZeroLength[] = "LENGTH == 0, please check!";
inline constexpr char kNoData[] = "no data to write, please check!";
inline constexpr char kFileTooLarge[] = "input file too large for ADDR, please check!";

// Notes: the length is capped and the read goes on.
inline constexpr char kDumpCapped[] = "LENGTH over 1024 Bytes, data show too long, use 1024 Bytes!";
inline constexpr char kFileCapped[] = "LENGTH over 8*1024*1024 Bytes, use 8*1024*1024!";

// Local files of the transfers.
inline constexpr char kOutputCreate[] = "output file create fail !\n";
inline constexpr char kOutputWrite[] = "output file write fail !\n";
inline constexpr char kInputOpen[] = "input file open fail !\n";
inline constexpr char kInputRead[] = "input file read fail !\n";

// Why, on a line after them: the path, then the system's text or the file's kind.
inline constexpr char kPathReason[] = "%s: %s";
inline constexpr char kNotAnOutput[] = "%s: not a regular file or a character device";
inline constexpr char kNotAnInput[] = "%s: not a regular file";
// The path, the deadline in milliseconds.
inline constexpr char kOutputStalled[] = "%s: took no bytes for %d ms";

// A long transfer asked to end between two chunks: bytes done, bytes in all.
inline constexpr char kTransferStopped[] = "transfer stopped after 0x%x of 0x%x Bytes !\n";

// The core's registers and its fault report. The core must be halted; a
// running core is never halted unasked.
inline constexpr char kCoreRunning[] =
    "the core is running: halt it first (\"halt HCPU\" in the panel, corvane-cli halt-hcpu), "
    "or ask for halt, read, keep halted (--halt) !\n";
// The name typed.
inline constexpr char kNoCoreRegister[] = "no core register %s, please check!";
inline constexpr char kCoreRegisterReadOnly[] =
    "core register %s is not written here (R0-R12, SP, PC, xPSR), please check!";
// The text typed.
inline constexpr char kCoreValue[] = "%s is not a 32-bit hexadecimal value, please check!";
// The register's name.
inline constexpr char kCoreRegisterNotGiven[] = "core register %s is not given by the server !\n";
// Name, value written, value read back.
inline constexpr char kCoreWriteMismatch[] = "core register %s written 0x%08X, read back 0x%08X !\n";

// The fault report's own words.
inline constexpr char kFaultNotGiven[] = "not given by the server";
inline constexpr char kFaultNoSymbol[] = "no symbol";
inline constexpr char kStackOverflowProcess[] = "stack overflow of the process stack (STKOF)";
inline constexpr char kStackOverflowMain[] = "stack overflow of the main stack (STKOF)";
inline constexpr char kStackOverflow[] = "stack overflow (STKOF)";
inline constexpr char kAuxiliaryFaultBit[] = "the chip's own auxiliary fault bit";
// Why the stacked frame is not shown: the stack's name, its pointer, the chip table's refusal.
inline constexpr char kFrameOutside[] = "not read: %s 0x%08X is outside readable memory (%s)";
inline constexpr char kFramePastEnd[] = "the frame would pass the end of the address space";
inline constexpr char kFrameNoExcReturn[] = "not read: LR holds no EXC_RETURN";
inline constexpr char kFrameThreadMode[] = "not read: the core is in Thread mode, no exception is being handled";
// The stack's name.
inline constexpr char kFrameStackNotGiven[] = "not read: %s not given by the server";
// The stack's name, its pointer, the link's message.
// Why an --elf file was not taken, where the system gave no reason.
inline constexpr char kElfNotElf[] = "not an ELF file";
inline constexpr char kFrameReadFailed[] = "not read: %s 0x%08X could not be read";

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

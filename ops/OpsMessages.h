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

} // namespace OpsMessages

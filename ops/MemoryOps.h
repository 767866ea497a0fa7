#pragma once

#include "ops/Operation.h"

// The control panel's memory buttons. Each runs one link cycle and shows at
// most one message that ends it (the length caps are notes and go on).
namespace MemoryOps {

inline constexpr uint32_t kDumpCap = 1024;
inline constexpr uint32_t kFileCap = 8 * 1024 * 1024;
inline constexpr uint32_t kChunkSize = 4096;

// "读取": up to 1024 bytes into the hex dump field.
void Read(OperationEnv &env, const QString &addressText, const QString &lengthText, DumpView &dump);
// "读取到文件": up to 8 MiB into a file chosen by the user.
void ReadToFile(OperationEnv &env, const QString &addressText, const QString &lengthText, DumpView &dump);
// "写入": one 32-bit word.
void WriteWord(OperationEnv &env, const QString &addressText, const QString &dataText);
// "从文件写入": a whole file, to the address of the read address field.
void WriteFromFile(OperationEnv &env, const QString &readAddressText);

// One unit of 1, 2 or 4 bytes (the value's low bytes, little-endian) through
// the same preface, address checks and link as "写入"; a whole word must be
// aligned as there. Over a link that writes whole words only, a narrower
// unit is merged into the word read from the chip in the same cycle. True
// when it was written; otherwise its one message was shown.
bool WriteUnit(OperationEnv &env, uint32_t address, uint32_t size, uint32_t value);

} // namespace MemoryOps

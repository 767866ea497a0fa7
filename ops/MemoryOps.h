#pragma once

#include "ops/Operation.h"

#include <QString>

#include <cstdint>
#include <optional>

// The control panel's memory buttons. Each runs one link cycle and shows at
// most one message that ends it (the length caps are notes and go on). They
// take numbers: the panel and corvane-cli read their texts first
// (MemoryFields).
namespace MemoryOps {

inline constexpr uint32_t kDumpCap = 1024;
inline constexpr uint32_t kFileCap = 8 * 1024 * 1024;
inline constexpr uint32_t kChunkSize = 4096;

// How an operation ended; what it showed is in the result too.
enum class Outcome {
    Done,
    Offline,    // the data source reaches no target
    Refused,    // an input check (address, length, data, the chip table, no file chosen)
    LinkFailed, // the link would not open, or a transfer over it failed
    FileFailed, // the local file would not open, take or give its bytes
    Stopped,    // asked to end between two chunks
};

// The one failure an operation showed, as it was shown: its message, the
// system's reason where it gave one, and the address it failed at where
// there is one (the address checked, the first refused byte, the chunk the
// link failed on).
struct Result
{
    Outcome outcome = Outcome::Done;
    QString message;
    QString reason;
    std::optional<uint32_t> failingAddress;

    bool Succeeded() const { return outcome == Outcome::Done; }
};

// "读取": up to 1024 bytes into the hex dump field.
Result Read(OperationEnv &env, uint32_t address, uint32_t length, DumpView &dump);
// "读取到文件": up to 8 MiB into a file chosen by the user.
Result ReadToFile(OperationEnv &env, uint32_t address, uint32_t length, DumpView &dump);
// "写入": one 32-bit word; no word when the data field is empty.
Result WriteWord(OperationEnv &env, uint32_t address, std::optional<uint32_t> word);
// "从文件写入": a whole file, to the address of the read address field.
Result WriteFromFile(OperationEnv &env, uint32_t address);

// One unit of 1, 2 or 4 bytes (the value's low bytes, little-endian) through
// the same preface, address checks and link as "写入"; a whole word must be
// aligned as there. Over a link that writes whole words only, a narrower
// unit is merged into the word read from the chip in the same cycle.
Result WriteUnit(OperationEnv &env, uint32_t address, uint32_t size, uint32_t value);

} // namespace MemoryOps

#pragma once

#include "link/ConfigFile.h"
#include "link/TargetLinks.h"
#include "memview/ReadRules.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

// Finding a byte sequence or a 32-bit value in a stretch of target memory.
namespace MemoryFind {

struct Pattern
{
    QByteArray bytes;
    uint32_t alignment = 1; // a match starts at a multiple of it
};

// Pairs of hex digits, blanks and "0x" between them allowed: "DE AD BE EF",
// "deadbeef". Nothing for an odd count of digits or another character.
std::optional<Pattern> ParseBytes(const QString &text);
// A 32-bit value in hex, looked for as the chip stores it (little-endian)
// at word addresses.
std::optional<Pattern> ParseWord(const QString &text);

// The pattern over bytes fed in address order. Bytes that do not follow
// the previous ones (a stretch the rules leave out lay between) start anew.
class Matcher
{
public:
    explicit Matcher(Pattern pattern);
    // The address of the first match ending within these bytes.
    std::optional<uint32_t> Feed(uint32_t address, const char *bytes, uint32_t count);

private:
    Pattern m_pattern;
    QByteArray m_tail; // the last bytes fed, fewer than the pattern
    uint64_t m_tailEnd = 0;
};

struct Request
{
    Pattern pattern;
    uint32_t first = 0;
    uint64_t length = 0; // to the top of the address space at most
};

struct Result
{
    std::optional<uint32_t> found;
    bool cancelled = false;
    QString failure; // the link's message when a read failed
    uint64_t searched = 0;
};

// Bytes read per link cycle: between cycles the links are free for the
// view's own reads and writes.
inline constexpr uint32_t kCycleBytes = 64 * 1024;

// Reads the stretch in transfers as long as the transfer buffer takes,
// skipping what the rules leave out, in link cycles of the background turn.
// After each transfer `progress` learns the bytes done of the total and
// `cancel` is looked at.
Result Run(const ConfigFile &config, TargetLinks &links, const ReadRules &rules, const Request &request,
           const std::function<void(uint64_t done, uint64_t total)> &progress, const std::atomic<bool> &cancel);

} // namespace MemoryFind

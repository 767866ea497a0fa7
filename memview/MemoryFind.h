#pragma once

#include "link/ConfigFile.h"
#include "link/TargetLinks.h"
#include "memview/ReadRules.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <chrono>
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

// How long one transfer of a find may take: a cancel is looked at between
// two, so it acts within about this time whatever the link's speed. The
// first transfer is short; each next one is as long as the speed seen so far
// lets it be, up to the transfer buffer.
class TransferPace
{
public:
    static constexpr std::chrono::milliseconds kAim{200};
    static constexpr uint32_t kFirst = 1024;
    static constexpr uint32_t kLeast = 256;

    uint32_t Bytes() const; // a multiple of 4
    void Took(uint32_t bytes, std::chrono::steady_clock::duration time);

private:
    uint32_t m_bytes = kFirst;
};

// Reads the stretch in transfers paced as above, skipping what the rules
// leave out, in link cycles of the background turn. After each transfer
// `progress` learns the bytes done of the total and `stopped` is asked (it
// may be empty); a stop also ends a wait for the link.
Result Run(const ConfigFile &config, TargetLinks &links, const ReadRules &rules, const Request &request,
           const std::function<void(uint64_t done, uint64_t total)> &progress, const std::function<bool()> &stopped);
inline Result Run(const ConfigFile &config, TargetLinks &links, const ReadRules &rules, const Request &request,
                  const std::function<void(uint64_t done, uint64_t total)> &progress, const std::atomic<bool> &cancel)
{
    return Run(config, links, rules, request, progress, std::function<bool()>([&cancel] { return cancel.load(); }));
}

} // namespace MemoryFind

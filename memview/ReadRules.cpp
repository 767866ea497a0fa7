#include "memview/ReadRules.h"

#include "link/ChipProfile.h"

#include <algorithm>

namespace {

constexpr uint64_t kMapBlock = 0x10000;

} // namespace

ReadRules::ReadRules(QString chipModel, std::vector<uint32_t> leftOutWords)
    : m_chipModel(std::move(chipModel))
    , m_leftOutWords(std::move(leftOutWords))
{
    for (uint32_t &word : m_leftOutWords)
        word &= ~3u;
    std::sort(m_leftOutWords.begin(), m_leftOutWords.end());
    m_leftOutWords.erase(std::unique(m_leftOutWords.begin(), m_leftOutWords.end()), m_leftOutWords.end());
}

bool ReadRules::IsLeftOut(uint32_t address) const
{
    return std::binary_search(m_leftOutWords.begin(), m_leftOutWords.end(), address & ~3u);
}

ByteState ReadRules::Fixed(uint32_t address) const
{
    if (ChipProfile::CheckReadAddress(m_chipModel, address))
        return ByteState::Refused;
    return IsLeftOut(address) ? ByteState::LeftOut : ByteState::Unread;
}

bool ReadRules::Writable(uint32_t address) const
{
    return !ChipProfile::CheckWriteAddress(m_chipModel, address);
}

std::vector<AddressRun> ReadRules::Runs(uint32_t first, uint64_t count, uint32_t longest) const
{
    std::vector<AddressRun> runs;
    longest &= ~3u;
    if (count == 0 || longest == 0)
        return runs;
    // Whole words: the stretch grows to its words' bounds, within the space.
    const uint64_t start = first & ~3u;
    const uint64_t end = std::min(kSpaceSize, (uint64_t(first) + count + 3) & ~uint64_t(3));
    const std::vector<ChipProfile::RefusedWindow> refused = ChipProfile::RefusedReads(m_chipModel);
    // Cut points: the refused windows' bounds and the left-out words.
    uint64_t at = start;
    while (at < end) {
        // Skip what may not be read.
        bool skipped = false;
        for (const ChipProfile::RefusedWindow &window : refused) {
            if (at >= window.first && at <= window.last) {
                at = uint64_t(window.last) + 1;
                skipped = true;
            }
        }
        if (skipped)
            continue;
        if (IsLeftOut(uint32_t(at))) {
            at += 4;
            continue;
        }
        // Read up to the next thing that may not be.
        uint64_t stop = end;
        for (const ChipProfile::RefusedWindow &window : refused)
            if (window.first > at)
                stop = std::min<uint64_t>(stop, window.first);
        const auto next = std::upper_bound(m_leftOutWords.begin(), m_leftOutWords.end(), uint32_t(at));
        if (next != m_leftOutWords.end())
            stop = std::min<uint64_t>(stop, *next);
        stop = std::min<uint64_t>(stop, at + longest);
        // Nor across a 64 KiB bound: the UART link's bus view moves whole
        // 64 KiB blocks apart, so one transfer over a bound could read two
        // places that do not follow each other.
        stop = std::min<uint64_t>(stop, (at | (kMapBlock - 1)) + 1);
        runs.push_back({uint32_t(at), uint32_t(stop - at)});
        at = stop;
    }
    return runs;
}

#pragma once

#include "memview/MemoryBlock.h"

#include <QString>

#include <cstdint>
#include <vector>

// What a read of memory may touch for a chip model: never the windows the
// chip table refuses to reads, never the words of registers whose reading
// changes the chip.
class ReadRules
{
public:
    static constexpr uint64_t kSpaceSize = uint64_t(1) << 32;

    ReadRules() = default;
    ReadRules(QString chipModel, std::vector<uint32_t> leftOutWords);

    const QString &ChipModel() const { return m_chipModel; }
    const std::vector<uint32_t> &LeftOutWords() const { return m_leftOutWords; }

    // The state a byte has before any read: Refused, LeftOut or Unread.
    ByteState Fixed(uint32_t address) const;
    // The stretches of [first, first + count) a read reaches, whole words
    // each (the links move words), none longer than `longest` bytes nor
    // across a bound of 64 KiB. Count runs to the top of the address space
    // at most.
    std::vector<AddressRun> Runs(uint32_t first, uint64_t count, uint32_t longest) const;
    // Whether a write reaches the address by the chip table.
    bool Writable(uint32_t address) const;
    // Whether the address lies in a word never read.
    bool IsLeftOut(uint32_t address) const;

private:
    QString m_chipModel;
    std::vector<uint32_t> m_leftOutWords; // sorted, word addresses
};

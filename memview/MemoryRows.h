#pragma once

#include "memview/MemoryBlock.h"
#include "memview/ReadRules.h"

#include <cstdint>

class LinkCycle;

// Reads of the rows a view shows: what the rules let a read reach, in
// transfers as long as the transfer buffer takes; the rest keeps its state.
namespace MemoryRows {

// A block of `count` bytes from `first` (to the top of the address space at
// most), Refused and LeftOut where the rules say, Unread elsewhere.
MemoryBlock Planned(const ReadRules &rules, uint32_t first, uint32_t count);

// Reads the block's Unread and Reading bytes on the open cycle. A failed
// transfer has shown its message and closed the link: that transfer's bytes
// and every later one's are Failed, and false comes back.
bool Read(LinkCycle &cycle, const ReadRules &rules, MemoryBlock &block);

// The whole cycle for a block: preface, open, the reads, close, on a cycle
// made by the caller (its user takes the messages, its turn is the
// caller's). Nothing to read leaves the link untouched.
MemoryBlock ReadCycle(LinkCycle &cycle, const ReadRules &rules, uint32_t first, uint32_t count);
// The same for a block some of whose bytes are held already: only its
// Unread and Reading bytes are read. False when a message was shown.
bool ReadCycle(LinkCycle &cycle, const ReadRules &rules, MemoryBlock &block);

} // namespace MemoryRows

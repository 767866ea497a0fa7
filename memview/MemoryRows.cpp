#include "memview/MemoryRows.h"

#include "link/LinkCycle.h"

#include <algorithm>
#include <cstring>

namespace MemoryRows {

namespace {

bool Pending(ByteState state)
{
    return state == ByteState::Unread || state == ByteState::Reading;
}

} // namespace

MemoryBlock Planned(const ReadRules &rules, uint32_t first, uint32_t count)
{
    MemoryBlock block;
    block.first = first;
    const auto size = uint32_t(std::min<uint64_t>(count, ReadRules::kSpaceSize - first));
    block.bytes = QByteArray(qsizetype(size), '\0');
    block.states.assign(size, ByteState::Unread);
    // The refused windows and left-out words, by the runs between them.
    std::fill(block.states.begin(), block.states.end(), ByteState::Refused);
    for (const AddressRun &run : rules.Runs(first, size, 0xFFFFFFFCu)) {
        const uint64_t from = std::max<uint64_t>(run.first, first);
        const uint64_t to = std::min<uint64_t>(run.End(), uint64_t(first) + size);
        for (uint64_t a = from; a < to; ++a)
            block.states[a - first] = ByteState::Unread;
    }
    for (uint32_t i = 0; i < size; ++i)
        if (block.states[i] == ByteState::Refused && rules.IsLeftOut(first + i))
            block.states[i] = ByteState::LeftOut;
    return block;
}

bool Read(LinkCycle &cycle, const ReadRules &rules, MemoryBlock &block)
{
    const uint32_t size = block.Size();
    if (size == 0)
        return true;
    const uint64_t blockEnd = uint64_t(block.first) + size;
    const auto *buffer = reinterpret_cast<const char *>(cycle.Buffer().data());
    bool failed = false;
    for (const AddressRun &run : rules.Runs(block.first, size, TransferBuffer::kSize)) {
        // Only what the block still waits for; a run the view holds already stays as it is.
        const uint64_t from = std::max<uint64_t>(run.first, block.first);
        const uint64_t to = std::min<uint64_t>(run.End(), blockEnd);
        bool wanted = false;
        for (uint64_t a = from; a < to && !wanted; ++a)
            wanted = Pending(block.states[a - block.first]);
        if (!wanted)
            continue;
        if (!failed && !cycle.Read(run.first, run.length))
            failed = true;
        for (uint64_t a = from; a < to; ++a) {
            ByteState &state = block.states[a - block.first];
            if (!Pending(state))
                continue;
            if (failed) {
                state = ByteState::Failed;
            } else {
                block.bytes[qsizetype(a - block.first)] = buffer[a - run.first];
                state = ByteState::Value;
            }
        }
    }
    return !failed;
}

MemoryBlock ReadCycle(LinkCycle &cycle, const ReadRules &rules, uint32_t first, uint32_t count)
{
    MemoryBlock block = Planned(rules, first, count);
    ReadCycle(cycle, rules, block);
    return block;
}

bool ReadCycle(LinkCycle &cycle, const ReadRules &rules, MemoryBlock &block)
{
    if (std::none_of(block.states.begin(), block.states.end(), Pending))
        return true;
    if (!cycle.Preface() || !cycle.Open()) {
        for (ByteState &state : block.states)
            if (Pending(state))
                state = ByteState::Failed;
        return false;
    }
    if (!Read(cycle, rules, block))
        return false;
    cycle.Close();
    return true;
}

} // namespace MemoryRows

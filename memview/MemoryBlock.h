#pragma once

#include <QByteArray>

#include <cstdint>
#include <vector>

// What is known of one byte of target memory.
enum class ByteState : uint8_t {
    Unread,  // not read yet
    Reading, // a read of it is on its way
    Value,   // read: the byte holds what the chip had
    Refused, // in a window the chip table refuses to reads: never read
    LeftOut, // in a register whose reading changes the chip: never read
    Failed,  // its read failed
};

// A stretch of addresses; `length` may reach the top of the address space.
struct AddressRun
{
    uint32_t first = 0;
    uint32_t length = 0;

    uint64_t End() const { return uint64_t(first) + length; }
    bool operator==(const AddressRun &) const = default;
};

// Bytes of target memory from `first` on, each with its state; a byte's
// value counts only where its state is Value.
struct MemoryBlock
{
    uint32_t first = 0;
    QByteArray bytes;
    std::vector<ByteState> states;

    uint32_t Size() const { return uint32_t(bytes.size()); }
};

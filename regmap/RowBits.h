#pragma once

#include "regmap/RegisterRow.h"

#include <algorithm>
#include <cstdint>

// Where a register's value lies, from its traits: its width and the bytes of
// its word it takes. The arithmetic of a row's bits, apart from its texts.
struct RegisterBits
{
    uint32_t bits = 32;  // the SVD's size (0 stands for 32)
    uint32_t offset = 0; // the register's address offset

    static RegisterBits Of(const RegisterRowTraits &traits) { return {traits.bits, traits.offset}; }

    // The bits the value holds: its width, at most 64 (32 for a width of 0).
    constexpr uint32_t ValueBits() const { return bits == 0 ? 32 : std::min<uint32_t>(bits, 64); }
    constexpr uint64_t Mask() const { return ValueBits() >= 64 ? ~uint64_t(0) : (uint64_t(1) << ValueBits()) - 1u; }
    // Where a narrow register starts in its word: the bytes from its offset
    // within the word. A register of 32 bits or more starts its word.
    constexpr uint32_t Shift() const { return ValueBits() >= 32 ? 0u : (offset & 3u) * 8u; }
    // The bits of its words the register occupies (the low word first).
    constexpr uint64_t InWords() const { return Mask() << Shift(); }
    // How many words from its word offset the value takes (2 for 64 bits).
    constexpr uint32_t Words() const { return (ValueBits() + 31) / 32; }
};

// A field's bits in its register's value.
struct FieldSpan
{
    uint32_t low = 0;
    uint32_t width = 1;

    static FieldSpan Of(const RegisterRowTraits &traits) { return {traits.low, traits.width}; }

    // The field's bits from bit 0.
    constexpr uint64_t Mask() const { return width >= 64 ? ~uint64_t(0) : (uint64_t(1) << width) - 1u; }
    // The field's value in a register value; bits past 64 read as zero.
    constexpr uint64_t ValueIn(uint64_t value) const { return low >= 64 ? 0 : (value >> low) & Mask(); }
};

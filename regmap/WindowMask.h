#pragma once

#include "regmap/RegisterWindowTable.h"

// The register windows that show a peripheral: bit k for window slot k, kept
// as the peripheral's value in its chip's section of the configuration file.
class WindowMask
{
public:
    constexpr explicit WindowMask(int bits = 0)
        : m_bits(bits)
    {}

    constexpr int Bits() const { return m_bits; }
    constexpr bool IsEmpty() const { return m_bits == 0; }
    constexpr bool Has(int slot) const { return InRange(slot) && (m_bits & Bit(slot)) != 0; }
    constexpr WindowMask With(int slot) const { return WindowMask(InRange(slot) ? m_bits | Bit(slot) : m_bits); }
    constexpr WindowMask Without(int slot) const { return WindowMask(InRange(slot) ? m_bits & ~Bit(slot) : m_bits); }

private:
    static constexpr bool InRange(int slot) { return slot >= 0 && slot < RegisterWindowTable::kSlots; }
    static constexpr int Bit(int slot) { return 1 << slot; }

    int m_bits;
};

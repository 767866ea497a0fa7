#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// The one data area every target transfer passes through: both links read
// into it and write from it, and nothing clears it between operations.
class TransferBuffer
{
public:
    static constexpr std::size_t kSize = 16384;

    uint8_t *data() { return m_bytes.data(); }
    const uint8_t *data() const { return m_bytes.data(); }
    uint8_t &operator[](std::size_t i) { return m_bytes[i]; }
    uint8_t operator[](std::size_t i) const { return m_bytes[i]; }

    // 32-bit little-endian word at byte offset `offset`.
    uint32_t Word(std::size_t offset) const
    {
        return uint32_t(m_bytes[offset]) | uint32_t(m_bytes[offset + 1]) << 8 | uint32_t(m_bytes[offset + 2]) << 16 |
               uint32_t(m_bytes[offset + 3]) << 24;
    }
    void SetWord(std::size_t offset, uint32_t value)
    {
        for (int i = 0; i < 4; ++i)
            m_bytes[offset + i] = uint8_t(value >> (8 * i));
    }

private:
    std::array<uint8_t, kSize> m_bytes{};
};

#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <unordered_map>

// Byte-addressed memory over the whole 32-bit space, kept in 4 KiB pages
// that come into being when first written. Unwritten bytes read as zero;
// addresses wrap at 4 GiB.
class SparseMemory
{
public:
    void Read(uint32_t address, uint8_t *into, int count) const;
    void Write(uint32_t address, const uint8_t *from, int count);
    void Clear() { m_pages.clear(); }

private:
    static constexpr uint32_t kPageSize = 4096;
    using Page = std::array<uint8_t, kPageSize>;

    std::unordered_map<uint32_t, std::unique_ptr<Page>> m_pages;
};

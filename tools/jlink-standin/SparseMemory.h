#pragma once

#include <cstdint>
#include <map>
#include <string>

// Simulated target memory: any 32-bit address, untouched bytes read as zero.
// Kept as little-endian words so the memory file lists one word per line.
class SparseMemory
{
public:
    void Clear() { m_words.clear(); }

    // The caller keeps address + count within the 32-bit space.
    void Read(uint32_t address, uint32_t count, uint8_t *into) const;
    void Write(uint32_t address, uint32_t count, const uint8_t *from);

    // Text file, one "ADDRESS WORD" hex pair per line, sorted by address.
    // A missing file is an empty memory. Lines that do not parse are
    // reported in `error` and skipped.
    bool LoadFile(const std::string &path, std::string &error);
    // Replaces the file atomically: written beside it, then renamed.
    bool SaveFile(const std::string &path, std::string &error) const;

private:
    uint8_t Byte(uint32_t address) const;
    void SetByte(uint32_t address, uint8_t value);

    std::map<uint32_t, uint32_t> m_words; // word-aligned address -> word
};

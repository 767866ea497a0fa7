#include "SparseMemory.h"

#include <cinttypes>
#include <cstdio>
#include <fstream>

#include <unistd.h>

namespace {

constexpr uint32_t kWordMask = ~uint32_t(3);

unsigned Shift(uint32_t address)
{
    return 8 * (address & 3);
}

} // namespace

uint8_t SparseMemory::Byte(uint32_t address) const
{
    const auto it = m_words.find(address & kWordMask);
    return it == m_words.end() ? 0 : uint8_t(it->second >> Shift(address));
}

void SparseMemory::SetByte(uint32_t address, uint8_t value)
{
    uint32_t &word = m_words[address & kWordMask];
    word = (word & ~(uint32_t(0xFF) << Shift(address))) | uint32_t(value) << Shift(address);
}

void SparseMemory::Read(uint32_t address, uint32_t count, uint8_t *into) const
{
    for (uint32_t i = 0; i < count; ++i)
        into[i] = Byte(address + i);
}

void SparseMemory::Write(uint32_t address, uint32_t count, const uint8_t *from)
{
    for (uint32_t i = 0; i < count; ++i)
        SetByte(address + i, from[i]);
}

bool SparseMemory::LoadFile(const std::string &path, std::string &error)
{
    m_words.clear();
    std::ifstream file(path);
    if (!file)
        return true;
    std::string line;
    int lineNumber = 0;
    bool clean = true;
    while (std::getline(file, line)) {
        ++lineNumber;
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        unsigned long address = 0;
        unsigned long word = 0;
        char rest = 0;
        if (std::sscanf(line.c_str(), "%lx %lx %c", &address, &word, &rest) != 2 || address > 0xFFFFFFFCul ||
            word > 0xFFFFFFFFul) {
            error += path + ":" + std::to_string(lineNumber) + ": not an ADDRESS WORD pair\n";
            clean = false;
            continue;
        }
        uint8_t bytes[4];
        for (int i = 0; i < 4; ++i)
            bytes[i] = uint8_t(word >> (8 * i));
        Write(uint32_t(address), 4, bytes);
    }
    return clean;
}

bool SparseMemory::SaveFile(const std::string &path, std::string &error) const
{
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream file(temporary, std::ios::trunc);
        char line[32];
        for (const auto &[address, word] : m_words) {
            std::snprintf(line, sizeof line, "%08" PRIX32 " %08" PRIX32 "\n", address, word);
            file << line;
        }
        file.flush();
        if (!file) {
            error = "cannot write " + temporary;
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) != 0) {
        error = "cannot replace " + path;
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

#pragma once

#include <QString>

#include <cstdint>

// The texts of the panel's dump field (a number typed into a panel box is
// read by link/NumberInput.h).
namespace HexText {

// "%08X: " lines of sixteen "%02X " bytes as the hex dump field shows them.
QString DumpText(const uint8_t *bytes, uint32_t length, uint32_t address);

// First chunk of a probe read to file as up to sixteen "%08X " words.
QString PreviewText(const uint8_t *bytes, uint32_t chunkSize);

} // namespace HexText

#pragma once

#include <QString>

#include <cstdint>

// How every address, length and data field of the control panel is read:
// always hexadecimal, with or without "0x".
namespace HexText {

inline constexpr int kFieldChars = 38;   // address and length fields
inline constexpr int kDataWordChars = 8; // the data word field

// Scans from the last character towards the first: hex digits add value ×
// weight (weight × 16 after each), blanks are skipped, anything else stops
// the scan. Unsigned 32-bit arithmetic, so digits beyond eight add nothing.
uint32_t ParseHexText(const QString &text, int maxChars = kFieldChars);

// "%08X: " lines of sixteen "%02X " bytes as the hex dump field shows them.
QString DumpText(const uint8_t *bytes, uint32_t length, uint32_t address);

// First chunk of a probe read to file as up to sixteen "%08X " words.
QString PreviewText(const uint8_t *bytes, uint32_t chunkSize);

} // namespace HexText

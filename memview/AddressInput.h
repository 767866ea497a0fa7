#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class ChipAddressMap;

// What an address box takes: a peripheral or register name of the chip's
// SVD file ("TIMER0", "TIMER0.CTRL"), or a hexadecimal address with or
// without "0x" and blanks. A name wins over a number spelt the same ("ADC"
// is the peripheral; 0xADC the number).
namespace AddressInput {

// Nothing for an empty text, a text that is neither a name nor hex digits,
// or a number beyond 32 bits (NumberInput::kAddress).
std::optional<uint32_t> Parse(const QString &text, const ChipAddressMap *map);

} // namespace AddressInput

#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The panel's memory boxes (and corvane-cli's arguments, read the same way)
// as the memory operations take them. Read once, where the text is typed.
namespace MemoryFields {

// An address or a length: hexadecimal, leniently (NumberInput::kPanelField).
uint32_t Number(const QString &text);
// The data word: its first eight characters read as a number; none when the
// field is empty.
std::optional<uint32_t> Word(const QString &text);

} // namespace MemoryFields

#pragma once

#include "memview/MemoryBlock.h"

#include <QChar>
#include <QString>

#include <cstdint>
#include <optional>

// The units a view shows memory in: 1, 2 or 4 bytes, little-endian as the
// chip, as upper-case hexadecimal; and the typing of a new value over one.
namespace MemoryUnits {

inline constexpr int kSizes[] = {1, 2, 4};
inline constexpr int kRowWidths[] = {8, 16, 32};

bool IsSize(int size);
bool IsRowWidth(int bytes);

// The unit's value when all its bytes hold one.
std::optional<uint32_t> Value(const uint8_t *bytes, const ByteState *states, int size);
// Two digits per byte; a unit not wholly read shows the mark of the first
// byte it lacks, twice per byte: "--" refused by the chip table, "~~" never
// read (reading changes the chip), "??" its read failed, ".." not read yet.
QString Text(const uint8_t *bytes, const ByteState *states, int size);
// The mark of one digit for a byte in this state; a digit for Value is no mark.
QChar Mark(ByteState state);
// The ASCII column's character: printable ASCII as itself, other values
// as ".", bytes without a value as a blank.
QChar Ascii(uint8_t byte, ByteState state);
// Upper-case digits of a value of `size` bytes.
QString Hex(uint32_t value, int size);

// Hex digits typed over a unit, most significant first. The digits not
// typed yet keep the unit's value from before.
class UnitEdit
{
public:
    UnitEdit(uint32_t address, int size, uint32_t before);

    uint32_t Address() const { return m_address; }
    int Size() const { return m_size; }
    uint32_t Before() const { return m_before; }
    int Typed() const { return m_typed; }
    // False for anything but a hex digit, or when every digit is typed.
    bool Type(QChar digit);
    bool Complete() const { return m_typed == 2 * m_size; }
    // The value with the digits typed so far.
    uint32_t Value() const;
    // What the unit shows while it is typed over.
    QString Text() const { return Hex(Value(), m_size); }

private:
    uint32_t m_address;
    int m_size;
    uint32_t m_before;
    uint32_t m_value;
    int m_typed = 0;
};

} // namespace MemoryUnits

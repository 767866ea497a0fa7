#pragma once

#include "regmap/SvdPeripheral.h"

#include <QString>
#include <QtGlobal>
#include <QStringView>

#include <cstdint>
#include <optional>

// The texts of register window rows, rendered from their numbers (a typed
// number is read by link/NumberInput.h, a row's bits are RowBits.h's).
namespace RowText {

inline constexpr char kValueRowName[] = "VALUE~";
inline constexpr char kValueRowDescription[] = QT_TRANSLATE_NOOP("Corvane", "寄存器数值");
// What stands for a value never read (nor loaded, nor typed).
inline constexpr char kNotRead[] = "—";
inline constexpr char kRightTitle[] = QT_TRANSLATE_NOOP("Corvane", "Value");

// A typed text that names its number in hexadecimal: the row shows it so.
bool HasHexPrefix(QStringView text);

// "0x%08X"
QString Word(uint32_t word);
// "0x%X" and "%u" of any value.
QString Hex(uint64_t value);
QString Decimal(uint64_t value);
// A field's number as the grid writes it: decimal, or in hexadecimal "0x%X"
// ("0x%08X" and wider for a field of 32 bits or more).
QString FieldNumber(uint64_t value, uint32_t width, bool hex);
// A register value in its own width: "0x%02X" for 8 bits, "0x%04X" for 16,
// "0x%08X" for 32, "0x%016X" for 64 (and 32 bits for a width of 0).
QString SizedWord(uint64_t value, uint32_t bits);

// The line a register row's description ends with when reading the register
// changes the chip.
inline constexpr char kReadClearsNote[] =
    QT_TRANSLATE_NOOP("Corvane", "\n(read clears: left out of whole-peripheral reads)");
// " (NAME)" of the first enumerated value equal to `value`, or nothing.
QString EnumSuffix(uint64_t value, const QList<SvdEnumValue> &choices);

// Peripheral row: "0x%08X 0x%08X" of base and span.
QString PeripheralDescription(uint32_t base, uint32_t span);
// Register row: "0x%08X 0x%08X\n%s", without the line feed when the SVD
// description already starts with a line break.
QString RegisterDescription(uint32_t address, uint32_t offset, const QString &description);
// Field row: "[low]\n%s" or "[low-high]\n%s", the same rule for the line feed.
QString FieldDescription(uint32_t bitOffset, uint32_t bitWidth, const QString &description);

// "[low]" or "[low-high]".
QString FieldBits(uint32_t low, uint32_t width);

// The value column of a register caption for a name-column width W.
int BuildColumn(int lastWidth);
int RealignColumn(int width, int dotsPerInch);
// Name, then spaces up to `column` and the value; one space when the name
// reaches the column.
QString Caption(const QString &name, const QString &valueText, int column);
} // namespace RowText

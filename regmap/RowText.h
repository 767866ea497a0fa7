#pragma once

#include "regmap/SvdPeripheral.h"

#include <QString>
#include <QStringView>

#include <cstdint>

// The texts of register window rows, and how numbers are read back out of
// them. The rows are the only register map a window keeps, so every reader
// here must agree with the writer beside it.
namespace RowText {

inline constexpr char kValueRowName[] = "VALUE~";
inline constexpr char kValueRowDescription[] = "寄存器数值";
inline constexpr char kZeroWord[] = "0x00000000";
inline constexpr char kRightTitle[] = "Value";

// The C library's unsigned reading with a 32-bit unsigned long: leading
// white space, an optional sign (a minus wraps), for base 16 an optional
// 0x/0X prefix, digits up to the first other character; no digits give 0, a
// value beyond 32 bits gives 0xFFFFFFFF.
uint32_t ReadUnsigned(QStringView text, int base);
// Hexadecimal when the text contains "0x" or "0X", decimal otherwise.
uint32_t ReadAuto(QStringView text);
bool HasHexPrefix(QStringView text);

// "0x%08X"
QString Word(uint32_t word);
// A register value in its own width: "0x%02X" for 8 bits, "0x%04X" for 16,
// "0x%08X" for 32 (and any width it cannot show otherwise).
QString SizedWord(uint32_t value, uint32_t bits);
// The part of a narrow register's word that is the register: the bytes from
// its offset within the word. A 32-bit register is the whole word.
uint32_t RegisterMask(uint32_t bits);
uint32_t RegisterShift(uint32_t offset, uint32_t bits);

// The line a register row's description ends with when reading the register
// changes the chip.
inline constexpr char kReadClearsNote[] = "\n(read clears: left out of whole-peripheral reads)";
// " (NAME)" of the first enumerated value equal to `value`, or nothing.
QString EnumSuffix(uint32_t value, const QList<SvdEnumValue> &choices);

// Peripheral row: "0x%08X 0x%08X" of base and span.
QString PeripheralDescription(uint32_t base, uint32_t span);
// Register row: "0x%08X 0x%08X\n%s", without the line feed when the SVD
// description already starts with a line break.
QString RegisterDescription(uint32_t address, uint32_t offset, const QString &description);
// Field row: "[low]\n%s" or "[low-high]\n%s", the same rule for the line feed.
QString FieldDescription(uint32_t bitOffset, uint32_t bitWidth, const QString &description);

// Base (or address) from the first ten characters, span (or offset) from
// characters 11 to 20 of a peripheral or register description.
uint32_t FirstNumber(const QString &description);
uint32_t SecondNumber(const QString &description);

struct FieldBits
{
    uint32_t low = 0;
    uint32_t width = 1;
};
FieldBits ReadFieldBits(const QString &description);

// The value column of a register caption for a name-column width W.
int BuildColumn(int lastWidth);
int RealignColumn(int width, int dotsPerInch);
// Name, then spaces up to `column` and the value; one space when the name
// reaches the column.
QString Caption(const QString &name, const QString &valueText, int column);
// Index of the value in a caption (its first "0x"), -1 when there is none.
qsizetype CaptionValueIndex(const QString &caption);
// The ten characters from the first "0x" read as hexadecimal, 0 without one.
uint32_t CaptionValue(const QString &caption);
// The caption up to its first "0x" (all of it when there is none).
QString CaptionPrefix(const QString &caption);

// A field's text for a register word, in the base of the field's current text.
QString DecodeField(uint32_t word, const QString &fieldDescription, const QString &currentText);

} // namespace RowText

#pragma once

#include "regmap/SvdPeripheral.h"

#include <QString>
#include <QtGlobal>
#include <QStringView>

#include <cstdint>
#include <optional>

// The texts of register window rows, rendered from their numbers, and the
// reading of a number the user typed into a row.
namespace RowText {

inline constexpr char kValueRowName[] = "VALUE~";
inline constexpr char kValueRowDescription[] = QT_TRANSLATE_NOOP("Corvane", "寄存器数值");
// What stands for a value never read (nor loaded, nor typed).
inline constexpr char kNotRead[] = "—";
inline constexpr char kRightTitle[] = QT_TRANSLATE_NOOP("Corvane", "Value");

// The C library's unsigned reading with a 32-bit unsigned long: leading
// white space, an optional sign (a minus wraps), for base 16 an optional
// 0x/0X prefix, digits up to the first other character; no digits give 0, a
// value beyond 32 bits gives 0xFFFFFFFF.
uint32_t ReadUnsigned(QStringView text, int base);
bool HasHexPrefix(QStringView text);
// A number the user typed into a row, read in the window's base: "0x"/"0X"
// hexadecimal, "#" or "0b"/"0B" binary, otherwise plain digits in the base.
// Blanks around it and a choice's name after it (" (NAME)", as the drop-down
// offers it) are ignored. Nothing when the text is not wholly such a number;
// a number of any length is one, and one past 64 bits fits no register.
struct TypedNumber
{
    uint64_t value = 0;
    bool tooWide = false; // more than 64 bits: value is meaningless
};
std::optional<TypedNumber> ReadTypedNumber(QStringView text, bool hexBase);
// The same, nothing also for a number past 64 bits.
std::optional<uint64_t> ReadTyped(QStringView text, bool hexBase);

// "0x%08X"
QString Word(uint32_t word);
// "0x%X" and "%u" of any value.
QString Hex(uint64_t value);
QString Decimal(uint64_t value);
// A register value in its own width: "0x%02X" for 8 bits, "0x%04X" for 16,
// "0x%08X" for 32, "0x%016X" for 64 (and 32 bits for a width of 0).
QString SizedWord(uint64_t value, uint32_t bits);
// The bits a register's value holds: its width, at most 64 (32 for a width of 0).
uint32_t ValueBits(uint32_t bits);
uint64_t RegisterMask(uint32_t bits);
// The part of a narrow register's word that is the register: the bytes from
// its offset within the word. A register of 32 bits or more starts its word.
uint32_t RegisterShift(uint32_t offset, uint32_t bits);
// How many words from its word offset a register's value takes (2 for 64 bits).
uint32_t RegisterWords(uint32_t bits);

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
// A field's value in a register value; bits past 64 read as zero.
uint64_t FieldValue(uint64_t value, uint32_t low, uint32_t width);
uint64_t FieldMask(uint32_t width);

// The value column of a register caption for a name-column width W.
int BuildColumn(int lastWidth);
int RealignColumn(int width, int dotsPerInch);
// Name, then spaces up to `column` and the value; one space when the name
// reaches the column.
QString Caption(const QString &name, const QString &valueText, int column);
} // namespace RowText

#pragma once

#include <QStringView>

#include <cstdint>
#include <optional>

// How a number a person typed is read, in every box that takes one: register
// values and fields, the panel's boxes, the memory window's address and
// length, find's word and corvane-cli's arguments. Each box names its form:
// the base of plain digits, the width a value may take, what may stand
// around the digits, and whether the text must be wholly the number.
namespace NumberInput {

enum class Reading {
    // The text, blanks around it aside, is one number and nothing else.
    Whole,
    // The panel's address, length and data boxes, as stored habits have them:
    // the digits at the end of the text, blanks between them skipped,
    // whatever stands before ignored ("0x10" and "zz10" both read 0x10, "10zz"
    // reads 0); the value keeps its low `bits` (the last eight hex digits).
    // Never nothing.
    Trailing,
    // The panel's probe box, as the C library reads an unsigned number: blanks
    // before, an optional sign (a minus wraps), for base 16 an optional
    // "0x"; digits up to the first other character; no digits read 0, a value
    // past `bits` reads as all ones. Never nothing.
    Leading,
};

struct Form
{
    int base = 16;               // of digits without a prefix: 2 to 16
    uint32_t bits = 32;          // a value past this many bits is too wide (up to 64)
    bool binaryPrefixes = false; // "0b"/"0B" and "#" mark binary digits
    bool blanksBetween = false;  // blanks between the digits are skipped ("2000 1000")
    bool nameAfter = false;      // " (NAME)" after the number is left aside
    Reading reading = Reading::Whole;
    int boxChars = 0; // only the box's first characters count (0: all)
};

// An address or length of the memory window and corvane-cli, find's word:
// hexadecimal with or without "0x", blanks between digits, 32 bits.
inline constexpr Form kAddress{16, 32, false, true};
// A register row's value or field: in the window's base, "0x" hexadecimal,
// "0b" or "#" binary, up to 64 bits, a choice's " (NAME)" after it aside.
constexpr Form RegisterValue(bool hexBase)
{
    return Form{hexBase ? 16 : 10, 64, true, false, true};
}
// The panel's address and length boxes and its data word box.
inline constexpr int kPanelFieldChars = 38;
inline constexpr int kPanelWordChars = 8;
inline constexpr Form kPanelField{16, 32, false, true, false, Reading::Trailing, kPanelFieldChars};
inline constexpr Form kPanelWord{16, 32, false, true, false, Reading::Trailing, kPanelWordChars};
// The panel's probe serial number.
inline constexpr Form kProbeSerial{10, 32, false, false, false, Reading::Leading};

struct Number
{
    uint64_t value = 0;
    bool tooWide = false; // wider than the form's bits: value is meaningless
};

// Nothing when the text is no number of the form (Reading::Whole only). A
// number of any length is one: digits past the width are still read, to
// tell a number too wide from a text that is none.
std::optional<Number> Read(QStringView text, const Form &form);
// The same, nothing also for a number too wide.
std::optional<uint64_t> Value(QStringView text, const Form &form);
// A lenient form's value (Trailing or Leading: never nothing).
uint64_t Lenient(QStringView text, const Form &form);

} // namespace NumberInput

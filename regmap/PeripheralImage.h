#pragma once

#include "regmap/RegisterRow.h"
#include "regmap/RegisterRowTree.h"

#include <QByteArray>

#include <cstdint>
#include <optional>
#include <vector>

class LinkCycle;

// A peripheral's bytes (the image of its address range, the byte at its base
// first, as a snapshot file holds it) and how its register rows map onto
// them. Every path between rows and bytes goes through here: reading the
// chip, filling rows from a file or a watch, saving and writing rows.
namespace PeripheralImage {

// Words (by index from the base) a whole-peripheral read leaves out: those
// of registers whose reading changes the chip, and those the chip table
// refuses to read.
std::vector<bool> LeftOutWords(const RegisterRow &peripheral);
// Why the chip table refuses to read a register's word, or nothing.
std::optional<QString> ReadRefusal(const RegisterRow &reg);
// Whether reading the register's word changes the chip (its own reading or
// that of another register in the same word).
bool WordReadChangesChip(const RegisterRow &reg);

// A stretch of the image read in one transfer.
struct Run
{
    uint32_t offset = 0;
    uint32_t length = 0;
};
// The runs of words between the left-out ones, covering the span.
std::vector<Run> ReadRuns(uint32_t span, const std::vector<bool> &leftOut);

// Reads the span from the chip into `image` (span bytes long) on the open
// cycle, one transfer per run; left-out words keep what the image held.
// False once the cycle has reported a failed read.
bool Read(LinkCycle &cycle, uint32_t base, uint32_t span, const std::vector<bool> &leftOut, QByteArray &image);

// The little-endian word at `offset`; bytes beyond the image read as zero,
// as a snapshot load fills them.
uint32_t Word(const QByteArray &image, uint32_t offset);
// The same of `bytes` bytes (at most 8).
uint64_t Bytes(const QByteArray &image, uint32_t offset, uint32_t bytes);
// Byte offset of a register's word in the image.
uint32_t WordOffset(const RegisterRow &reg);
// The bytes from its word offset that hold a register: its word for a
// narrow one, its whole width for a wider one (8 for 64 bits).
uint32_t ValueBytes(const RegisterRow &reg);
// The register's words as one number, little-endian from its word offset.
uint64_t RegisterWords(const RegisterRow &reg, const QByteArray &image);
// The part of its words that is the register (a narrow register's bytes).
uint64_t RegisterValue(const RegisterRow &reg, uint64_t words);

// The register's rows from its words: its value, the value row and every
// field, and where the words came from.
void FillRegister(RegisterRowTree &tree, RegisterRow *reg, uint64_t words, const ValueSource &source);
// The field rows of a register from its value, each in the base it shows.
void FillFields(RegisterRowTree &tree, RegisterRow *reg, uint64_t value);
// A field's value in the form it is shown in after a fill.
NumberForm FieldForm(const RegisterRow &field);

enum class Registers { All, LeaveLeftOut };
// Every register of the peripheral that the image holds wholly (never one
// the chip table refuses to read, from the chip); with LeaveLeftOut the rows
// of registers a whole read leaves out keep what they show, and registers
// that already show their word are left alone (a view redraws only changes).
void Fill(RegisterRowTree &tree, RegisterRow *peripheral, const QByteArray &image, const ValueSource &source,
          Registers which = Registers::All);

// The image of the rows over `around` (span bytes: what lies between the
// registers): each register's value at its offset, a narrow register merged
// into its word with the bytes it last had there.
QByteArray Of(const RegisterRow &peripheral, const QByteArray &around);
// Which words of the span (by index from the base) a register's rows give:
// every word of every register, two for a 64-bit one.
std::vector<bool> CoveredWords(const RegisterRow &peripheral);
// The end of the highest register word, for the check against the transfer buffer.
uint32_t HighestWordEnd(const RegisterRow &peripheral);

} // namespace PeripheralImage

#pragma once

#include "regmap/RegisterRow.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

// The numbers a row shows, read back out of its texts the way the window
// itself reads them, for the features that compare, mark, find and export
// what a window shows.
namespace RowValues {

// A register row's name: its caption up to the first space.
QString RegisterName(const RegisterRow &reg);
// The text a person searches in: a register's name, any other row's name.
QString ShownName(const RegisterRow &row);
// The description without the numbers the window keeps in front of it
// (address and offset of a register, bit range of a field); empty for a
// peripheral, whose description holds numbers only.
QString DescriptionText(const RegisterRow &row);

// Register: its caption's value; value and field rows: their text.
uint32_t Number(const RegisterRow &row);
uint32_t RegisterAddress(const RegisterRow &reg);
// Byte offset of the register's word in its peripheral's image.
uint32_t WordOffset(const RegisterRow &reg);
// The little-endian word at `offset` of an image; bytes beyond it read as
// zero, as a snapshot load fills them.
uint32_t ImageWord(const QByteArray &image, uint32_t offset);
// A field row's text for a register word, in the base the row shows now.
QString FieldText(const RegisterRow &field, uint32_t word);
// "[low]" or "[low-high]".
QString FieldBitsText(const RegisterRow &field);

} // namespace RowValues

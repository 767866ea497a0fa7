#pragma once

#include "memview/MemoryBlock.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>

class ChipAddressMap;

// A memory view as text, for scripts: the rows a memory window shows.
namespace MemoryText {

// The rows of `rowWidth` bytes from the block's first byte on: "%08X: ",
// the units (as MemoryUnits::Text shows them) each followed by a blank, a
// blank, the ASCII column, and, where registers of the map begin in the
// row, two blanks and their names. Units past the block's end are blanks.
QStringList Rows(const MemoryBlock &block, int rowWidth, int unit, const ChipAddressMap *map);

// The same rows as one JSON document: {"address", "length", "unit",
// "rows": [{"address", "units" (hex texts, null where not read), "ascii",
// "registers"}]}; addresses as eight hex digits.
QByteArray Json(const MemoryBlock &block, int rowWidth, int unit, const ChipAddressMap *map);

} // namespace MemoryText

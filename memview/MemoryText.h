#pragma once

#include "memview/ChipAddressMap.h"
#include "memview/MemoryBlock.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// A memory view as text, for scripts: the rows a memory window shows.
namespace MemoryText {

// A register named beside the row its first byte lies in.
struct RowRegister
{
    const ChipAddressMap::Register *reg;
    QString text;
};
// The registers whose first byte lies in [rowAddress, rowAddress + count),
// by address, each peripheral named once before its first register of the
// row: "TIMER.CR SR ODD" (the whole names run off a window). A register
// (or peripheral) the SVD file cannot describe, never read, says so:
// "FIFO.CTRL [SVD unreadable: not read]".
std::vector<RowRegister> RowRegisters(const ChipAddressMap &map, uint32_t rowAddress, uint32_t count);

// The rows of `rowWidth` bytes from the block's first byte on: "%08X: ",
// the units (as MemoryUnits::Text shows them) each followed by a blank, a
// blank, the ASCII column, and, where registers of the map begin in the
// row, two blanks and their names as RowRegisters gives them. Units past
// the block's end are blanks.
QStringList Rows(const MemoryBlock &block, int rowWidth, int unit, const ChipAddressMap *map);

// The same rows as one JSON document: {"address", "length", "unit",
// "rows": [{"address", "units" (hex texts, null where not read), "ascii",
// "registers" (whole names)}]}; addresses as eight hex digits.
QByteArray Json(const MemoryBlock &block, int rowWidth, int unit, const ChipAddressMap *map);

} // namespace MemoryText

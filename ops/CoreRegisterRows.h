#pragma once

#include "link/CoreRegisters.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// The core registers as rows of a grid: one per register, in the order they
// are shown, with xPSR's and CONTROL's fields decoded as children. Pure
// logic; the texts are rendered from the typed values each time they are
// asked for, in the base the user chose at that moment.
namespace CoreRegisterRows {

// Where a row's value stands.
enum class State {
    NotRead,  // nothing read yet, or the last read failed: nothing shown
    Read,     // value holds what the link gave
    NotGiven, // the link answered without it (a GDB server lacking it)
};

struct Row
{
    QString name;
    State state = State::NotRead;
    uint32_t value = 0;
    int bits = 32;                  // the value's width: a field's, or 8 for a packed byte
    QString meaning;                // a field's value in words; empty for a register
    bool writable = false;          // a register the user may write (R0-R12, SP, PC, xPSR)
    std::optional<CoreRegister> id; // absent for a field
    std::vector<Row> fields;
};

// The rows of `shown` with the values read; `read` false: nothing was read
// (every row NotRead). A register absent from `values` after a read is NotGiven.
std::vector<Row> Build(const std::vector<CoreRegister> &shown, const CoreRegisterValues &values, bool read);

// Hexadecimal as 0x and the width's digits,
// decimal as the plain number.
QString ValueText(const Row &row, bool hex);

// A value the user typed: hexadecimal with 0x (or any text in the hex base),
// else decimal; nothing for anything that is not a 32-bit number.
std::optional<uint32_t> ParseTyped(const QString &text, bool hex);

} // namespace CoreRegisterRows

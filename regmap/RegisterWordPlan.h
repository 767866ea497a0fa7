#pragma once

#include <QString>

#include <cstdint>

class RegisterRow;
struct ValueSource;

// How a write of a register takes its word: the bits the rows give, and
// whether the others are first read from the chip. A register whose other
// bits are neither known from the chip nor readable (its word's reading
// changes the chip, or the chip table refuses it) cannot be written from part
// of its bits: `blocked` says why.
struct RegisterWordPlan
{
    enum class Blocked { No, ReadChangesChip, ReadRefused };
    uint64_t rowsMask = ~uint64_t(0); // over the register's words
    bool readFirst = false;
    Blocked blocked = Blocked::No;
    QString refusal; // ReadRefused: the chip table's message

    static RegisterWordPlan Of(const RegisterRow &reg, const ValueSource &source);
    // The message of a blocked plan for an edit of `edited` (the register,
    // its value row or a field) of `reg`.
    QString Refusal(const RegisterRow &edited, const RegisterRow &reg) const;
    // "REGISTER" or "REGISTER.FIELD", as messages name what was edited.
    static QString EditedName(const RegisterRow &row);
};

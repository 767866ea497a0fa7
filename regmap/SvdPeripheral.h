#pragma once

#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

// The register map of one peripheral as its SVD file describes it, with
// derived elements completed and arrays and clusters expanded.

struct SvdEnumValue
{
    QString name;
    std::uint32_t value = 0;
};

struct SvdField
{
    QString name;
    QString description; // runs of fourteen spaces removed
    std::uint32_t bitOffset = 0;
    std::uint32_t bitWidth = 0;
    QString access; // the field's own, else its register's
    bool readOnly = false;
    // Every enumeratedValues block, in document order. Fields whose values
    // come from the same blocks hold the same implicitly shared list: read
    // it through const access only, so it is never copied.
    QList<SvdEnumValue> enumValues;
};

struct SvdRegister
{
    QString name;        // cluster registers as "CLUSTER.REGISTER"
    QString description; // runs of ten spaces removed
    std::uint32_t addressOffset = 0;
    std::uint32_t address = 0; // base address + offset; never past 0xFFFFFFFF
    std::uint32_t size = 32;   // bits
    // The register properties, from the register, else its base, else the
    // enclosing cluster, peripheral and device, nearest first.
    QString access; // as written (trimmed), "" when no level says
    // None when no level says, or the nearest one's text is no 32-bit number.
    std::optional<std::uint32_t> resetValue;
    std::optional<std::uint32_t> resetMask;
    QString readAction; // the register's own (or its base's), trimmed; "" when none
    bool readOnly = false;
    // Reading the register changes the chip (its own or a field's readAction).
    bool readHasSideEffect = false;
    // Shared between registers with the same fields (the copies of an array,
    // registers derived without fields of their own).
    QList<SvdField> fields;
};

struct SvdPeripheral
{
    QString name;
    std::uint32_t baseAddress = 0;
    // Bytes read, written and stored for the peripheral: the largest register
    // offset plus its size in bytes, at least 4 (4 without registers).
    std::uint32_t span = 4;
    QList<SvdRegister> registers;
};

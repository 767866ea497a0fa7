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
    bool readOnly = false;
    QString access;                 // its own or the register's
    QList<SvdEnumValue> enumValues; // every enumeratedValues block, in document order
};

struct SvdRegister
{
    QString name;        // cluster registers as "CLUSTER.REGISTER"
    QString description; // runs of ten spaces removed
    std::uint32_t addressOffset = 0;
    std::uint32_t address = 0; // base address + offset, modulo 2^32
    std::uint32_t size = 32;   // bits
    bool readOnly = false;
    QString access;                          // as written (trimmed), "" when no level says
    std::optional<std::uint32_t> resetValue; // when some level gives one
    std::optional<std::uint32_t> resetMask;
    QString readAction; // the register's own (trimmed), "" when none
    // Reading the register changes the chip (its own or a field's readAction).
    bool readHasSideEffect = false;
    QList<SvdField> fields;
};

struct SvdPeripheral
{
    QString name;
    std::uint32_t baseAddress = 0;
    // Bytes read, written and stored for the peripheral: the largest register
    // offset plus 4 (4 without registers).
    std::uint32_t span = 4;
    QList<SvdRegister> registers;
};

#pragma once

#include <QList>
#include <QString>

#include <cstdint>

// The register map of one peripheral as its SVD file describes it.

struct SvdField
{
    QString name;
    QString description; // runs of fourteen spaces removed
    std::uint32_t bitOffset = 0;
    std::uint32_t bitWidth = 0;
};

struct SvdRegister
{
    QString name;
    QString description; // runs of ten spaces removed
    std::uint32_t addressOffset = 0;
    std::uint32_t address = 0; // base address + offset, modulo 2^32
    QList<SvdField> fields;
};

struct SvdPeripheral
{
    QString name;
    std::uint32_t baseAddress = 0;
    // Bytes read, written and stored for the peripheral: the offset of the last
    // register in document order plus 4 (not the highest offset).
    std::uint32_t span = 4;
    QList<SvdRegister> registers;
};

#pragma once

#include "ops/FaultReport.h"

#include <QString>

#include <memory>
#include <optional>

// The function and source line of an address in a firmware's ELF file,
// through elfutils (the symbol table for the function, DWARF's line table
// for the file and line).
class FirmwareSymbols
{
public:
    // Nothing, with the reason in `failure`, when the file is no ELF file.
    static std::unique_ptr<FirmwareSymbols> Open(const QString &path, QString *failure);
    ~FirmwareSymbols();
    FirmwareSymbols(const FirmwareSymbols &) = delete;
    FirmwareSymbols &operator=(const FirmwareSymbols &) = delete;

    // Thumb addresses may carry bit 0; a function's symbol covers the address.
    std::optional<FaultReport::SourcePlace> Place(uint32_t address) const;
    // The address of a symbol by name (a function's without its Thumb bit).
    std::optional<uint32_t> SymbolAddress(const QString &name) const;

private:
    FirmwareSymbols() = default;
    struct Handles;
    std::unique_ptr<Handles> m_handles;
};

namespace FaultReport {
// Adds where the stacked PC and LR point. The LR is a return address: its
// call lies just before it, so the place looked up is the byte before.
void AddPlaces(Report &report, const FirmwareSymbols &symbols);
} // namespace FaultReport

#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

// Per-model facts of the VX21 family. A chip model is just the name shown in
// the chip selector; it matches a row only when equal to it, case included.
// Any other name is valid and gets the "other" row: no UART debug link, no
// address window of its own, no watchdog registers.
namespace ChipProfile {

enum class FrameLayout { None, LittleEndian, BigEndian };

inline const QStringList &Models()
{
    static const QStringList models{"VX21A", "VX21B", "VX21C", "VX21D", "VX21E"};
    return models;
}

bool SupportsUartDebug(const QString &model);
FrameLayout UartFrameLayout(const QString &model);

// The message of the first rule the address breaks, or nothing.
std::optional<QString> CheckReadAddress(const QString &model, uint32_t address);
std::optional<QString> CheckWriteAddress(const QString &model, uint32_t address);

// The first address of a transfer's bytes that a check refuses, with the
// message of the rule it breaks. A transfer is checked byte by byte: one
// refused byte refuses it whole.
struct Refusal
{
    uint32_t address;
    QString message;
};
// For the count bytes from first (no further than the top of the address space).
std::optional<Refusal> FirstRefusedRead(const QString &model, uint32_t first, uint64_t count);
std::optional<Refusal> FirstRefusedWrite(const QString &model, uint32_t first, uint64_t count);
// What a refused transfer says: the rule's own text when its first byte is
// refused, else the first refused address before it.
QString RefusalText(const Refusal &refusal, uint32_t first);

// An inclusive stretch of addresses an address check refuses.
struct RefusedWindow
{
    uint32_t first;
    uint32_t last;
};
// The windows the read and the write checks refuse for the model, in the
// order the checks apply them (views that cover many addresses skip them
// whole instead of asking address by address).
std::vector<RefusedWindow> RefusedReads(const QString &model);
std::vector<RefusedWindow> RefusedWrites(const QString &model);

// The three watchdog registers in writing order; empty for unknown models.
std::vector<uint32_t> WatchdogRegisters(const QString &model);

// VX21A sets a bit before its LCPU can be halted.
bool NeedsLcpuHaltPreparation(const QString &model);

} // namespace ChipProfile

#pragma once

#include "ops/CoreOps.h"

#include <QJsonObject>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// What a fault reading says, in plain words: each set bit of the fault
// registers named, the fault addresses where their VALID bit holds, the
// exception being handled, EXC_RETURN and the stacked frame. Pure logic.
namespace FaultReport {

// EXC_RETURN as the core put it in LR at exception entry.
struct ExcReturn
{
    bool secureStack = false;   // S: the frame went to a Secure stack
    bool processStack = false;  // SPSEL: PSP, else MSP
    bool threadMode = false;    // Mode: returns to Thread mode, else Handler mode
    bool standardFrame = true;  // FType: no floating-point state in the frame
    bool calleeStacked = false; // DCRS clear: R4-R11 and the integrity signature come before the frame
    bool toSecure = false;      // ES: the exception was taken to the Secure state

    // "PSP_S", "MSP_NS": the banked stack pointer that holds the frame.
    QString StackName() const;
};

// Nothing when the word is no EXC_RETURN (its top byte is not 0xFF).
std::optional<ExcReturn> DecodeExcReturn(uint32_t lr);

// Bytes from the stack pointer to the frame's R0, and the frame's size in words.
uint32_t FrameOffset(const ExcReturn &excReturn);
int FrameWords(const ExcReturn &excReturn);

// "HardFault", "IRQ 3"; "Thread mode" for 0.
QString ExceptionName(uint32_t ipsr);

// One set bit of a fault register.
struct SetBit
{
    QString part;  // "MMFSR", "BFSR", "UFSR", or the register's name
    QString name;  // "PRECISERR"
    QString words; // "precise data bus error"
};

struct FaultRegister
{
    QString name;
    uint32_t address;
    std::optional<uint32_t> value; // absent: not given
    std::vector<SetBit> bits;
};

struct FaultAddress
{
    QString name;                  // "BFAR"
    QString validBit;              // "BFARVALID"
    std::optional<uint32_t> value; // absent: not given
    bool valid = false;
};

struct SourcePlace
{
    QString function; // empty when no symbol covers the address
    QString file;     // empty when the DWARF lines do not
    int line = 0;
};

struct FrameEntry
{
    QString name; // "R0", "PC", "S15", "FPSCR"
    uint32_t value;
};

struct Report
{
    std::optional<uint32_t> ipsr; // absent: xPSR not given
    std::optional<uint32_t> lr;
    std::optional<ExcReturn> excReturn;
    std::vector<FaultRegister> registers; // CFSR, HFSR, DFSR, AFSR, SFSR
    std::vector<FaultAddress> addresses;  // MMFAR, BFAR, SFAR
    QString frameStack;
    std::optional<uint32_t> frameAddress;
    std::vector<FrameEntry> frame;
    QString frameProblem;
    // With an ELF file: where the stacked PC and LR point.
    std::optional<SourcePlace> pcPlace;
    std::optional<SourcePlace> lrPlace;
};

// The set bits of one register with their words. The stack named by
// STKOF's words is the one the frame went to when known ("" otherwise).
std::vector<SetBit> CfsrBits(uint32_t cfsr, const QString &overflowedStack = QString());
std::vector<SetBit> HfsrBits(uint32_t hfsr);
std::vector<SetBit> DfsrBits(uint32_t dfsr);
std::vector<SetBit> SfsrBits(uint32_t sfsr);
std::vector<SetBit> AfsrBits(uint32_t afsr);

Report Decode(const CoreOps::FaultReading &reading);

// The stacked PC and LR when the frame was read.
std::optional<uint32_t> StackedPc(const Report &report);
std::optional<uint32_t> StackedLr(const Report &report);

QString Text(const Report &report);
QJsonObject Json(const Report &report);

} // namespace FaultReport

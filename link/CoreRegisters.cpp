#include "link/CoreRegisters.h"

#include <array>

namespace CoreRegisters {

namespace {

constexpr CoreRegisterInfo Word(CoreRegister id, const char *name, uint8_t selector, const char *gdbName,
                                bool writable = false)
{
    return {id, name, selector, -1, gdbName, writable};
}

constexpr uint8_t kSpecialSelector = 20; // CONTROL, FAULTMASK, BASEPRI, PRIMASK
constexpr uint8_t kFpscrSelector = 33;
constexpr uint8_t kFirstSingleSelector = 0x40;

std::array<CoreRegisterInfo, 64> MakeTable()
{
    static const char *const kRNames[] = {"R0", "R1", "R2", "R3",  "R4",  "R5", "R6",
                                          "R7", "R8", "R9", "R10", "R11", "R12"};
    static const char *const kRGdb[] = {"r0", "r1", "r2", "r3",  "r4",  "r5", "r6",
                                        "r7", "r8", "r9", "r10", "r11", "r12"};
    static const char *const kSNames[] = {"S0",  "S1",  "S2",  "S3",  "S4",  "S5",  "S6",  "S7",  "S8",  "S9",  "S10",
                                          "S11", "S12", "S13", "S14", "S15", "S16", "S17", "S18", "S19", "S20", "S21",
                                          "S22", "S23", "S24", "S25", "S26", "S27", "S28", "S29", "S30", "S31"};
    static const char *const kSGdb[] = {"s0",  "s1",  "s2",  "s3",  "s4",  "s5",  "s6",  "s7",  "s8",  "s9",  "s10",
                                        "s11", "s12", "s13", "s14", "s15", "s16", "s17", "s18", "s19", "s20", "s21",
                                        "s22", "s23", "s24", "s25", "s26", "s27", "s28", "s29", "s30", "s31"};
    std::array<CoreRegisterInfo, 64> table{};
    std::size_t i = 0;
    for (uint8_t r = 0; r <= 12; ++r)
        table[i++] = Word(CoreRegister(r), kRNames[r], r, kRGdb[r], true);
    table[i++] = Word(CoreRegister::SP, "SP", 13, "sp", true);
    table[i++] = Word(CoreRegister::LR, "LR", 14, "lr");
    table[i++] = Word(CoreRegister::PC, "PC", 15, "pc", true);
    table[i++] = Word(CoreRegister::XPSR, "xPSR", 16, "xpsr", true);
    table[i++] = Word(CoreRegister::MSP, "MSP", 17, "msp");
    table[i++] = Word(CoreRegister::PSP, "PSP", 18, "psp");
    table[i++] = {CoreRegister::CONTROL, "CONTROL", kSpecialSelector, 3, "control", false};
    table[i++] = {CoreRegister::FAULTMASK, "FAULTMASK", kSpecialSelector, 2, "faultmask", false};
    table[i++] = {CoreRegister::BASEPRI, "BASEPRI", kSpecialSelector, 1, "basepri", false};
    table[i++] = {CoreRegister::PRIMASK, "PRIMASK", kSpecialSelector, 0, "primask", false};
    table[i++] = Word(CoreRegister::MSP_NS, "MSP_NS", 0x18, "msp_ns");
    table[i++] = Word(CoreRegister::PSP_NS, "PSP_NS", 0x19, "psp_ns");
    table[i++] = Word(CoreRegister::MSP_S, "MSP_S", 0x1A, "msp_s");
    table[i++] = Word(CoreRegister::PSP_S, "PSP_S", 0x1B, "psp_s");
    table[i++] = Word(CoreRegister::MSPLIM_S, "MSPLIM_S", 0x1C, "msplim_s");
    table[i++] = Word(CoreRegister::PSPLIM_S, "PSPLIM_S", 0x1D, "psplim_s");
    table[i++] = Word(CoreRegister::MSPLIM_NS, "MSPLIM_NS", 0x1E, "msplim_ns");
    table[i++] = Word(CoreRegister::PSPLIM_NS, "PSPLIM_NS", 0x1F, "psplim_ns");
    table[i++] = Word(CoreRegister::FPSCR, "FPSCR", kFpscrSelector, "fpscr");
    for (uint8_t s = 0; s < 32; ++s)
        table[i++] =
            Word(CoreRegister(uint8_t(CoreRegister::S0) + s), kSNames[s], uint8_t(kFirstSingleSelector + s), kSGdb[s]);
    return table;
}

const std::array<CoreRegisterInfo, 64> &Table()
{
    static const std::array<CoreRegisterInfo, 64> table = MakeTable();
    return table;
}

} // namespace

std::span<const CoreRegisterInfo> All()
{
    return Table();
}

const CoreRegisterInfo &Info(CoreRegister id)
{
    return Table()[std::size_t(id)];
}

std::optional<CoreRegister> Find(const QString &name)
{
    for (const CoreRegisterInfo &info : Table())
        if (name.compare(QLatin1String(info.name), Qt::CaseInsensitive) == 0)
            return info.id;
    return std::nullopt;
}

bool IsShownByDefault(CoreRegister id)
{
    return id <= CoreRegister::FPSCR;
}

} // namespace CoreRegisters

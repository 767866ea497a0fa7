#include "ops/FaultReport.h"

#include "ops/OpsMessages.h"

namespace FaultReport {

namespace {

struct BitWords
{
    int bit;
    const char *part;
    const char *name;
    const char *words;
};

// The Cortex-M33's fault status bits (Armv8-M Mainline with the Security
// and Floating-point Extensions).
constexpr BitWords kCfsr[] = {
    {0, "MMFSR", "IACCVIOL", "instruction access violation (MPU or execute-never)"},
    {1, "MMFSR", "DACCVIOL", "data access violation (MPU)"},
    {3, "MMFSR", "MUNSTKERR", "memory management fault on unstacking at exception return"},
    {4, "MMFSR", "MSTKERR", "memory management fault on stacking at exception entry"},
    {5, "MMFSR", "MLSPERR", "memory management fault during lazy floating-point state preservation"},
    {7, "MMFSR", "MMARVALID", "MMFAR holds the faulting address"},
    {8, "BFSR", "IBUSERR", "instruction bus error"},
    {9, "BFSR", "PRECISERR", "precise data bus error"},
    {10, "BFSR", "IMPRECISERR", "imprecise data bus error"},
    {11, "BFSR", "UNSTKERR", "bus error on unstacking at exception return"},
    {12, "BFSR", "STKERR", "bus error on stacking at exception entry"},
    {13, "BFSR", "LSPERR", "bus error during lazy floating-point state preservation"},
    {15, "BFSR", "BFARVALID", "BFAR holds the faulting address"},
    {16, "UFSR", "UNDEFINSTR", "undefined instruction"},
    {17, "UFSR", "INVSTATE", "invalid state: Thumb bit clear"},
    {18, "UFSR", "INVPC", "invalid PC: a bad EXC_RETURN or integrity signature at exception return"},
    {19, "UFSR", "NOCP", "no coprocessor: floating-point or coprocessor instruction while disabled or absent"},
    {20, "UFSR", "STKOF", nullptr}, // worded with the stack that overflowed
    {24, "UFSR", "UNALIGNED", "unaligned access"},
    {25, "UFSR", "DIVBYZERO", "divide by zero"},
};

constexpr BitWords kHfsr[] = {
    {1, "HFSR", "VECTTBL", "bus error on a vector table read"},
    {30, "HFSR", "FORCED", "forced: a configurable fault escalated to HardFault"},
    {31, "HFSR", "DEBUGEVT", "debug event while halting debug is off"},
};

constexpr BitWords kDfsr[] = {
    {0, "DFSR", "HALTED", "halt request or step"},     {1, "DFSR", "BKPT", "breakpoint"},
    {2, "DFSR", "DWTTRAP", "watchpoint (DWT match)"},  {3, "DFSR", "VCATCH", "vector catch"},
    {4, "DFSR", "EXTERNAL", "external debug request"},
};

constexpr BitWords kSfsr[] = {
    {0, "SFSR", "INVEP", "invalid entry point: a Non-secure call into Secure code without SG"},
    {1, "SFSR", "INVIS", "invalid integrity signature at exception return"},
    {2, "SFSR", "INVER", "invalid exception return"},
    {3, "SFSR", "AUVIOL", "attribution unit violation: Non-secure access to Secure memory"},
    {4, "SFSR", "INVTRAN", "invalid transition from Secure to Non-secure"},
    {5, "SFSR", "LSPERR", "SAU or IDAU violation during lazy floating-point state preservation"},
    {6, "SFSR", "SFARVALID", "SFAR holds the faulting address"},
    {7, "SFSR", "LSERR", "lazy state error: floating-point state inconsistent at exception entry or return"},
};

constexpr uint32_t kMmarValid = 1u << 7;
constexpr uint32_t kBfarValid = 1u << 15;
constexpr uint32_t kSfarValid = 1u << 6;

template<std::size_t N> std::vector<SetBit> Named(const BitWords (&table)[N], uint32_t word)
{
    std::vector<SetBit> bits;
    for (const BitWords &row : table)
        if (word & (1u << row.bit))
            bits.push_back({QString::fromLatin1(row.part), QString::fromLatin1(row.name),
                            QString::fromLatin1(row.words ? row.words : "")});
    return bits;
}

const char *const kExceptionNames[16] = {"Thread mode",  "Reset",       "NMI",    "HardFault", "MemManage", "BusFault",
                                         "UsageFault",   "SecureFault", nullptr,  nullptr,     nullptr,     "SVCall",
                                         "DebugMonitor", nullptr,       "PendSV", "SysTick"};

const char *const kBasicFrame[] = {"R0", "R1", "R2", "R3", "R12", "LR", "PC", "xPSR"};

} // namespace

QString ExcReturn::StackName() const
{
    return QLatin1String(processStack ? "PSP" : "MSP") + QLatin1String(secureStack ? "_S" : "_NS");
}

std::optional<ExcReturn> DecodeExcReturn(uint32_t lr)
{
    if ((lr >> 24) != 0xFF)
        return std::nullopt;
    ExcReturn decoded;
    decoded.toSecure = lr & (1u << 0);
    decoded.processStack = lr & (1u << 2);
    decoded.threadMode = lr & (1u << 3);
    decoded.standardFrame = lr & (1u << 4);
    decoded.calleeStacked = !(lr & (1u << 5));
    decoded.secureStack = lr & (1u << 6);
    return decoded;
}

// With DCRS clear the integrity signature, a reserved word and R4-R11 lie
// below the frame.
uint32_t FrameOffset(const ExcReturn &excReturn)
{
    return excReturn.calleeStacked ? 10 * 4 : 0;
}

// The basic frame, and with floating-point state S0-S15, FPSCR and a reserved word.
int FrameWords(const ExcReturn &excReturn)
{
    return excReturn.standardFrame ? 8 : 8 + 18;
}

QString ExceptionName(uint32_t ipsr)
{
    if (ipsr >= 16)
        return QStringLiteral("IRQ %1").arg(ipsr - 16);
    return kExceptionNames[ipsr] ? QString::fromLatin1(kExceptionNames[ipsr]) : QStringLiteral("reserved");
}

std::vector<SetBit> CfsrBits(uint32_t cfsr, const QString &overflowedStack)
{
    std::vector<SetBit> bits = Named(kCfsr, cfsr);
    for (SetBit &bit : bits) {
        if (bit.name != QLatin1String("STKOF"))
            continue;
        if (overflowedStack.startsWith(QLatin1String("PSP")))
            bit.words = QString::fromLatin1(OpsMessages::kStackOverflowProcess);
        else if (overflowedStack.startsWith(QLatin1String("MSP")))
            bit.words = QString::fromLatin1(OpsMessages::kStackOverflowMain);
        else
            bit.words = QString::fromLatin1(OpsMessages::kStackOverflow);
    }
    return bits;
}

std::vector<SetBit> HfsrBits(uint32_t hfsr)
{
    return Named(kHfsr, hfsr);
}

std::vector<SetBit> DfsrBits(uint32_t dfsr)
{
    return Named(kDfsr, dfsr);
}

std::vector<SetBit> SfsrBits(uint32_t sfsr)
{
    return Named(kSfsr, sfsr);
}

// AFSR's bits are the chip maker's own.
std::vector<SetBit> AfsrBits(uint32_t afsr)
{
    std::vector<SetBit> bits;
    for (int bit = 0; bit < 32; ++bit)
        if (afsr & (1u << bit))
            bits.push_back({QStringLiteral("AFSR"), QStringLiteral("bit %1").arg(bit),
                            QString::fromLatin1(OpsMessages::kAuxiliaryFaultBit)});
    return bits;
}

Report Decode(const CoreOps::FaultReading &reading)
{
    Report report;
    const auto core = [&](CoreRegister id) -> std::optional<uint32_t> {
        const auto found = reading.core.find(id);
        return found == reading.core.end() ? std::nullopt : std::optional<uint32_t>(found->second);
    };
    if (const auto xpsr = core(CoreRegister::XPSR))
        report.ipsr = *xpsr & 0x1FF;
    report.lr = core(CoreRegister::LR);
    // In Thread mode LR is a return address whatever its bits.
    if (report.lr && report.ipsr != 0u)
        report.excReturn = DecodeExcReturn(*report.lr);

    const CoreOps::FaultWords &w = reading.words;
    const auto add = [&](const char *name, uint32_t address, const std::optional<uint32_t> &value,
                         std::vector<SetBit> (*bits)(uint32_t)) {
        report.registers.push_back(
            {QString::fromLatin1(name), address, value, value ? bits(*value) : std::vector<SetBit>{}});
    };
    report.registers.push_back({QStringLiteral("CFSR"), CoreOps::kCfsr, w.cfsr,
                                w.cfsr ? CfsrBits(*w.cfsr, reading.frameStack) : std::vector<SetBit>{}});
    add("HFSR", CoreOps::kCfsr + 4, w.hfsr, HfsrBits);
    add("DFSR", CoreOps::kCfsr + 8, w.dfsr, DfsrBits);
    add("AFSR", CoreOps::kCfsr + 20, w.afsr, AfsrBits);
    add("SFSR", CoreOps::kSfsr, w.sfsr, SfsrBits);

    report.addresses.push_back(
        {QStringLiteral("MMFAR"), QStringLiteral("MMARVALID"), w.mmfar, w.cfsr && (*w.cfsr & kMmarValid)});
    report.addresses.push_back(
        {QStringLiteral("BFAR"), QStringLiteral("BFARVALID"), w.bfar, w.cfsr && (*w.cfsr & kBfarValid)});
    report.addresses.push_back(
        {QStringLiteral("SFAR"), QStringLiteral("SFARVALID"), w.sfar, w.sfsr && (*w.sfsr & kSfarValid)});

    report.frameStack = reading.frameStack;
    report.frameAddress = reading.frameAddress;
    report.frameProblem = reading.frameProblem;
    for (std::size_t i = 0; i < reading.frame.size() && i < 8; ++i)
        report.frame.push_back({QString::fromLatin1(kBasicFrame[i]), reading.frame[i]});
    for (std::size_t i = 8; i < reading.frame.size() && i < 8 + 17; ++i)
        report.frame.push_back({i < 24 ? QStringLiteral("S%1").arg(i - 8) : QStringLiteral("FPSCR"), reading.frame[i]});
    return report;
}

namespace {

std::optional<uint32_t> FrameValue(const Report &report, const char *name)
{
    for (const FrameEntry &entry : report.frame)
        if (entry.name == QLatin1String(name))
            return entry.value;
    return std::nullopt;
}

} // namespace

std::optional<uint32_t> StackedPc(const Report &report)
{
    return FrameValue(report, "PC");
}

std::optional<uint32_t> StackedLr(const Report &report)
{
    return FrameValue(report, "LR");
}

} // namespace FaultReport

// The shipped file of the Cortex-M33's own peripherals, walked as the
// register windows walk it: every peripheral is found, the registers a fault
// is read from sit at the architecture's addresses, and their bits where the
// fault report decodes them.

#include "regmap/CorePeripherals.h"
#include "regmap/SvdDeviceModel.h"
#include "support/BuildPaths.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

QString CoreFile()
{
    return SourcePath(QStringLiteral("svd/") + QLatin1String(CorePeripherals::kFileName));
}

const SvdRegister *FindRegister(const SvdPeripheral &peripheral, const QString &name)
{
    for (const SvdRegister &reg : peripheral.registers)
        if (reg.name == name)
            return &reg;
    return nullptr;
}

} // namespace

TEST(SvdCorePeripheralsTest, EveryPeripheralIsFoundWithoutOverlap)
{
    ASSERT_TRUE(QFile::exists(CoreFile()));
    const QStringList names = SvdDeviceModel::ReadPeripheralNames(CoreFile());
    EXPECT_EQ(names, QStringList({"SCB", "NVIC", "SysTick", "MPU", "SAU", "DWT", "FPU", "DCB"}));
    std::vector<std::pair<uint32_t, uint32_t>> spans;
    for (const QString &name : names) {
        const SvdPeripheralResult result = SvdDeviceModel::ReadPeripheral(CoreFile(), name);
        ASSERT_EQ(result.outcome, SvdPeripheralResult::Outcome::Found)
            << name.toStdString() << " " << result.message.toStdString();
        EXPECT_FALSE(result.peripheral.registers.isEmpty()) << name.toStdString();
        for (const SvdRegister &reg : result.peripheral.registers)
            spans.emplace_back(reg.address, reg.address + 3);
    }
    std::sort(spans.begin(), spans.end());
    for (std::size_t i = 1; i < spans.size(); ++i)
        EXPECT_GT(spans[i].first, spans[i - 1].second) << std::hex << spans[i].first;
}

TEST(SvdCorePeripheralsTest, RegistersSitAtTheArchitecturesAddresses)
{
    struct Case
    {
        const char *peripheral, *reg;
        uint32_t address;
    };
    const Case cases[] = {
        {"SCB", "CPUID", 0xE000ED00},     {"SCB", "CFSR", 0xE000ED28},      {"SCB", "HFSR", 0xE000ED2C},
        {"SCB", "DFSR", 0xE000ED30},      {"SCB", "MMFAR", 0xE000ED34},     {"SCB", "BFAR", 0xE000ED38},
        {"SCB", "AFSR", 0xE000ED3C},      {"SCB", "CPACR", 0xE000ED88},     {"SAU", "SFSR", 0xE000EDE4},
        {"SAU", "SFAR", 0xE000EDE8},      {"DCB", "DHCSR", 0xE000EDF0},     {"DCB", "DCRSR", 0xE000EDF4},
        {"DCB", "DCRDR", 0xE000EDF8},     {"DCB", "DEMCR", 0xE000EDFC},     {"SysTick", "CTRL", 0xE000E010},
        {"SysTick", "CALIB", 0xE000E01C}, {"NVIC", "ISER[0]", 0xE000E100},  {"NVIC", "ICER[0]", 0xE000E180},
        {"NVIC", "IPR[0]", 0xE000E400},   {"NVIC", "IPR[123]", 0xE000E5EC}, {"MPU", "CTRL", 0xE000ED94},
        {"MPU", "MAIR1", 0xE000EDC4},     {"DWT", "CYCCNT", 0xE0001004},    {"DWT", "FUNCTION3", 0xE0001058},
        {"FPU", "FPCCR", 0xE000EF34},     {"FPU", "MVFR2", 0xE000EF48},
    };
    for (const Case &c : cases) {
        const SvdPeripheralResult result =
            SvdDeviceModel::ReadPeripheral(CoreFile(), QString::fromLatin1(c.peripheral));
        ASSERT_EQ(result.outcome, SvdPeripheralResult::Outcome::Found) << c.peripheral;
        const SvdRegister *reg = FindRegister(result.peripheral, QLatin1String(c.reg));
        ASSERT_NE(reg, nullptr) << c.peripheral << "." << c.reg;
        EXPECT_EQ(reg->address, c.address) << c.peripheral << "." << c.reg;
    }
}

// The fault status bits where the fault report reads them.
TEST(SvdCorePeripheralsTest, FaultStatusFieldsSitOnTheirBits)
{
    struct Case
    {
        const char *peripheral, *reg, *field;
        uint32_t bit;
    };
    const Case cases[] = {
        {"SCB", "CFSR", "IACCVIOL", 0},   {"SCB", "CFSR", "MMARVALID", 7},   {"SCB", "CFSR", "PRECISERR", 9},
        {"SCB", "CFSR", "BFARVALID", 15}, {"SCB", "CFSR", "UNDEFINSTR", 16}, {"SCB", "CFSR", "STKOF", 20},
        {"SCB", "CFSR", "DIVBYZERO", 25}, {"SCB", "HFSR", "FORCED", 30},     {"SCB", "CCR", "DIV_0_TRP", 4},
        {"SAU", "SFSR", "SFARVALID", 6},  {"SAU", "SFSR", "LSERR", 7},       {"DCB", "DHCSR", "S_REGRDY", 16},
        {"DCB", "DHCSR", "S_HALT", 17},
    };
    for (const Case &c : cases) {
        const SvdPeripheralResult result =
            SvdDeviceModel::ReadPeripheral(CoreFile(), QString::fromLatin1(c.peripheral));
        const SvdRegister *reg = FindRegister(result.peripheral, QLatin1String(c.reg));
        ASSERT_NE(reg, nullptr) << c.reg;
        const auto field = std::find_if(reg->fields.begin(), reg->fields.end(),
                                        [&c](const SvdField &f) { return f.name == QLatin1String(c.field); });
        ASSERT_NE(field, reg->fields.end()) << c.reg << "." << c.field;
        EXPECT_EQ(field->bitOffset, c.bit) << c.reg << "." << c.field;
    }
}

// A chip's own peripheral stands for the core's of the same name in any case.
TEST(SvdCorePeripheralsTest, MissingLeavesOutWhatTheChipNamesInAnyCase)
{
    EXPECT_EQ(CorePeripherals::Missing({"SCB", "SYSTICK", "UART0"}, {"SCB", "NVIC", "SysTick", "DWT"}),
              QStringList({"NVIC", "DWT"}));
}

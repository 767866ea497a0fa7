// The fault report on a real Cortex-M33 model: QEMU's mps2-an505 running
// firmwares of our own that fault on purpose (tools/an505/faults.c). The
// report names the fault in words, BFAR holds the address of the firmware's
// table, the stacked PC is the faulting instruction's symbol, and the line
// comes from the ELF's DWARF.

#include "GdbRig.h"
#include "link/LinkCycle.h"
#include "ops/CoreOps.h"
#include "ops/FaultReport.h"
#include "ops/FirmwareSymbols.h"
#include "support/BuildPaths.h"
#include "support/ChildRun.h"
#include "support/QemuBoard.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QThread>

#include <gtest/gtest.h>

namespace {

struct FaultCase
{
    const char *firmware;  // an505-fault-NAME.elf
    const char *label;     // the faulting instruction's symbol
    const char *function;  // the C function around it
    const char *wordsLine; // the line of the report that names the fault
    bool bfarValid;
};

// The line of faults.c that holds the label and the "fault here" mark.
int MarkedLine(const char *label)
{
    QFile source(SourcePath("tools/an505/faults.c"));
    if (!source.open(QIODevice::ReadOnly))
        return 0;
    const QStringList lines = QString::fromUtf8(source.readAll()).split('\n');
    for (int i = 0; i < lines.size(); ++i)
        if (lines[i].contains(QString(label) + ':') && lines[i].contains("fault here"))
            return i + 1;
    return 0;
}

class QemuFaults : public testing::TestWithParam<FaultCase>
{
protected:
    void SetUp() override
    {
        if (QemuBoard::Program().isEmpty())
            GTEST_SKIP() << "qemu-system-arm is not installed (scripts/install-deps.sh installs it)";
        elf = BinPath(GetParam().firmware);
        if (!QFileInfo::exists(elf))
            GTEST_SKIP() << "the AN505 fault firmwares are not built (arm-none-eabi-gcc is missing)";
        ASSERT_TRUE(board.Start(elf));
        rig = std::make_unique<GdbRig>(board.GdbServer());
    }

    // The firmware faults at once; until the board has run that far the
    // core is in Thread mode.
    std::optional<CoreOps::FaultReading> FaultReading()
    {
        for (int i = 0; i < 100; ++i) {
            auto reading = CoreOps::ReadFault(rig->env);
            if (!reading || reading->core[CoreRegister::XPSR] & 0x1FF)
                return reading;
            QThread::msleep(20);
        }
        return std::nullopt;
    }

    std::optional<uint32_t> ReadWord(uint32_t address)
    {
        LinkCycle cycle(rig->config, rig->links, rig->context);
        if (!cycle.Preface() || !cycle.Open() || !cycle.Read(address, 4))
            return std::nullopt;
        cycle.Close();
        return rig->links.buffer.Word(0);
    }

    QemuBoard board;
    QString elf;
    std::unique_ptr<GdbRig> rig;
};

TEST_P(QemuFaults, ReportNamesTheFaultAndItsPlace)
{
    const FaultCase &c = GetParam();
    QString failure;
    const auto symbols = FirmwareSymbols::Open(elf, &failure);
    ASSERT_TRUE(symbols) << failure.toStdString();
    const auto faultingInstruction = symbols->SymbolAddress(c.label);
    ASSERT_TRUE(faultingInstruction);

    const auto reading = FaultReading();
    ASSERT_TRUE(reading) << rig->user.messages.join('|').toStdString();
    FaultReport::Report report = FaultReport::Decode(*reading);
    FaultReport::AddPlaces(report, *symbols);
    const QString text = FaultReport::Text(report);

    EXPECT_TRUE(text.startsWith("Exception: 3 HardFault\n")) << text.toStdString();
    EXPECT_TRUE(text.contains(QString(c.wordsLine) + '\n')) << text.toStdString();
    EXPECT_TRUE(text.contains("  FORCED: forced: a configurable fault escalated to HardFault\n")) << text.toStdString();
    EXPECT_EQ(report.frameStack, "MSP_S");

    // The stacked PC is the faulting instruction, as the ELF's symbol says.
    EXPECT_EQ(FaultReport::StackedPc(report), faultingInstruction);
    ASSERT_TRUE(report.pcPlace);
    EXPECT_EQ(report.pcPlace->function, c.function);
    EXPECT_TRUE(report.pcPlace->file.endsWith("tools/an505/faults.c")) << report.pcPlace->file.toStdString();
    EXPECT_EQ(report.pcPlace->line, MarkedLine(c.label));
    ASSERT_TRUE(report.lrPlace);
    EXPECT_EQ(report.lrPlace->function, "Reset_Handler");

    // BFAR holds the address the firmware's table names, and only the bus fault says so.
    const FaultReport::FaultAddress &bfar = report.addresses[1];
    ASSERT_EQ(bfar.name, "BFAR");
    EXPECT_EQ(bfar.valid, c.bfarValid);
    if (c.bfarValid) {
        const auto table = symbols->SymbolAddress("unanswered_address");
        ASSERT_TRUE(table);
        const auto named = ReadWord(*table);
        ASSERT_TRUE(named);
        EXPECT_EQ(bfar.value, named);
        const QString digits = QString::number(*named, 16).toUpper().rightJustified(8, '0');
        EXPECT_TRUE(text.contains("BFAR 0x" + digits + ": the faulting address\n")) << text.toStdString();
    } else {
        EXPECT_TRUE(text.contains("BFAR: not valid (BFARVALID clear)\n")) << text.toStdString();
    }
    EXPECT_TRUE(rig->user.messages.isEmpty()) << rig->user.messages.join('|').toStdString();
}

// corvane-cli fault prints the same report, as text and as JSON.
TEST_P(QemuFaults, CommandLinePrintsTextAndJson)
{
    const FaultCase &c = GetParam();
    ASSERT_TRUE(FaultReading());
    rig->config.WriteInt("CHIP_TYPE", "NUM", 1);
    rig->config.WriteText("CHIP_TYPE", "CHIP_0", "AN505");
    const ChildRun text = RunCli({"--home", rig->home.path(), "fault", "--elf", elf});
    ASSERT_EQ(text.status, 0) << text.err.toStdString();
    EXPECT_TRUE(text.out.contains(c.wordsLine)) << text.out.toStdString();
    const ChildRun json = RunCli({"--home", rig->home.path(), "fault", "--elf", elf, "--format", "json"});
    ASSERT_EQ(json.status, 0) << json.err.toStdString();
    const QJsonObject object = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(object["exception"]["name"].toString(), "HardFault");
    EXPECT_EQ(object["pc_place"]["function"].toString(), c.function);
    EXPECT_EQ(object["pc_place"]["line"].toInt(), MarkedLine(c.label));
    if (qEnvironmentVariableIsSet("CORVANE_SHOW_FAULT_REPORTS"))
        std::fprintf(stderr, "%s\n%s\n", text.out.constData(), json.out.constData());
}

// Core registers by the server's own numbering: written with P, read back
// with p; the registers QEMU's description lacks are not given.
TEST(QemuCoreRegisters, WrittenValuesReadBack)
{
    if (QemuBoard::Program().isEmpty())
        GTEST_SKIP() << "qemu-system-arm is not installed (scripts/install-deps.sh installs it)";
    QemuBoard board;
    ASSERT_TRUE(board.Start());
    GdbRig rig(board.GdbServer());
    EXPECT_EQ(CoreOps::Write(rig.env, "R7", "12345678"), 0x12345678u);
    EXPECT_EQ(CoreOps::Write(rig.env, "pc", "0x10000008"), 0x10000008u);
    const auto values = CoreOps::Read(rig.env, CoreOps::ShownRegisters());
    ASSERT_TRUE(values) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(values->at(CoreRegister::R7), 0x12345678u);
    EXPECT_EQ(values->at(CoreRegister::PC), 0x10000008u);
    EXPECT_TRUE(values->count(CoreRegister::XPSR));
    EXPECT_TRUE(values->count(CoreRegister::FPSCR));
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
}

INSTANTIATE_TEST_SUITE_P(Firmwares, QemuFaults,
                         testing::Values(FaultCase{"an505-fault-load.elf", "fault_load", "load_unanswered",
                                                   "  BFSR PRECISERR: precise data bus error", true},
                                         FaultCase{"an505-fault-divide.elf", "fault_divide", "divide",
                                                   "  UFSR DIVBYZERO: divide by zero", false},
                                         FaultCase{"an505-fault-undefined.elf", "fault_undefined",
                                                   "undefined_instruction", "  UFSR UNDEFINSTR: undefined instruction",
                                                   false}),
                         [](const testing::TestParamInfo<FaultCase> &info) {
                             return std::string(info.param.label).substr(6); // load, divide, undefined
                         });

} // namespace

#include "support/AnalyzerFixture.h"
#include "RecordingOutput.h"
#include "ipcheck/IpCheckCycle.h"
#include "ipcheck/IpListBuilder.h"
#include "link/ConfigFile.h"
#include "support/ChildRun.h"

#include <QDir>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

// An installation folder whose python/python is python3, as the set-up lays
// it out, with the shipped analyzer folder.
class SampleAnalyzerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        const QString python3 = QStandardPaths::findExecutable("python3");
        ASSERT_FALSE(python3.isEmpty());
        QDir().mkpath(m_fixture.Path("python"));
        ASSERT_TRUE(QFile::link(python3, m_fixture.Path("python/python")));
    }
    void TearDown() override { QDir::setCurrent(m_startDir); }

    QByteArray Cli(const QStringList &arguments)
    {
        const ChildRun cli = RunCli(QStringList{"--home", m_fixture.ExeDir()} + arguments);
        EXPECT_TRUE(cli.finished) << cli.err.toStdString();
        EXPECT_EQ(cli.status, 0) << cli.err.toStdString();
        return cli.out;
    }

    QString m_startDir = QDir::currentPath();
    AnalyzerFixture m_fixture;
    const QString m_analyzer = SourcePath("analyzer");
};

TEST_F(SampleAnalyzerTest, EveryModelHasKnownAndUnknownBlocks)
{
    for (const char *model : {"VX21A", "VX21B", "VX21C", "VX21E"}) {
        const std::vector<IpListRow> rows = BuildIpList(model, m_analyzer, m_fixture.ExeDir());
        const auto enabled = std::count_if(rows.begin(), rows.end(), [](const IpListRow &row) { return row.enabled; });
        EXPECT_GE(rows.size(), 15u) << model;
        EXPECT_GT(enabled, 5) << model;
        EXPECT_LT(size_t(enabled), rows.size()) << model;
    }
    EXPECT_TRUE(BuildIpList("VX21D", m_analyzer, m_fixture.ExeDir()).empty());
}

TEST_F(SampleAnalyzerTest, KnownBlocksGiveTaggedFindings)
{
    IpRunRequest request{-1, {}, m_analyzer, "VX21A", m_fixture.Path("no-such-port"), "115200"};
    for (const IpListRow &row : BuildIpList("VX21A", m_analyzer, m_fixture.ExeDir()))
        request.rows.push_back(IpRunRow{row.name, row.enabled, row.enabled});
    RecordingOutput output;
    const std::atomic<bool> stop{false};
    RunIpCheckCycle(request, m_fixture.ExeDir(), output, stop);

    const QString all = output.Rows().join(u'\n');
    for (const char *tag : {"[ERROR]", "[WARN]", "[Suggestion]"})
        EXPECT_TRUE(all.contains(tag)) << tag;
    EXPECT_FALSE(all.contains("Traceback")) << all.toStdString();
    EXPECT_TRUE(output.Rows().contains("[INFO] USART1: done"));
}

TEST_F(SampleAnalyzerTest, CommandLineToolListsAndRuns)
{
    ConfigFile config(m_fixture.Path("Corvane.ini"));
    config.WriteInt("CHIP_TYPE", "NUM", 2);
    config.WriteText("CHIP_TYPE", "CHIP_0", "VX21A");
    config.WriteText("CHIP_TYPE", "CHIP_1", "VX21C");
    config.WriteInt("CHIP_TYPE", "SEL", 1);
    config.WriteText("COMMON", "CHECKIP_PATH", m_analyzer);
    config.WriteText("COMMON", "UART_PORT", "/dev/ttyNone");
    config.WriteInt("UART_BAUND", "NUM", 2);
    config.WriteText("UART_BAUND", "BAUND_0", "115200");
    config.WriteText("UART_BAUND", "BAUND_1", "1000000");
    config.WriteInt("COMMON", "UART_BAUND", 1);

    const QList<QByteArray> list = Cli({"ip-list"}).split('\n');
    EXPECT_TRUE(list.contains("+ HPSYS_RCC"));
    EXPECT_TRUE(list.contains("- CRC"));
    EXPECT_TRUE(list.contains("+ SPI2")) << "VX21C is the selected model";
    EXPECT_TRUE(Cli({"--chip", "VX21D", "ip-list"}).isEmpty());

    const QByteArray run = Cli({"ip-check", "SPI1", "NO SUCH"});
    EXPECT_TRUE(run.startsWith("  \n[INFO] analysing SPI1 of VX21C (port /dev/ttyNone, 1000000 baud)\n"))
        << run.toStdString();
    EXPECT_TRUE(run.contains("\n  \n[ERROR] VX21C: NO SUCH is not known to the analyzer database\n"));

    // A missing interpreter: the runner's own row, its line feed kept.
    QFile::remove(m_fixture.Path("python/python"));
    const QByteArray missing = Cli({"ip-check", "--port", "P", "--speed=S", "SPI1"});
    EXPECT_EQ(missing, "  \n" + m_fixture.ExeDir().toUtf8() +
                           "/python/python  ./reg_analyzer.py  VX21C SPI1 --port=P "
                           "--baudrate=S 进程创建失败\n\n");
}

} // namespace

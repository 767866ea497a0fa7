#include "support/AnalyzerFixture.h"
#include "RecordingOutput.h"
#include "ipcheck/AnalyzerCommand.h"
#include "ipcheck/IpCheckCycle.h"
#include "ipcheck/IpCheckWorker.h"
#include "ipcheck/OutputLineSplitter.h"

#include <QDir>

#include <gtest/gtest.h>

#include <thread>

namespace {

QStringList FeedAll(OutputLineSplitter &splitter, const QList<QByteArray> &reads)
{
    QStringList rows;
    for (const QByteArray &bytes : reads)
        rows += splitter.Feed(bytes.constData(), int(bytes.size()));
    return rows;
}

TEST(OutputLineSplitterTest, SplitsReadsIntoRows)
{
    struct Case
    {
        const char *what;
        QList<QByteArray> reads;
        QStringList rows;
        QString carry;
    };
    const Case cases[] = {
        {"CR stays before its LF", {"a\r\nb"}, {"a\r"}, "b"},
        {"empty lines dropped", {"x\n\n\ny\n"}, {"x", "y"}, ""},
        {"only line feeds", {"\n\n\n"}, {}, ""},
        {"a line across reads", {"ab", "c\nd", "e\n"}, {"abc", "de"}, ""},
        {"lone CR is a row", {"\r\n"}, {"\r"}, ""},
        {"UTF-8 text", {"温度 [WARN]\n"}, {"温度 [WARN]"}, ""},
    };
    for (const Case &c : cases) {
        OutputLineSplitter splitter;
        EXPECT_EQ(FeedAll(splitter, c.reads), c.rows) << c.what;
        EXPECT_EQ(splitter.TakeCarry(), c.carry) << c.what;
        EXPECT_EQ(splitter.CarrySize(), 0);
    }
}

TEST(OutputLineSplitterTest, PendingBytesFromTwoThousandFiveHundredAreFlushed)
{
    OutputLineSplitter splitter;
    EXPECT_EQ(splitter.NextReadSize(), 1024);
    QStringList rows;
    rows += splitter.Feed(QByteArray(1024, 'a').constData(), 1024);
    rows += splitter.Feed(QByteArray(1024, 'b').constData(), 1024);
    EXPECT_TRUE(rows.isEmpty());
    EXPECT_EQ(splitter.NextReadSize(), 2999 - 2048) << "carry and new bytes stay below 3000";
    rows += splitter.Feed(QByteArray(951, 'c').constData(), 951);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].size(), 2999);
    EXPECT_EQ(splitter.CarrySize(), 0);

    // Complete lines before a short tail: the tail goes out unfinished too.
    QByteArray mixed = QByteArray(2490, 'x') + "\nyyyyyyyyyy";
    EXPECT_EQ(splitter.Feed(mixed.constData(), int(mixed.size())), (QStringList{QString(2490, u'x'), "yyyyyyyyyy"}));
    EXPECT_EQ(splitter.CarrySize(), 0);
}

TEST(AnalyzerCommandTest, CommandLineTextAndArguments)
{
    const AnalyzerCommand command = MakeAnalyzerCommand("/opt/T", "VX21A", "UART1", "/dev/ttyUSB0", "115200");
    EXPECT_EQ(command.text,
              "/opt/T/python/python  ./reg_analyzer.py  VX21A UART1 --port=/dev/ttyUSB0 --baudrate=115200");
    EXPECT_EQ(command.program, "/opt/T/python/python");
    EXPECT_EQ(command.arguments,
              (QStringList{"./reg_analyzer.py", "VX21A", "UART1", "--port=/dev/ttyUSB0", "--baudrate=115200"}));
}

// An installation whose interpreter runs the analyzer script with sh, so a
// test writes the child program as ana/reg_analyzer.py in shell.
class RunnerTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_fixture.WriteFile("python/python", "#!/bin/sh\nexec /bin/sh \"$@\"\n", true);
        m_fixture.WriteFile("ana/.keep", "");
    }
    void TearDown() override { QDir::setCurrent(m_startDir); }

    void Analyzer(const QByteArray &script) { m_fixture.WriteFile("ana/reg_analyzer.py", script); }

    IpRunRequest Request(int runRequest, std::vector<IpRunRow> rows)
    {
        return IpRunRequest{runRequest, std::move(rows), "ana", "VX21A", "/dev/ttyX", "115200"};
    }

    QStringList RunOne(const QByteArray &script)
    {
        Analyzer(script);
        RunIpCheckCycle(Request(-1, {{"UART1", true, true}}), m_fixture.ExeDir(), m_output, m_stop);
        return m_output.Rows();
    }

    QString m_startDir = QDir::currentPath();
    AnalyzerFixture m_fixture;
    RecordingOutput m_output;
    std::atomic<bool> m_stop{false};
};

TEST_F(RunnerTest, ChildOutputBecomesRows)
{
    struct Case
    {
        const char *what;
        QByteArray script;
        QStringList rows;
    };
    const Case cases[] = {
        {"CR LF", "printf 'a\\r\\nb\\n'", {"  ", "a\r", "b"}},
        {"empty lines dropped", "printf 'x\\n\\n\\ny\\n'", {"  ", "x", "y"}},
        {"no final line feed", "printf 'first\\nlast words'", {"  ", "first", "last words"}},
        {"standard error merged", "echo out; echo err >&2; exit 3", {"  ", "out", "err"}},
        {"silent child", "exit 0", {"  "}},
    };
    for (const Case &c : cases) {
        RecordingOutput output;
        Analyzer(c.script);
        RunIpCheckCycle(Request(-1, {{"UART1", true, true}}), m_fixture.ExeDir(), output, m_stop);
        EXPECT_EQ(output.Rows(), c.rows) << c.what;
    }
}

TEST_F(RunnerTest, OutputWithoutLineFeedsArrivesInFlushedPieces)
{
    const QStringList rows = RunOne("head -c 7000 /dev/zero | tr '\\0' 'a'");
    ASSERT_GE(rows.size(), 3);
    EXPECT_EQ(rows[0], "  ");
    QString joined;
    for (qsizetype i = 1; i < rows.size(); ++i) {
        EXPECT_LE(rows[i].size(), 2999);
        if (i + 1 < rows.size()) {
            EXPECT_GE(rows[i].size(), 2500) << "row " << i;
        }
        joined += rows[i];
    }
    EXPECT_EQ(joined, QString(7000, u'a'));
}

TEST_F(RunnerTest, NamesReachTheAnalyzerAsSingleArgumentsInItsFolder)
{
    Analyzer("for a in \"$@\"; do printf '<%s>\\n' \"$a\"; done; pwd");
    const QString name = "UART 1;touch pwned $(touch pwned2)";
    IpRunRequest request = Request(0, {{name, false, true}});
    request.uartPort = "/dev/tty X";
    RunIpCheckCycle(request, m_fixture.ExeDir(), m_output, m_stop);
    EXPECT_EQ(m_output.Rows(), (QStringList{"  ", "<VX21A>", "<" + name + ">", "<--port=/dev/tty X>",
                                            "<--baudrate=115200>", QDir(m_fixture.Path("ana")).canonicalPath()}));
    EXPECT_FALSE(QFile::exists(m_fixture.Path("ana/pwned")));
    EXPECT_FALSE(QFile::exists(m_fixture.Path("ana/pwned2")));
    EXPECT_EQ(QDir::currentPath(), QDir(m_fixture.ExeDir()).canonicalPath()) << "back in the executable's folder";
}

TEST_F(RunnerTest, MissingInterpreterIsReportedAndTheCycleGoesOn)
{
    QFile::remove(m_fixture.Path("python/python"));
    Analyzer("echo never");
    RunIpCheckCycle(Request(-1, {{"A", true, true}, {"B", true, true}}), m_fixture.ExeDir(), m_output, m_stop);
    const QString command = m_fixture.ExeDir() + "/python/python  ./reg_analyzer.py  VX21A %1 --port=/dev/ttyX "
                                                 "--baudrate=115200 进程创建失败\n";
    EXPECT_EQ(m_output.Rows(), (QStringList{"  ", command.arg("A"), "  ", command.arg("B")}));
}

TEST_F(RunnerTest, WhichRowsRunAndWhatTheLabelSays)
{
    Analyzer("echo \"ran $2\"");
    const std::vector<IpRunRow> rows{{"A", true, true}, {"B", false, true}, {"C", true, true}, {"D", true, false}};
    struct Case
    {
        int runRequest;
        QStringList events;
        QStringList rows;
    };
    const Case cases[] = {
        {-1,
         {"progress 0/3  A", "release 0 A scroll", "rows", "rows", "progress 1/3  A", "progress 1/3  C",
          "release 2 C scroll", "rows", "rows", "progress 2/3  C", "progress 2/3  D", "release 3 D scroll", "rows",
          "rows", "progress 3/3  D"},
         {"  ", "ran A", "  ", "ran C", "  ", "ran D"}},
        {1, {"progress 0/1  B", "release 1 B", "rows", "rows", "progress 1/1  B"}, {"  ", "ran B"}},
        {3, {}, {}}, // a disabled row runs nothing, checked or not
        {4, {}, {}},
        {-2, {}, {}},
    };
    for (const Case &c : cases) {
        RecordingOutput output;
        RunIpCheckCycle(Request(c.runRequest, rows), m_fixture.ExeDir(), output, m_stop);
        EXPECT_EQ(output.Events(), c.events) << c.runRequest;
        EXPECT_EQ(output.Rows(), c.rows) << c.runRequest;
    }
    RecordingOutput none;
    RunIpCheckCycle(Request(-1, {{"A", false, true}}), m_fixture.ExeDir(), none, m_stop);
    EXPECT_TRUE(none.Events().isEmpty()) << "no checked row: nothing runs, the label stays";
}

TEST_F(RunnerTest, RequestsDuringACycleGiveOneFurtherCycleForTheLast)
{
    // The first run holds the worker until the test releases it.
    Analyzer("echo \"start $2\"; while [ ! -e ../release ]; do sleep 0.02; done; echo \"end $2\"");
    IpCheckWorker worker(m_fixture.ExeDir(), m_output);
    worker.Start();
    worker.Request(Request(0, {{"FIRST", false, true}}));
    ASSERT_TRUE(m_output.WaitRow("start FIRST"));
    worker.Request(Request(0, {{"SECOND", false, true}}));
    worker.Request(Request(0, {{"THIRD", false, true}}));
    m_fixture.WriteFile("release", "");
    ASSERT_TRUE(m_output.WaitCycles(2));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(m_output.Cycles(), 2);
    EXPECT_EQ(m_output.Rows(), (QStringList{"  ", "start FIRST", "end FIRST", "  ", "start THIRD", "end THIRD"}));
}

TEST_F(RunnerTest, WorkerStopsWithoutWaitingForAHangingChild)
{
    Analyzer("echo begun; exec sleep 4");
    auto worker = std::make_unique<IpCheckWorker>(m_fixture.ExeDir(), m_output);
    worker->Start();
    worker->Request(Request(0, {{"A", false, true}}));
    ASSERT_TRUE(m_output.WaitRow("begun"));
    const auto before = std::chrono::steady_clock::now();
    worker.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(10));
}

} // namespace

#include "support/ChildRun.h"
#include "link/ConfigFile.h"
#include "SimulatedChip.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cstring>

namespace {

// An installation folder with Corvane.ini, a simulated VX21A chip on a
// pseudo-terminal and the stand-in probe with a memory file shared between
// the test and the tool.
class CliTargetTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_chip.Start());
        m_config.WriteInt("CHIP_TYPE", "NUM", 2);
        m_config.WriteText("CHIP_TYPE", "CHIP_0", "VX21C");
        m_config.WriteText("CHIP_TYPE", "CHIP_1", "VX21A");
        m_config.WriteInt("CHIP_TYPE", "SEL", 1);
        m_config.WriteInt("COMMON", "DATA_TYPE", 2);
        m_config.WriteText("COMMON", "UART_PORT", m_chip.PortPath());
        m_config.WriteInt("COMMON", "UART_BAUND", 6);
        m_config.WriteText("COMMON", "JLINK_PORT", "123456");
        m_config.WriteText("COMMON", "JLINKDLL", StandInPath());
        QFile standInConfig(m_home.filePath("standin.txt"));
        ASSERT_TRUE(standInConfig.open(QIODevice::WriteOnly));
        standInConfig.write("probes 123456\nmemory " + m_home.filePath("target.txt").toLocal8Bit() + "\n");
    }

    ChildRun Cli(QStringList arguments)
    {
        return RunCli(QStringList{"--home", m_home.path()} + arguments,
                      {{"JLINK_STANDIN_CONFIG", m_home.filePath("standin.txt")}});
    }

    QTemporaryDir m_home;
    SimulatedChip m_chip{"VX21A"};
    ConfigFile m_config{m_home.filePath("Corvane.ini")};
};

TEST_F(CliTargetTest, ReadPrintsTheDumpOfTheSelectedChip)
{
    m_chip.PokeWord(0x20000000, 0x78563412);
    const ChildRun run = Cli({"read", "0x20000000", "1"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "20000000: 12 34 56 78 \n");
    EXPECT_EQ(run.err, "");
}

TEST_F(CliTargetTest, MessagesGoToStandardErrorWithTheirStatus)
{
    struct Case
    {
        QStringList arguments;
        int status;
        QByteArray err;
    };
    const QList<Case> cases = {
        {{"read", "20000001", "4"}, 1, "ADDR shold 4 Bytes align, please check!\n"},
        {{"--chip", "VX21B", "read", "20000000", "4"}, 1, "VX21B not support uart debug !\n"},
        {{"write", "1FFFFFFC", "1"}, 1, "0x20000000 > ADDR, please check!\n"},
        {{"read-file", "20000000", "4", ""}, 1, "no file select, please check!\n"},
        {{"write-file", "20000000", ""}, 1, "no file select, please check!\n"},
        // A message that already ends in a line break is not given a second.
        {{"write-file", "20000000", "/nonexistent/in.bin"}, 1, "input file open fail !\n"},
        // The dialog comes before the length checks.
        {{"read-file", "20000000", "FFFFFFFF", ""}, 1, "no file select, please check!\n"},
    };
    for (const Case &c : cases) {
        const ChildRun run = Cli(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.err, c.err) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(run.out, "");
    }
    const ChildRun capped = Cli({"read", "20000000", "500"});
    EXPECT_EQ(capped.status, 0);
    EXPECT_EQ(capped.err, "LENGTH over 1024 Bytes, data show too long, use 1024 Bytes!\n");
    EXPECT_EQ(capped.out.count("\r\n"), 63);
}

// The windows show the link's message alone; the tool adds the system's
// reason on a line of its own.
TEST_F(CliTargetTest, PortFailuresTellTheSystemsReason)
{
    const QString plain = m_home.filePath("Corvane.ini");
    const QString missing = m_home.filePath("ttyMissing");
    struct Case
    {
        QString port;
        QByteArray err;
    };
    const Case cases[] = {
        {plain, "uart open error !\n" + plain.toUtf8() + ": not a terminal\n"},
        {missing, "uart open error !\n" + missing.toUtf8() + ": No such file or directory\n"},
        {"", "uart open error !\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.port.toStdString());
        m_config.WriteText("COMMON", "UART_PORT", c.port);
        const ChildRun run = Cli({"read", "20000000", "4"});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, c.err);
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(CliTargetTest, FilesRoundTripOverTheChip)
{
    QByteArray content(5000, '\0');
    for (int i = 0; i < content.size(); ++i)
        content[i] = char(i % 251);
    QFile in(m_home.filePath("in.bin"));
    ASSERT_TRUE(in.open(QIODevice::WriteOnly));
    in.write(content);
    in.close();

    const ChildRun write = Cli({"write-file", "20004000", in.fileName()});
    EXPECT_EQ(write.status, 0) << write.err.toStdString();
    EXPECT_EQ(m_chip.Peek(0x20004000, 5000), content);

    const QString outPath = m_home.filePath("out.bin");
    const ChildRun read = Cli({"read-file", "20004000", "1388", outPath});
    EXPECT_EQ(read.status, 0) << read.err.toStdString();
    QFile out(outPath);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), content);
}

TEST_F(CliTargetTest, ProbeCommandsShareTheStandInTarget)
{
    m_config.WriteInt("COMMON", "DATA_TYPE", 1);
    EXPECT_EQ(Cli({"write", "20000100", "CAFEF00D"}).status, 0);
    const ChildRun read = Cli({"read", "20000100", "4"});
    EXPECT_EQ(read.status, 0) << read.err.toStdString();
    EXPECT_EQ(read.out, "20000100: 0D F0 FE CA \n");

    const ChildRun watchdog = Cli({"watchdog-off"});
    EXPECT_EQ(watchdog.status, 0) << watchdog.err.toStdString();
    EXPECT_EQ(Cli({"read", "4000B00C", "4"}).out, "4000B00C: 34 00 00 00 \n");
}

// The probe's halt holds from one run of the tool to the next, as the
// stand-in's memory file carries it: core reads only between halt and run.
TEST_F(CliTargetTest, ProbeCoreReadBetweenHaltAndRun)
{
    m_config.WriteInt("COMMON", "DATA_TYPE", 1);
    EXPECT_EQ(Cli({"core"}).status, 1);
    EXPECT_EQ(Cli({"halt-hcpu"}).status, 0);
    const ChildRun core = Cli({"core"});
    ASSERT_EQ(core.status, 0) << core.err.toStdString();
    EXPECT_TRUE(core.out.contains("\nPC         0x00000F40\n")) << core.out.toStdString();
    const ChildRun write = Cli({"core-write", "R0", "5"});
    EXPECT_EQ(write.status, 0) << write.err.toStdString();
    EXPECT_EQ(Cli({"run"}).status, 0);
    const ChildRun refused = Cli({"core"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_TRUE(refused.err.startsWith("the core is running")) << refused.err.toStdString();
}

TEST_F(CliTargetTest, ChipControlOverUart)
{
    EXPECT_EQ(Cli({"halt-hcpu"}).status, 0);
    EXPECT_EQ(m_chip.PeekBus(0xF000EDF0, 4), QByteArray("\x03\x00\x5F\xA0", 4));
    m_chip.PokeWord(0x4000B00C, 0xFFFFFFFF);
    EXPECT_EQ(Cli({"watchdog-off"}).status, 0);
    EXPECT_EQ(m_chip.PeekWord(0x4000B00C), 0x34u);
    EXPECT_EQ(m_chip.PeekBus(0xF000EDF0, 4), QByteArray("\x03\x00\x5F\xA0", 4)); // still halted
    const ChildRun run = Cli({"run"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(m_chip.PeekBus(0xF000EDF0, 4), QByteArray("\x01\x00\x5F\xA0", 4));
}

// A stop signal in the middle of a file transfer ends it between two chunks
// as cleanly as its normal end: the chip leaves debug mode; the tool says
// how far it got and fails.
TEST_F(CliTargetTest, TransferEndsCleanlyOnEachStopSignal)
{
    QFile in(m_home.filePath("in.bin"));
    ASSERT_TRUE(in.open(QIODevice::WriteOnly));
    in.write(QByteArray(0x100000, '\x5a'));
    in.close();
    const QRegularExpression stopped(R"(^transfer stopped after 0x([0-9a-f]+) of 0x(800000|100000) Bytes !\n$)");
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
        for (const bool reading : {true, false}) {
            SCOPED_TRACE(std::string(strsignal(signal)) + (reading ? " in read-file" : " in write-file"));
            m_chip.ClearRecord();
            m_chip.InjectDelay(20, 1000000); // each chunk's reply 20 ms late: seconds in all
            const int entered = m_chip.EnterCount();
            QProcess process;
            process.start(CliProgramPath(),
                          QStringList{"--home", m_home.path()} +
                              (reading ? QStringList{"read-file", "20000000", "800000", m_home.filePath("out.bin")}
                                       : QStringList{"write-file", "20000000", in.fileName()}));
            ASSERT_TRUE(process.waitForStarted());
            ASSERT_TRUE(m_chip.WaitForFrames(4, 20000)); // entered, and chunks on their way
            ::kill(pid_t(process.processId()), signal);
            ASSERT_TRUE(process.waitForFinished(20000));
            m_chip.ClearFaults();
            EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(process.exitCode(), 1);
            const QString err = QString::fromUtf8(process.readAllStandardError());
            const QRegularExpressionMatch match = stopped.match(err);
            ASSERT_TRUE(match.hasMatch()) << err.toStdString();
            EXPECT_GT(match.captured(1).toUInt(nullptr, 16), 0u);
            for (int i = 0; i < 400 && m_chip.LeaveCount() < m_chip.EnterCount(); ++i)
                QThread::msleep(5);
            EXPECT_EQ(m_chip.EnterCount(), entered + 1);
            EXPECT_EQ(m_chip.LeaveCount(), m_chip.EnterCount());
            EXPECT_FALSE(m_chip.InDebugMode());
        }
    }
}

// A FIFO nobody reads is refused at once, before the chip is reached; a
// terminal nobody reads takes a few KiB and then stalls the read: every stop
// signal still ends the tool between two writes, and the chip gets its leave
// frame.
TEST_F(CliTargetTest, ReadIntoAFifoIsRefusedAndAStalledOutputEndsOnEachStopSignal)
{
    const QString fifo = m_home.filePath("out.fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const ChildRun refused = RunCli({"--home", m_home.path(), "read-file", "20000000", "100000", fifo}, {}, 20000);
    ASSERT_TRUE(refused.finished) << refused.err.toStdString();
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err,
              "output file create fail !\n" + fifo.toUtf8() + ": not a regular file or a character device\n");
    EXPECT_EQ(m_chip.EnterCount(), 0);

    const QRegularExpression stopped(R"(^transfer stopped after 0x([0-9a-f]+) of 0x100000 Bytes !\n$)");
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
        SCOPED_TRACE(strsignal(signal));
        const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master, 0);
        ASSERT_EQ(::grantpt(master), 0);
        ASSERT_EQ(::unlockpt(master), 0);
        m_chip.ClearRecord();
        const int entered = m_chip.EnterCount();
        QProcess process;
        process.start(CliProgramPath(), QStringList{"--home", m_home.path(), "read-file", "20000000", "100000",
                                                    QString::fromLocal8Bit(::ptsname(master))});
        ASSERT_TRUE(process.waitForStarted());
        ASSERT_TRUE(m_chip.WaitForFrames(4, 20000)); // entered, and chunks on their way
        QThread::msleep(300);                        // the terminal full by now
        ::kill(pid_t(process.processId()), signal);
        const bool ended = process.waitForFinished(10000);
        if (!ended)
            process.kill();
        ::close(master);
        ASSERT_TRUE(ended);
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 1);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_TRUE(stopped.match(err).hasMatch()) << err.toStdString();
        for (int i = 0; i < 400 && m_chip.LeaveCount() < m_chip.EnterCount(); ++i)
            QThread::msleep(5);
        EXPECT_EQ(m_chip.EnterCount(), entered + 1);
        EXPECT_EQ(m_chip.LeaveCount(), m_chip.EnterCount());
        EXPECT_FALSE(m_chip.InDebugMode());
    }
}

// Two tools halting the two cores of one probe's target at the same moment:
// each merges its halt into what the other recorded meanwhile, so both halts
// stay recorded, round after round.
TEST_F(CliTargetTest, ConcurrentHaltsOfBothCoresAreBothRecorded)
{
    m_config.WriteInt("COMMON", "DATA_TYPE", 1);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("JLINK_STANDIN_CONFIG", m_home.filePath("standin.txt"));
    const QString record = m_home.filePath("halted-cores.ini");
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        QFile::remove(record);
        QProcess hcpu;
        QProcess lcpu;
        for (QProcess *process : {&hcpu, &lcpu})
            process->setProcessEnvironment(environment);
        hcpu.start(CliProgramPath(), QStringList{"--home", m_home.path(), "halt-hcpu"});
        lcpu.start(CliProgramPath(), QStringList{"--home", m_home.path(), "halt-lcpu"});
        for (QProcess *process : {&hcpu, &lcpu}) {
            ASSERT_TRUE(process->waitForFinished(20000));
            EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
        }
        const ConfigFile file(record);
        const QStringList words = file.ReadText("HALTED", "JLINK 123456", "", 256).split(' ');
        EXPECT_TRUE(words.contains("HCPU") && words.contains("LCPU")) << words.join(' ').toStdString();
    }
    const ChildRun run = Cli({"run"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(ConfigFile(record).ReadText("HALTED", "JLINK 123456", "", 256), "");
}

// A record that cannot be written fails the halt and the run with its
// message and status 1.
TEST_F(CliTargetTest, AnUnwritableRecordFailsTheHaltAndTheRun)
{
    m_config.WriteInt("COMMON", "DATA_TYPE", 1);
    ASSERT_TRUE(QDir(m_home.path()).mkdir("halted-cores.ini"));
    for (const char *command : {"halt-hcpu", "run"}) {
        SCOPED_TRACE(command);
        const ChildRun run = Cli({command});
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.err.contains("halted-cores.ini")) << run.err.toStdString();
    }
}

TEST_F(CliTargetTest, UsageErrors)
{
    for (const QStringList &arguments :
         QList<QStringList>{{}, {"read"}, {"read", "1", "2", "3"}, {"frobnicate"}, {"--home"}}) {
        const ChildRun run = RunCli(arguments);
        EXPECT_EQ(run.status, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("usage: corvane-cli")) << run.err.toStdString();
    }
    const ChildRun help = RunCli({"--help"});
    EXPECT_EQ(help.status, 0);
    for (const char *command : {"read ", "read-file", "write ", "write-file", "watchdog-off", "halt-hcpu", "halt-lcpu",
                                "clean-cache", "run "})
        EXPECT_TRUE(help.out.contains(command)) << command;
}

} // namespace

// corvane-cli's watch, diff and peripheral-read --format against the
// simulated chip.
#include "CliRig.h"
#include "support/FakeGdbServer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <thread>

namespace {

TEST(CliLiveCommands, WatchPrintsEachChangeOfARegister)
{
    CliRig rig;
    rig.chip.PokeWord(0x20001000, 0x31);
    rig.chip.AddFreeRunningCounter(0x20001024); // TIMER.DATA
    const ChildRun run = rig.Cli({"watch", "--interval", "20", "--count", "4", "TIMER", "GPIO"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.err, "");
    const QStringList lines = QString::fromUtf8(run.out).split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << run.out.toStdString();
    const QRegularExpression line(R"(^\d\d:\d\d:\d\d\.\d\d\d TIMER\.DATA 0x0000000(\d) 0x0000000(\d)$)");
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QRegularExpressionMatch match = line.match(lines[i]);
        ASSERT_TRUE(match.hasMatch()) << lines[i].toStdString();
        EXPECT_EQ(match.captured(1).toInt(), i + 1);
        EXPECT_EQ(match.captured(2).toInt(), i + 2);
    }
    EXPECT_EQ(rig.chip.EnterCount(), 4);
    EXPECT_EQ(rig.chip.LeaveCount(), 4);
}

TEST(CliLiveCommands, WatchStopsAtTheFirstFailureWithOneMessage)
{
    CliRig rig;
    rig.chip.AddFreeRunningCounter(0x20002000); // GPIO.OUT
    // Two refreshes go through (an enter and a read reply each), then the
    // chip stops answering.
    rig.chip.DeferFaults(4);
    rig.chip.InjectNoAnswer(1000);
    ChildRun run = rig.Cli({"watch", "--interval", "20", "--count", "10", "GPIO"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "EnterDebugMode error !\n");
    EXPECT_EQ(run.out.count('\n'), 1) << run.out.toStdString();
    EXPECT_TRUE(run.out.contains(" GPIO.OUT 0x00000001 0x00000002\n"));
    EXPECT_EQ(rig.chip.EnterCount(), 3) << "no refresh after the failure";

    rig.chip.ClearFaults();
    rig.UseOffline();
    run = rig.Cli({"watch", "GPIO"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Please select online data type !\n");
    EXPECT_EQ(run.out, "");

    // A port that is no terminal: the message, then the system's reason.
    rig.UseUart(6);
    const QString plain = rig.FilePath("plain-file");
    rig.PutFile(plain, "x");
    rig.config.WriteText("COMMON", "UART_PORT", plain);
    run = rig.Cli({"watch", "GPIO"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "uart open error !\n" + plain.toUtf8() + ": not a terminal\n");
    EXPECT_EQ(run.out, "");
}

// Without a count the watch runs until it is told to stop: by Ctrl+C, a
// termination request, a closed terminal or Ctrl+\. It stops between two
// refreshes, so the chip is let out of debug mode.
TEST(CliLiveCommands, WatchEndsCleanlyOnEachStopSignal)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
        SCOPED_TRACE(strsignal(signal));
        CliRig rig;
        QProcess process;
        process.start(CliProgramPath(), {"--home", rig.home.path(), "watch", "--interval", "20", "GPIO"});
        ASSERT_TRUE(process.waitForStarted());
        for (int i = 0; i < 2000 && rig.chip.EnterCount() < 3; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_GE(rig.chip.EnterCount(), 3);
        ::kill(pid_t(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        for (int i = 0; i < 2000 && rig.chip.LeaveCount() < rig.chip.EnterCount(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        EXPECT_EQ(rig.chip.LeaveCount(), rig.chip.EnterCount());
        EXPECT_FALSE(rig.chip.InDebugMode());
    }
}

// Over a GDB server the watch keeps one connection, lets the target run
// between refreshes and detaches once, whether its count ends it or a signal.
TEST(CliLiveCommands, WatchOverGdbHoldsOneConnectionAndDetachesOnce)
{
    for (const bool bySignal : {false, true}) {
        SCOPED_TRACE(bySignal ? "stopped by SIGINT" : "count of refreshes");
        CliRig rig;
        FakeGdbServer server{FakeGdbScript()};
        rig.config.WriteInt(ConfigKey::kCommon, ConfigKey::kDataType, 3);
        rig.config.WriteText(ConfigKey::kCommon, ConfigKey::kGdbServer, QString::fromStdString(server.Address()));
        const QStringList count = bySignal ? QStringList() : QStringList{"--count", "8"};
        QProcess process;
        process.start(CliProgramPath(),
                      QStringList{"--home", rig.home.path(), "watch", "--interval", "5"} + count + QStringList{"GPIO"});
        ASSERT_TRUE(process.waitForStarted());
        if (bySignal) {
            for (int i = 0; i < 2000 && server.CountOf("m") < 8; ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            ::kill(pid_t(process.processId()), SIGINT);
        }
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
        EXPECT_GE(server.CountOf("m"), 8);
        EXPECT_EQ(server.Connections(), 1);
        EXPECT_EQ(server.CountOf("c"), server.CountOf("m"));
        EXPECT_EQ(server.CountOf("D"), 1);
    }
}

TEST(CliLiveCommands, DiffNamesTheRegistersAndFieldsThatDiffer)
{
    CliRig rig;
    const QString a = rig.FilePath("a.bin");
    const QString b = rig.FilePath("b.bin");
    QByteArray imageA = Words({0x31, 0x10}) + QByteArray(0xF8, '\0');
    QByteArray imageB = Words({0x21, 0x10}) + QByteArray(0xF8, '\0');
    imageA.replace(0x24, 4, Words({0x1234}));
    imageB.replace(0x24, 4, Words({0x1235}));
    rig.PutFile(a, imageA);
    rig.PutFile(b, imageB);
    ChildRun run = rig.Cli({"diff", "TIMER", a, b});
    EXPECT_EQ(run.status, 1) << "they differ, as diff(1) says it; " << run.err.toStdString();
    EXPECT_EQ(run.out, "CR 0x00000031 0x00000021\nCR.MODE 3 2\nDATA 0x00001234 0x00001235\nDATA.LO 4660 4661\n");

    // Registers a file does not hold are never compared against invented
    // zeros; the file, its length and the span are named.
    struct Short
    {
        QByteArray fileB;
        QByteArray out;
        QByteArray err;
    };
    const QByteArray shortNote =
        "TIMER: " + b.toUtf8() + " holds 0x%1 bytes of the span 0x100; registers beyond its end are not compared\n";
    const Short shorts[] = {
        {imageB.left(0x24), "CR 0x00000031 0x00000021\nCR.MODE 0x3 0x2\n",
         QString::fromUtf8(shortNote).arg("24").toUtf8()},
        {imageB.left(8), "CR 0x00000031 0x00000021\nCR.MODE 0x3 0x2\n", QString::fromUtf8(shortNote).arg("8").toUtf8()},
        {QByteArray(), "", QString::fromUtf8(shortNote).arg("0").toUtf8()},
        {imageB + QByteArray(0x10, '\x55'),
         "CR 0x00000031 0x00000021\nCR.MODE 0x3 0x2\nDATA 0x00001234 0x00001235\nDATA.LO 0x1234 0x1235\n",
         "TIMER size 0x100 < file len 0x110, remove following data !\n"},
    };
    rig.config.WriteInt("COMMON", "HEX_DEC", 1);
    for (const Short &c : shorts) {
        SCOPED_TRACE(c.fileB.size());
        rig.PutFile(b, c.fileB);
        run = rig.Cli({"diff", "TIMER", a, b});
        EXPECT_EQ(run.status, c.out.isEmpty() ? 0 : 1) << "notes alone count for nothing";
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }

    run = rig.Cli({"diff", "TIMER", a, a});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");

    // Errors take status 2, without the usage line.
    run = rig.Cli({"diff", "TIMER", a, rig.FilePath("none.bin")});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, rig.FilePath("none.bin").toUtf8() + " open error! \n");
    run = rig.Cli({"diff", "NOPE", a, b});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "no peripheral NOPE in " + rig.home.filePath("svd/VX21A.svd").toUtf8() + "\n");
    EXPECT_EQ(run.out, "");
}

TEST(CliLiveCommands, PeripheralReadInCsvAndJson)
{
    CliRig rig;
    rig.chip.PokeWord(0x20002000, 0xA5);
    ChildRun run = rig.Cli({"peripheral-read", "--format", "csv", "GPIO"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, "peripheral,register,address,value,field,bits,field value,enumerated name\n"
                       "GPIO,OUT,0x20002000,0x000000A5,,,,\n"
                       "GPIO,OUT,0x20002000,0x000000A5,PIN,[0-7],165,\n");
    EXPECT_EQ(rig.ReadFile(rig.DataPath("GPIO")), Words({0xA5})) << "the snapshot file is written as before";

    run = rig.Cli({"peripheral-read", "--format", "json", "--base", "hex", "GPIO"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    const QJsonArray records = QJsonDocument::fromJson(run.out).array();
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[1].toObject().value("field").toString(), "PIN");
    EXPECT_EQ(records[1].toObject().value("fieldValue").toString(), "0xA5");
    EXPECT_EQ(records[0].toObject().value("value").toString(), "0x000000A5");

    run = rig.Cli({"peripheral-read", "--format", "text", "GPIO"});
    EXPECT_TRUE(run.out.startsWith("GPIO\t\t0x20002000 0x00000004\n"));
}

TEST(CliLiveCommands, UsageErrors)
{
    CliRig rig;
    const QStringList cases[] = {
        {"watch"},
        {"watch", "--interval", "0", "GPIO"},
        {"watch", "--count", "x", "GPIO"},
        {"watch", "--fast", "GPIO"},
        {"diff", "GPIO", "a.bin"},
        {"peripheral-read", "--format", "xml", "GPIO"},
        {"rows", "--format", "csv", "GPIO"},
    };
    for (const QStringList &arguments : cases) {
        SCOPED_TRACE(qPrintable(arguments.join(' ')));
        const ChildRun run = rig.Cli(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_TRUE(run.err.startsWith("usage: corvane-cli " + arguments[0].toUtf8() + " ")) << run.err.toStdString();
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(rig.chip.EnterCount(), 0);
}

} // namespace

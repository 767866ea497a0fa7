// corvane-cli over the scripted GDB server: a halt holds from one command to
// the next until `run`, a failed connect names the server and the system's
// reason, and a stop signal ends a transfer with the detach.

#include "GdbRig.h"
#include "support/ChildRun.h"
#include "support/FakeGdbServer.h"

#include <QProcess>
#include <QRegularExpression>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

struct GdbCliRig : GdbRig
{
    explicit GdbCliRig(const FakeGdbScript &script = FakeGdbScript())
        : GdbRig(QString())
        , server(script)
    {
        config.WriteText(ConfigKey::kCommon, ConfigKey::kGdbServer, QString::fromStdString(server.Address()));
    }
    QStringList Arguments(const QStringList &command) const
    {
        return QStringList{"--home", home.path(), "--chip", "AN505"} + command;
    }
    ChildRun Cli(const QStringList &command) const { return RunCli(Arguments(command)); }

    FakeGdbServer server;
};

TEST(GdbCommandLine, HaltHoldsFromCommandToCommandUntilRun)
{
    GdbCliRig rig;
    ChildRun run = rig.Cli({"halt-hcpu"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    run = rig.Cli({"read", "20000000", "10"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    run = rig.Cli({"write", "20000010", "12345678"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(rig.server.Word(0x20000010), 0x12345678u);
    EXPECT_EQ(rig.server.CountOf("D"), 0);

    run = rig.Cli({"run"});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(rig.server.CountOf("D"), 1);
    run = rig.Cli({"read", "20000000", "10"});
    EXPECT_EQ(rig.server.CountOf("D"), 2);
}

TEST(GdbCommandLine, ConnectFailureNamesTheServerAndTheReason)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    socklen_t size = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
    ::close(fd); // nothing listens there now
    GdbCliRig rig;
    const QString server = QString("127.0.0.1:%1").arg(ntohs(address.sin_port));
    rig.config.WriteText(ConfigKey::kCommon, ConfigKey::kGdbServer, server);
    const ChildRun run = rig.Cli({"read", "20000000", "4"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "gdb connect " + server.toUtf8() + " error !\nConnection refused\n");
}

// Between two chunks the transfer stops and the server gets its detach.
TEST(GdbCommandLine, TransferEndsWithTheDetachOnEachStopSignal)
{
    FakeGdbScript script;
    script.packetSize = 0x100; // 128 bytes a packet: thousands of packets for 8 MiB
    for (int signal : {SIGTERM, SIGINT, SIGHUP, SIGQUIT}) {
        SCOPED_TRACE(strsignal(signal));
        GdbCliRig rig(script);
        QProcess process;
        process.start(CliProgramPath(), rig.Arguments({"read-file", "20000000", "800000", rig.FilePath("out.bin")}));
        ASSERT_TRUE(process.waitForStarted());
        for (int i = 0; i < 2000 && rig.server.CountOf("m") < 40; ++i)
            QThread::msleep(5);
        ::kill(pid_t(process.processId()), signal);
        ASSERT_TRUE(process.waitForFinished(20000));
        EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process.exitCode(), 1);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_TRUE(
            QRegularExpression(R"(^transfer stopped after 0x[0-9a-f]+ of 0x800000 Bytes !\n$)").match(err).hasMatch())
            << err.toStdString();
        for (int i = 0; i < 200 && rig.server.CountOf("D") == 0; ++i)
            QThread::msleep(5);
        EXPECT_EQ(rig.server.CountOf("D"), 1);
        EXPECT_LT(rig.server.CountOf("m"), 0x800000 / 128);
    }
}

} // namespace

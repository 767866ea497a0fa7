#include "GdbRig.h"
#include "link/GdbRemote.h"
#include "link/HaltRecord.h"
#include "link/LinkCycle.h"
#include "ops/ChipControl.h"
#include "ops/MemoryOps.h"
#include "support/FakeGdbServer.h"

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

FakeGdbScript Script(int packetSize = 0x1000, bool offerNoAck = true, bool binaryWrites = true)
{
    FakeGdbScript script;
    script.packetSize = packetSize;
    script.offerNoAck = offerNoAck;
    script.binaryWrites = binaryWrites;
    return script;
}

using Fault = FakeGdbServer::Fault;

// The connect failure names the server it tried.
QString ConnectError(const QString &server)
{
    return "gdb connect " + server + " error !\n";
}

// One cycle reading `count` bytes at 0x20000000; the bytes, or nothing.
std::optional<QByteArray> ReadBytes(GdbRig &rig, uint32_t count, uint32_t address = 0x20000000)
{
    LinkCycle cycle(rig.config, rig.links, rig.context);
    if (!cycle.Preface() || !cycle.Open() || !cycle.Read(address, count))
        return std::nullopt;
    cycle.Close();
    return QByteArray(reinterpret_cast<const char *>(rig.links.buffer.data()), count);
}

bool WriteBytes(GdbRig &rig, const QByteArray &bytes, uint32_t address = 0x20000000)
{
    LinkCycle cycle(rig.config, rig.links, rig.context);
    if (!cycle.Preface() || !cycle.Open())
        return false;
    std::memcpy(rig.links.buffer.data(), bytes.constData(), size_t(bytes.size()));
    if (!cycle.Write(address, uint32_t(bytes.size())))
        return false;
    cycle.Close();
    return true;
}

QByteArray ServerBytes(const FakeGdbServer &server, uint32_t address, int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += char(server.Byte(address + uint32_t(i)));
    return bytes;
}

// Every byte value, the protocol's special characters among them.
QByteArray AllByteValues(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes += char((i * 37 + 11) & 0xFF);
    return bytes;
}

TEST(GdbWire, FramingEscapingAndRuns)
{
    EXPECT_EQ(GdbRemote::Frame("OK"), QByteArray("$OK#9a"));
    EXPECT_EQ(GdbRemote::Frame(""), QByteArray("$#00"));
    const uint8_t special[] = {'$', '#', '}', '*', 'a', 0};
    EXPECT_EQ(GdbRemote::EscapeBinary(special, 6), QByteArray("}\x04}\x03}]}\na\0", 10));

    struct Case
    {
        QByteArray payload;
        bool ok;
        QByteArray expanded;
    };
    const Case cases[] = {
        {"0* ", true, "0000"}, {"ab*\"c", true, "abbbbbbc"}, {"f*~", true, QByteArray(98, 'f')},
        {"*0", false, {}},     // nothing to repeat
        {"0*", false, {}},     // count missing
        {"0*\x1f", false, {}}, // a count below three repeats is not a run
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.payload.toStdString());
        QByteArray out;
        EXPECT_EQ(GdbRemote::ExpandRuns(c.payload, &out), c.ok);
        if (c.ok) {
            EXPECT_EQ(out, c.expanded);
        }
    }
}

TEST(GdbWire, ServerTextIsHostColonPort)
{
    struct Case
    {
        const char *text;
        bool ok;
        const char *host;
        uint16_t port;
    };
    const Case cases[] = {
        {"localhost:3333", true, "localhost", 3333},
        {" 10.0.0.7:2331 ", true, "10.0.0.7", 2331},
        {":1234", true, "localhost", 1234},
        {"[::1]:3333", true, "::1", 3333},
        {"localhost", false, "", 0},
        {"host:0", false, "", 0},
        {"host:65536", false, "", 0},
        {"host:33x", false, "", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        QByteArray host;
        uint16_t port = 0;
        EXPECT_EQ(GdbRemote::SplitServer(c.text, &host, &port), c.ok);
        if (c.ok) {
            EXPECT_EQ(host, QByteArray(c.host));
            EXPECT_EQ(port, c.port);
        }
    }
}

TEST(GdbSettings, ServerDefaultsToLocalPort3333)
{
    GdbRig rig("unused:1");
    rig.config.WriteText(ConfigKey::kCommon, ConfigKey::kGdbServer, QString());
    EXPECT_EQ(LoadSettings(rig.config, SettingsPart::Gdb).gdbServer, "localhost:3333");
    EXPECT_EQ(LoadSettings(rig.config, SettingsPart::Gdb).dataSource, 3);
}

TEST(GdbLink, ReadsInPacketsAsLargeAsTheServerTakesThenDetaches)
{
    for (bool noAck : {true, false}) {
        SCOPED_TRACE(noAck ? "no-acknowledgement mode" : "acknowledged packets");
        FakeGdbServer server(Script(0x100, noAck));
        GdbRig rig(QString::fromStdString(server.Address()));
        const auto bytes = ReadBytes(rig, 4096);
        ASSERT_TRUE(bytes) << rig.user.messages.join('|').toStdString();
        EXPECT_EQ(*bytes, ServerBytes(server, 0x20000000, 4096));
        EXPECT_TRUE(rig.user.messages.isEmpty());
        // 0x100 characters carry 128 bytes of hex; the server refuses more.
        EXPECT_EQ(server.CountOf("m"), 32);
        EXPECT_EQ(server.CountOf("QStartNoAckMode"), noAck ? 1 : 0);
        EXPECT_EQ(server.Commands().back(), "D");
        EXPECT_FALSE(rig.links.gdb.IsConnected());
    }
}

TEST(GdbLink, WritesBinaryWhereTakenAndHexOtherwise)
{
    for (bool binary : {true, false}) {
        SCOPED_TRACE(binary ? "X" : "M");
        FakeGdbServer server(Script(0x200, true, binary));
        GdbRig rig(QString::fromStdString(server.Address()));
        const QByteArray data = AllByteValues(3000);
        ASSERT_TRUE(WriteBytes(rig, data, 0x20001000)) << rig.user.messages.join('|').toStdString();
        EXPECT_EQ(ServerBytes(server, 0x20001000, data.size()), data);
        if (binary) {
            EXPECT_GE(server.CountOf("X"), 6);
            EXPECT_EQ(server.CountOf("M"), 0);
        } else {
            // One X learns that binary writes are not taken; hex from then on.
            EXPECT_EQ(server.CountOf("X"), 1);
            EXPECT_GE(server.CountOf("M"), 12);
        }
    }
}

TEST(GdbLink, StopNoticeBeforeTheFirstReplyIsPassedOver)
{
    for (bool noAck : {false, true}) {
        SCOPED_TRACE(noAck);
        FakeGdbScript script = Script(0x100, noAck);
        script.stopNoticeOnConnect = true;
        FakeGdbServer server(script);
        GdbRig rig(QString::fromStdString(server.Address()));
        const auto bytes = ReadBytes(rig, 512);
        ASSERT_TRUE(bytes) << rig.user.messages.join('|').toStdString();
        EXPECT_EQ(*bytes, ServerBytes(server, 0x20000000, 512));
        EXPECT_EQ(rig.links.gdb.PacketSize(), 0x100); // the real qSupported reply was read
    }
}

TEST(GdbLink, MultiprocessServerIsDetachedWithItsProcess)
{
    FakeGdbScript script;
    script.multiprocess = true;
    FakeGdbServer server(script);
    GdbRig rig(QString::fromStdString(server.Address()));
    ASSERT_TRUE(ReadBytes(rig, 4));
    EXPECT_EQ(server.Commands().back(), "D;2a");
    EXPECT_FALSE(rig.links.gdb.IsConnected());
}

TEST(GdbLink, RunningTargetIsInterruptedBeforeTheBody)
{
    FakeGdbScript script;
    script.startsRunning = true;
    FakeGdbServer server(script);
    GdbRig rig(QString::fromStdString(server.Address()));
    ASSERT_TRUE(ReadBytes(rig, 8)) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(server.Interrupts(), 1);
}

// A server fault gives its one message, with the reason on a line after it,
// within the deadlines, never a success.
TEST(GdbLink, ServerFaultsGiveTheirMessage)
{
    struct Case
    {
        const char *prefix;
        Fault fault;
        bool write;
        const char *message; // nullptr: the connect failure
        const char *reason;
    };
    const char kRead[] = "gdb_ReadMem 0x20000000 0x40 error !\n";
    const char kWrite[] = "gdb_WriteMem 0x20000000 0x40 error !\n";
    const char kNoReply[] = "no reply within 3000 ms";
    const char kClosed[] = "closed by the server";
    const char kGarbled[] = "a garbled reply";
    const char kError[] = "the server answered \"E01\"";
    const Case cases[] = {
        {"qSupported", Fault::Hang, false, nullptr, kNoReply},
        {"qSupported", Fault::Close, false, nullptr, kClosed},
        {"qSupported", Fault::Garbage, false, nullptr, kGarbled},
        {"qSupported", Fault::BadChecksum, false, nullptr, kGarbled},
        {"?", Fault::Close, false, nullptr, kClosed},
        {"?", Fault::Error, false, nullptr, kError},
        {"m", Fault::Hang, false, kRead, kNoReply},
        {"m", Fault::Close, false, kRead, kClosed},
        {"m", Fault::Garbage, false, kRead, kGarbled},
        {"m", Fault::Error, false, kRead, kError},
        {"m", Fault::BadChecksum, false, kRead, kGarbled},
        {"X", Fault::Hang, true, kWrite, kNoReply},
        {"X", Fault::Error, true, kWrite, kError},
        {"X", Fault::BadChecksum, true, kWrite, kGarbled},
        {"X", Fault::Close, true, kWrite, kClosed},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.prefix) + " fault " + std::to_string(int(c.fault)));
        FakeGdbScript script;
        script.faultPrefix = c.prefix;
        script.fault = c.fault;
        FakeGdbServer server(script);
        GdbRig rig(QString::fromStdString(server.Address()));
        rig.links.buffer.SetWord(0, 0x5A5A5A5A);
        bool ok = true;
        const long long ms =
            MillisecondsOf([&] { ok = c.write ? WriteBytes(rig, QByteArray(0x40, 'w')) : bool(ReadBytes(rig, 0x40)); });
        EXPECT_FALSE(ok);
        EXPECT_EQ(rig.user.messages,
                  QStringList{c.message ? QString(c.message) : ConnectError(QString::fromStdString(server.Address()))});
        EXPECT_EQ(rig.user.reasons, QStringList{c.reason});
        // The reply deadline, and once more for the interrupt after an unanswered "?".
        EXPECT_LT(ms, 2 * GdbRemote::kDefaultReplyTimeoutMs + 2000);
        EXPECT_EQ(rig.user.busyDepth, 0);
        EXPECT_FALSE(rig.links.gdb.IsConnected());
    }
}

TEST(GdbLink, RefusedPortUnknownHostAndBadServerTextFailAtOnceWithTheirReason)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    socklen_t size = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size);
    ::close(fd); // nothing listens there now
    struct Case
    {
        QString server;
        const char *reason; // nullptr: the resolver's, which differs between systems
    };
    const Case cases[] = {
        {QString("127.0.0.1:%1").arg(ntohs(address.sin_port)), "Connection refused"},
        {"no-port-here", "not host:port"},
        {"no-such-host.invalid:3333", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.server.toStdString());
        GdbRig rig(c.server);
        const long long ms = MillisecondsOf([&] { EXPECT_FALSE(ReadBytes(rig, 4)); });
        EXPECT_EQ(rig.user.messages, QStringList{ConnectError(c.server)});
        ASSERT_EQ(rig.user.reasons.size(), 1);
        if (c.reason) {
            EXPECT_EQ(rig.user.reasons[0], c.reason);
        } else {
            EXPECT_FALSE(rig.user.reasons[0].isEmpty());
        }
        EXPECT_LT(ms, 1000);
    }
}

TEST(GdbLink, OtherUnknownSourcesStillMeanUart)
{
    GdbRig rig("127.0.0.1:1");
    rig.config.WriteInt(ConfigKey::kCommon, ConfigKey::kDataType, 4);
    EXPECT_FALSE(ReadBytes(rig, 4));
    EXPECT_EQ(rig.user.messages, QStringList{"AN505 not support uart debug !"});
}

TEST(GdbOperations, MemoryOperationsRefusedWriteAndChecksFirst)
{
    FakeGdbScript script;
    script.refusedFrom = 0x30000000;
    FakeGdbServer server(script);
    GdbRig rig(QString::fromStdString(server.Address()));
    MemoryOps::WriteWord(rig.env, 0x20000010, 0xCAFEF00D);
    EXPECT_EQ(server.Word(0x20000010), 0xCAFEF00Du);
    MemoryOps::WriteWord(rig.env, 0x30000000, 0x1);
    EXPECT_EQ(rig.user.messages, QStringList{"gdb_WriteMem 0x30000000 0x4 error !\n"});
    // The operation's own checks come before the link: no connection at all.
    const int connections = server.Connections();
    MemoryOps::WriteWord(rig.env, 0x10000000, 0x1);
    EXPECT_EQ(rig.user.messages.last(), "0x20000000 > ADDR, please check!");
    EXPECT_EQ(server.Connections(), connections);
}

TEST(GdbOperations, HaltLeavesTheTargetStoppedOtherActionsDetach)
{
    FakeGdbServer server{FakeGdbScript()};
    GdbRig rig(QString::fromStdString(server.Address()), "VX21D");
    ChipControl::WatchdogOff(rig.env);
    EXPECT_EQ(server.Word(0x5009400C), 0x34u);
    EXPECT_EQ(server.Word(0x500CC00C), 0x34u);
    EXPECT_EQ(server.CountOf("D"), 1);

    ChipControl::HaltHcpu(rig.env);
    EXPECT_EQ(server.CountOf("D"), 1); // closed without detach: the core stays stopped
    EXPECT_FALSE(rig.links.gdb.IsConnected());
    EXPECT_TRUE(rig.user.messages.isEmpty());
}

TEST(GdbOperations, HaltLcpuReconnectsWithTheFlagSet)
{
    FakeGdbServer server{FakeGdbScript()};
    GdbRig rig(QString::fromStdString(server.Address()), "VX21A");
    ChipControl::HaltLcpu(rig.env, {0, 0, 0});
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(server.Connections(), 2);
    EXPECT_EQ(server.Byte(0x500C002C) & 1, 1);
    EXPECT_EQ(server.Word(0x5000B008), 0u);
    EXPECT_EQ(server.CountOf("D"), 0);
    std::vector<std::string> writes;
    for (const std::string &c : server.Commands())
        if (c[0] == 'X')
            writes.push_back(c.substr(0, c.find(':')));
    EXPECT_EQ(writes, (std::vector<std::string>{"X500c002c,4", "X5000b008,4", "X5000b008,4"}));
}

// A halt holds through every later action until the run: each leaves
// without the detach, and the run's detach lets the target go.
TEST(GdbOperations, HaltedTargetStaysHaltedUntilRun)
{
    FakeGdbServer server{FakeGdbScript()};
    GdbRig rig(QString::fromStdString(server.Address()), "VX21D");
    ChipControl::HaltHcpu(rig.env, {0, 0, 0});
    ASSERT_TRUE(ReadBytes(rig, 16));
    ASSERT_TRUE(WriteBytes(rig, "abcd"));
    ChipControl::WatchdogOff(rig.env);
    EXPECT_EQ(server.Connections(), 4);
    EXPECT_EQ(server.CountOf("D"), 0);
    EXPECT_EQ(HaltRecord::Read(rig.config, "GDB " + QString::fromStdString(server.Address())),
              (HaltedCores{.hcpu = true}));

    ChipControl::Run(rig.env);
    EXPECT_EQ(server.CountOf("D"), 1);
    EXPECT_EQ(HaltRecord::Read(rig.config, "GDB " + QString::fromStdString(server.Address())), HaltedCores{});
    ASSERT_TRUE(ReadBytes(rig, 16));
    EXPECT_EQ(server.CountOf("D"), 2); // running again: detached as before the halt
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
}

// The LCPU's run reaches it as its halt did, through a second connection
// with the flag set, and detaches both.
TEST(GdbOperations, RunAfterHaltLcpuDetachesBothConnections)
{
    FakeGdbServer server{FakeGdbScript()};
    GdbRig rig(QString::fromStdString(server.Address()), "VX21C");
    ChipControl::HaltLcpu(rig.env, {0, 0, 0});
    EXPECT_EQ(server.CountOf("D"), 0);
    ChipControl::Run(rig.env);
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(server.Connections(), 4);
    EXPECT_EQ(server.CountOf("D"), 2);
    EXPECT_EQ(server.CountOf("X5000b008,4"), 4);
    EXPECT_EQ(server.Word(0x5000B008), 0u);
}

// A server that had to interrupt the target found it running: whatever let
// it run, the record no longer holds and the target runs on after the action.
TEST(GdbOperations, ATargetFoundRunningOverrulesTheRecord)
{
    FakeGdbScript script;
    script.startsRunning = true;
    FakeGdbServer server(script);
    GdbRig rig(QString::fromStdString(server.Address()));
    rig.links.gdb.SetReplyTimeoutMs(300);
    const QString target = "GDB " + QString::fromStdString(server.Address());
    ASSERT_TRUE(HaltRecord::Write(rig.config, target, {.hcpu = true}));
    ASSERT_TRUE(ReadBytes(rig, 8)) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(server.Interrupts(), 1);
    EXPECT_EQ(server.CountOf("D"), 1);
    EXPECT_EQ(HaltRecord::Read(rig.config, target), HaltedCores{});
}

} // namespace

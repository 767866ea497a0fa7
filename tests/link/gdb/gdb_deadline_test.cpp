// The GDB link keeps its deadlines whatever the server sends: floods of
// unasked bytes end with their message in time and at little processor
// cost, and a stream that failed is closed without another exchange.

#include "GdbRig.h"
#include "link/GdbRemote.h"
#include "link/LinkCycle.h"
#include "support/FakeGdbServer.h"

#include <QThread>

#include <gtest/gtest.h>

#include <ctime>

namespace {

using Fault = FakeGdbServer::Fault;
using Flood = FakeGdbServer::Flood;

constexpr long long kDeadlineMs = GdbRemote::kDefaultReplyTimeoutMs;

// Processor time of the calling thread, where the client runs; the scripted
// server runs on a thread of its own.
long long ThreadProcessorMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

bool ReadBytes(GdbRig &rig, uint32_t count)
{
    LinkCycle cycle(rig.config, rig.links, rig.context);
    if (!cycle.Preface() || !cycle.Open() || !cycle.Read(0x20000000, count))
        return false;
    cycle.Close();
    return true;
}

const char *Name(Flood flood)
{
    switch (flood) {
    case Flood::StopPackets:
        return "stop packets";
    case Flood::ConsolePackets:
        return "console packets";
    case Flood::Noise:
        return "noise";
    case Flood::Acks:
        return "+ storm";
    case Flood::Resends:
        return "- storm";
    case Flood::BrokenNotices:
        return "notices with bad checksums";
    case Flood::None:
        break;
    }
    return "none";
}

TEST(GdbFlood, EachKindEndsWithItsMessageWithinTheDeadline)
{
    const char kRead[] = "gdb_ReadMem 0x20000000 0x40 error !\n";
    const char kFlooded[] = "the server kept sending without the reply";
    struct Case
    {
        Flood flood;
        bool onConnect; // else instead of the reply to the first read
        int pauseUs;    // between two units of the flood; 0: as fast as taken
        const char *reason;
    };
    const Case cases[] = {
        {Flood::StopPackets, true, 0, kFlooded},
        {Flood::ConsolePackets, true, 0, kFlooded},
        {Flood::Noise, true, 0, kFlooded},
        {Flood::Acks, true, 0, kFlooded},
        {Flood::Resends, true, 0, "the server took no resend of the packet"},
        {Flood::BrokenNotices, true, 0, kFlooded},
        {Flood::StopPackets, false, 0, kFlooded},
        {Flood::ConsolePackets, false, 0, kFlooded},
        {Flood::Noise, false, 0, kFlooded},
        {Flood::Acks, false, 0, kFlooded},
        {Flood::Resends, false, 0, kFlooded},
        {Flood::BrokenNotices, false, 0, kFlooded},
        // A trickle never reaches the flood limit: the deadline ends it.
        {Flood::StopPackets, false, 2000, "no reply within 3000 ms"},
        {Flood::ConsolePackets, true, 2000, "no reply within 3000 ms"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(Name(c.flood)) + (c.onConnect ? " from the connection on" : " instead of a reply") +
                     (c.pauseUs ? ", trickling" : ""));
        FakeGdbScript script;
        script.flood = c.flood;
        script.floodsOnConnect = c.onConnect;
        script.floodPrefix = "m";
        script.floodPauseUs = c.pauseUs;
        FakeGdbServer server(script);
        GdbRig rig(QString::fromStdString(server.Address()));
        const long long processorBefore = ThreadProcessorMs();
        bool ok = true;
        const long long ms = MillisecondsOf([&] { ok = ReadBytes(rig, 0x40); });
        const long long processorMs = ThreadProcessorMs() - processorBefore;
        EXPECT_FALSE(ok);
        const QString message =
            c.onConnect ? QString("gdb connect %1 error !\n").arg(server.Address().c_str()) : QString(kRead);
        EXPECT_EQ(rig.user.messages, QStringList{message});
        EXPECT_EQ(rig.user.reasons, QStringList{c.reason});
        EXPECT_LT(ms, kDeadlineMs + 500);
        EXPECT_LT(processorMs, 500);
        EXPECT_FALSE(rig.links.gdb.IsConnected());
        EXPECT_EQ(rig.user.busyDepth, 0);
    }
}

// After a failed stream the close sends nothing more and waits for
// nothing; after an error reply the stream is sound and the target is
// detached, so it runs on.
TEST(GdbFlood, FailedStreamClosesWithoutDetachAnErrorReplyDetaches)
{
    struct Case
    {
        Fault fault;
        bool detached;
    };
    const Case cases[] = {
        {Fault::Hang, false},
        {Fault::Garbage, false},
        {Fault::BadChecksum, false},
        {Fault::Error, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.fault));
        FakeGdbScript script;
        script.faultPrefix = "m";
        script.fault = c.fault;
        FakeGdbServer server(script);
        GdbRig rig(QString::fromStdString(server.Address()));
        bool ok = true;
        const long long ms = MillisecondsOf([&] { ok = ReadBytes(rig, 0x40); });
        EXPECT_FALSE(ok);
        EXPECT_EQ(rig.user.messages, QStringList{"gdb_ReadMem 0x20000000 0x40 error !\n"});
        EXPECT_LT(ms, kDeadlineMs + 500);
        // The scripted server takes commands after every fault but silence.
        if (c.fault != Fault::Hang) {
            for (int i = 0; i < 100 && server.CountOf("D") < int(c.detached); ++i)
                QThread::msleep(10);
            EXPECT_EQ(server.CountOf("D"), int(c.detached));
        }
    }
}

// Console output from a running target before the reply to "?" is passed
// over as it is everywhere else.
TEST(GdbFlood, ConsoleOutputBeforeTheStopReplyIsPassedOver)
{
    for (bool noAck : {false, true}) {
        SCOPED_TRACE(noAck);
        FakeGdbScript script;
        script.offerNoAck = noAck;
        script.consolePacketsBeforeStop = 3;
        FakeGdbServer server(script);
        GdbRig rig(QString::fromStdString(server.Address()));
        EXPECT_TRUE(ReadBytes(rig, 8)) << rig.user.messages.join('|').toStdString();
        EXPECT_TRUE(rig.user.messages.isEmpty());
        EXPECT_EQ(server.Interrupts(), 0);
        EXPECT_EQ(server.Commands().back(), "D");
    }
}

} // namespace

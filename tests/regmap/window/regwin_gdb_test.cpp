// Register windows and the snapshot capture over a GDB server (the scripted
// one of the tests): the same files, rows and messages as over the other links.

#include "support/RegwinRig.h"

#include "ops/ChipControl.h"
#include "ops/SnapshotCapture.h"
#include "regmap/RegisterWatch.h"
#include "support/FakeGdbServer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace {

struct OneRow : PeripheralListRows
{
    int RowCount() const override { return 1; }
    QString RowName(int) const override { return "TIMER"; }
    bool IsTicked(int) const override { return true; }
    bool IsMarked(int, int slot) const override { return slot == 0; }
};

struct GdbRegwinRig : RegwinRig
{
    explicit GdbRegwinRig(FakeGdbScript script = FakeGdbScript())
        : server(std::move(script))
    {
        config.WriteInt(ConfigKey::kCommon, ConfigKey::kDataType, 3);
        config.WriteText(ConfigKey::kCommon, ConfigKey::kGdbServer, QString::fromStdString(server.Address()));
    }
    void Poke(uint32_t address, uint32_t word)
    {
        for (int i = 0; i < 4; ++i)
            server.SetByte(address + i, uint8_t(word >> (8 * i)));
    }
    FakeGdbServer server;
};

TEST(RegisterOverGdb, PeripheralReadRegisterWriteAndCapture)
{
    GdbRegwinRig rig;
    for (uint32_t i = 0; i < 0x100; i += 4)
        rig.Poke(0x20001000 + i, 0xB0000000 + i);
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    window.SetSelection(Peripheral(window, "TIMER"), false);
    window.ReadSelection();
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(rig.ReadFile(rig.DataPath("TIMER")).mid(0x24, 4), Words({0xB0000024}));
    EXPECT_EQ(Register(window, "TIMER", "DATA")->Name(), "DATA              0xB0000024");

    RegisterRow *data = Register(window, "TIMER", "DATA");
    SetRegisterValue(window, data, 0x12345678);
    window.SetSelection(data, true);
    window.WriteSelection();
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(rig.server.Word(0x20001024), 0x12345678u);
    EXPECT_EQ(rig.server.Word(0x20001020), 0xB0000020u);

    rig.Poke(0x20001000, 0x000000A5);
    rig.user.dataSourceEntry = 3;
    OneRow list;
    OperationEnv env{rig.config, rig.links, rig.context, {}};
    SnapshotCapture::Run(env, rig.home.path(), list, rig.table);
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(Register(window, "TIMER", "CR")->Name(), "CR                0x000000A5");
    EXPECT_EQ(rig.server.CountOf("D"), 3); // every action detached at its end
}

TEST(RegisterOverGdb, FailedRegisterTransfersNameTheGdbStep)
{
    FakeGdbScript script;
    script.faultPrefix = "m";
    script.fault = FakeGdbScript::Fault::Error;
    script.refusedFrom = 0x20000000;
    GdbRegwinRig rig(script);
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    window.SetSelection(Register(window, "TIMER", "DATA"), true);
    window.ReadSelection();
    window.WriteSelection();
    EXPECT_EQ(rig.user.messages,
              (QStringList{"gdb_ReadMem 0x20001024 4 error !\n", "gdb_WriteMem 0x20001024 4 error !\n"}));
    // Each with the server's answer as its reason.
    EXPECT_EQ(rig.user.reasons, (QStringList{"the server answered \"E01\"", "the server answered \"E14\""}));
    EXPECT_FALSE(rig.links.gdb.IsConnected());
}

// After a halt, the window's reads and writes, the capture and the watch's
// refreshes all leave without the detach; only the run lets the target go.
TEST(RegisterOverGdb, HaltedTargetStaysHaltedThroughWindowCaptureAndWatch)
{
    GdbRegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    OperationEnv env{rig.config, rig.links, rig.context, {}};
    ChipControl::HaltHcpu(env, {0, 0, 0});

    window.SetSelection(Peripheral(window, "TIMER"), false);
    window.ReadSelection();
    RegisterRow *data = Register(window, "TIMER", "DATA");
    SetRegisterValue(window, data, 0x12345678);
    window.SetSelection(data, true);
    window.WriteSelection();
    rig.user.dataSourceEntry = 3;
    OneRow list;
    SnapshotCapture::Run(env, rig.home.path(), list, rig.table);
    RegisterWatch::Settings settings;
    settings.chipModel = rig.user.ChipModel();
    settings.interval = std::chrono::milliseconds(10);
    settings.refreshLimit = 3;
    settings.peripherals = RegisterWatch::PeripheralsOf(window.Tree());
    RegisterWatch watch(rig.config, rig.links);
    QStringList stops;
    ASSERT_TRUE(watch.Start(
        settings, [](const std::vector<PeripheralBytes> &) {}, [&](const QString &message) { stops << message; }));
    watch.Wait();

    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(stops, QStringList{QString()});
    EXPECT_EQ(rig.server.Word(0x20001024), 0x12345678u);
    EXPECT_EQ(rig.server.Connections(), 5); // halt, read, write, capture, the watch's one
    EXPECT_EQ(rig.server.CountOf("c"), 0);  // the watch never let the halted target run
    EXPECT_EQ(rig.server.CountOf("D"), 0);

    ChipControl::Run(env);
    EXPECT_EQ(rig.server.CountOf("D"), 1);
    window.SetSelection(Peripheral(window, "TIMER"), false);
    window.ReadSelection();
    EXPECT_EQ(rig.server.CountOf("D"), 2);
}

// A watch over a GDB server: its refreshes, and the actions that come while
// it runs, share one connection; between refreshes the target runs.
struct GdbWatchRig : GdbRegwinRig
{
    using GdbRegwinRig::GdbRegwinRig;

    // Runs a watch of TIMER for `refreshes` refreshes; `afterRefresh` runs
    // on the watch's thread after each one (given its number, from 1).
    QStringList Watch(int refreshes, const std::function<void(int)> &afterRefresh = {})
    {
        RegisterWindow &window = WindowWith({"TIMER"});
        RegisterWatch::Settings settings;
        settings.chipModel = user.ChipModel();
        settings.interval = std::chrono::milliseconds(5);
        settings.refreshLimit = refreshes;
        settings.peripherals = RegisterWatch::PeripheralsOf(window.Tree());
        RegisterWatch watch(config, links);
        QStringList stops;
        int done = 0;
        EXPECT_TRUE(watch.Start(
            settings,
            [&](const std::vector<PeripheralBytes> &) {
                if (afterRefresh)
                    afterRefresh(++done);
            },
            [&](const QString &message) { stops << message; }));
        watch.Wait();
        return stops;
    }
};

TEST(RegisterWatchOverGdb, OneConnectionForTheWholeWatchWithTheTargetRunningBetweenRefreshes)
{
    GdbWatchRig rig;
    const QStringList stops = rig.Watch(20);
    EXPECT_EQ(stops, QStringList{QString()});
    EXPECT_EQ(rig.server.Connections(), 1);
    EXPECT_EQ(rig.server.CountOf("qSupported"), 1);
    EXPECT_EQ(rig.server.CountOf("c"), 20);
    EXPECT_EQ(rig.server.CountOf("m"), 20);
    // Each read, then the target let run; the server answers an interrupt
    // only of a running target, once for each later refresh and for the detach.
    std::vector<std::string> commands = rig.server.Commands();
    const auto firstRead =
        std::find_if(commands.begin(), commands.end(), [](const std::string &c) { return c[0] == 'm'; });
    std::vector<std::string> kinds;
    for (auto it = firstRead; it != commands.end(); ++it)
        kinds.push_back(it->substr(0, 1));
    std::vector<std::string> expected;
    for (int i = 0; i < 20; ++i)
        expected.insert(expected.end(), {"m", "c"});
    expected.push_back("D");
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(rig.server.Interrupts(), 20);
    EXPECT_EQ(rig.server.CountOf("D"), 1);
    EXPECT_FALSE(rig.links.gdb.IsConnected());
}

// A halt from the user while the watch runs takes the watch's connection;
// the refreshes after it leave the core halted, and so does the watch's end.
TEST(RegisterWatchOverGdb, UserHaltDuringTheWatchGoesThroughItsConnectionAndHolds)
{
    GdbWatchRig rig;
    OperationEnv env{rig.config, rig.links, rig.context, {}};
    const QStringList stops = rig.Watch(6, [&](int refresh) {
        if (refresh == 2)
            ChipControl::HaltHcpu(env, {0, 0, 0});
    });
    EXPECT_EQ(stops, QStringList{QString()});
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join('|').toStdString();
    EXPECT_EQ(rig.server.Connections(), 1);
    EXPECT_EQ(rig.server.CountOf("c"), 2); // refreshes 1 and 2, before the halt
    EXPECT_EQ(rig.server.CountOf("D"), 0);
    EXPECT_FALSE(rig.server.Running());

    ChipControl::Run(env);
    EXPECT_EQ(rig.server.Connections(), 2);
    EXPECT_EQ(rig.server.CountOf("D"), 1);
}

// A connection the server drops is made again once; a server that then
// refuses it ends the watch with the connect failure.
TEST(RegisterWatchOverGdb, LostConnectionReconnectsOnceBeforeTheWatchStops)
{
    GdbWatchRig rig;
    QStringList stops = rig.Watch(6, [&](int refresh) {
        if (refresh == 3)
            rig.server.DropClient();
    });
    EXPECT_EQ(stops, QStringList{QString()});
    EXPECT_EQ(rig.server.Connections(), 2);
    EXPECT_EQ(rig.server.CountOf("m"), 6);
    EXPECT_EQ(rig.server.CountOf("D"), 1);

    FakeGdbScript script;
    script.acceptedConnections = 1;
    GdbWatchRig refused(script);
    stops = refused.Watch(6, [&](int refresh) {
        if (refresh == 3)
            refused.server.DropClient();
    });
    const QString connectFailure = QString("gdb connect %1 error !\n").arg(refused.server.Address().c_str());
    EXPECT_EQ(stops, QStringList{connectFailure});
    EXPECT_EQ(refused.server.Connections(), 2);
    EXPECT_EQ(refused.server.CountOf("m"), 3);
}

} // namespace

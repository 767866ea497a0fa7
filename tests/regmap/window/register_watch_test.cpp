// A watch re-reading a window's peripherals over the simulated chip, with
// user actions and faults in between.
#include "support/RegwinRig.h"
#include "RequestDecoder.h"
#include "regmap/RegisterWatch.h"
#include "regmap/RowChanges.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;

RegisterWatch::Settings SettingsFor(RegisterWindow &window, RegwinRig &rig, std::chrono::milliseconds interval,
                                    int limit = 0)
{
    RegisterWatch::Settings settings;
    settings.chipModel = rig.user.ChipModel();
    settings.interval = interval;
    settings.refreshLimit = limit;
    settings.peripherals = RegisterWatch::PeripheralsOf(window.Tree());
    return settings;
}

// The cycles the chip saw, one text each: "E R20001000/256 L".
QStringList CyclesOnTheLine(const SimulatedChip &chip)
{
    RequestDecoder decoder(ChipBusView::ByteOrder::Little);
    QStringList cycles;
    QString cycle;
    for (const QByteArray &frame : chip.ReceivedFrames()) {
        decoder.Feed(frame.constData(), int(frame.size()));
        const std::optional<RequestDecoder::Frame> decoded = decoder.Next();
        if (!decoded)
            continue;
        const QByteArray &p = decoded->payload;
        auto byte = [&](int i) { return uint32_t(uint8_t(p[i])); };
        if (p.startsWith("ATVX21") && byte(6) == 0x05) {
            cycle = "E";
        } else if (p.startsWith("ATVX21") && byte(6) == 0x18) {
            cycles << cycle + " L";
            cycle.clear();
        } else if (p.size() >= 8 && byte(1) == 0x72) {
            const uint32_t address = byte(2) | byte(3) << 8 | byte(4) << 16 | byte(5) << 24;
            cycle += QStringLiteral(" R%1/%2").arg(address, 8, 16, QChar(u'0')).arg((byte(6) | byte(7) << 8) * 4);
        }
    }
    return cycles;
}

TEST(RegisterWatch, AUserActionWaitsForTheRunningRefreshAndGoesBeforeTheNext)
{
    RegwinRig rig;
    rig.UseUart(6);
    RegisterWindow &window = rig.WindowWith({"TIMER", "GPIO"});
    // Slow replies make a refresh long enough to be met by the user.
    rig.chip.InjectDelay(150, 1000);
    RegisterWatch watch(rig.config, rig.links);
    std::atomic<int> refreshes{0};
    QStringList stops;
    ASSERT_TRUE(watch.Start(
        SettingsFor(window, rig, 10ms), [&](const auto &) { ++refreshes; },
        [&](const QString &message) { stops << message; }));
    EXPECT_FALSE(watch.Start(SettingsFor(window, rig, 10ms), {}, {})) << "one watch at a time";
    ASSERT_TRUE(WaitFor([&] { return rig.chip.InDebugMode(); }));

    rig.chip.PokeWord(0x20002000, 0x77);
    window.SetSelection(Register(window, "GPIO", "OUT"), true);
    window.ReadSelection();
    EXPECT_EQ(Child(window, "GPIO", "OUT", "VALUE~")->Value(), "0x00000077");
    ASSERT_TRUE(WaitFor([&] { return refreshes >= 2; }));
    watch.Stop();
    EXPECT_FALSE(watch.IsRunning());
    EXPECT_EQ(stops, QStringList{QString()});
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join(u'|').toStdString();

    // The chip takes the last leave request in its own time.
    EXPECT_TRUE(WaitFor([&] { return rig.chip.EnterCount() == rig.chip.LeaveCount(); }));
    const QString refresh = "E R20001000/256 R20002000/4 L";
    const QStringList cycles = CyclesOnTheLine(rig.chip);
    ASSERT_GE(cycles.size(), 3);
    EXPECT_EQ(cycles[0], refresh);
    EXPECT_EQ(cycles[1], "E R20002000/4 L") << "the user's read comes between two refreshes";
    for (qsizetype i = 2; i < cycles.size(); ++i)
        EXPECT_EQ(cycles[i], refresh) << i;
}

TEST(RegisterWatch, AFailingLinkStopsTheWatchWithItsOneMessage)
{
    RegwinRig rig;
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    RegisterWatch watch(rig.config, rig.links);
    std::atomic<int> refreshes{0};
    std::mutex mutex;
    QStringList stops;
    watch.Start(
        SettingsFor(window, rig, 20ms),
        [&](const auto &) {
            // After the third refresh the chip answers the next read wrongly,
            // and every read after it.
            if (++refreshes == 3) {
                rig.chip.DeferFaults(1);
                rig.chip.InjectWrongStatus(0x15, 1000);
            }
        },
        [&](const QString &message) {
            std::lock_guard lock(mutex);
            stops << message;
        });
    watch.Wait();
    EXPECT_EQ(stops, QStringList{"ReadMem 0x20001000 0x100 error !\n"});
    EXPECT_EQ(refreshes, 3);
    EXPECT_EQ(watch.LastFigures().refreshes, 4);
    EXPECT_FALSE(watch.IsRunning());
    EXPECT_TRUE(rig.user.messages.isEmpty()) << "the window shows the one message, not the watch's thread";
    EXPECT_TRUE(WaitFor([&] { return !rig.chip.InDebugMode(); })) << "the chip was let out of debug mode";
    EXPECT_FALSE(rig.PortHeld());
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(rig.chip.EnterCount(), 4) << "no refresh after the failure";

    // The link works again once the fault is gone.
    rig.chip.ClearFaults();
    window.SetSelection(Peripheral(window, "TIMER"), false);
    window.ReadSelection();
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join(u'|').toStdString();
}

TEST(RegisterWatch, OfflineDataEndsTheWatchBeforeAnyLink)
{
    RegwinRig rig;
    rig.UseOffline();
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    RegisterWatch watch(rig.config, rig.links);
    int refreshes = 0;
    QString stopped = "<none>";
    watch.Start(
        SettingsFor(window, rig, 10ms), [&](const auto &) { ++refreshes; },
        [&](const QString &message) { stopped = message; });
    watch.Wait();
    EXPECT_EQ(stopped, "Please select online data type !\n");
    EXPECT_EQ(refreshes, 0);
    EXPECT_EQ(rig.chip.EnterCount(), 0);
}

TEST(RegisterWatch, RefreshesFillTheRowsAndMarkTheCounter)
{
    RegwinRig rig;
    rig.UseUart(6);
    rig.chip.PokeWord(0x20001000, 0x31);
    rig.chip.PokeWord(0x20001024, 0x00FFFFFE);
    rig.chip.AddFreeRunningCounter(0x20001024); // TIMER.DATA
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    RowChanges changes;
    RegisterWatch watch(rig.config, rig.links);
    QStringList stops;
    watch.Start(
        SettingsFor(window, rig, 10ms, 4),
        [&](const std::vector<PeripheralBytes> &images) {
            // The test's thread only waits meanwhile, so the rows may be
            // touched here; a window hands the images to its own thread.
            for (const PeripheralBytes &image : images)
                window.FillPeripheral(image.name, image.bytes);
            changes.Observe(window.Tree());
        },
        [&](const QString &message) { stops << message; });
    watch.Wait();
    EXPECT_EQ(stops, QStringList{QString()});
    EXPECT_EQ(watch.LastFigures().refreshes, 4);
    EXPECT_EQ(Child(window, "TIMER", "DATA", "VALUE~")->Value(), "0x01000002");
    EXPECT_EQ(Child(window, "TIMER", "CR", "MODE")->Value(), "3");
    EXPECT_TRUE(changes.ChangedAtLastRead(Register(window, "TIMER", "DATA")->Id()));
    EXPECT_TRUE(changes.ChangedAtLastRead(Child(window, "TIMER", "DATA", "LO")->Id()));
    EXPECT_FALSE(changes.Age(Register(window, "TIMER", "CR")->Id()).has_value());
    EXPECT_EQ(rig.chip.EnterCount(), 4);
    EXPECT_FALSE(rig.PortHeld());
}

TEST(RegisterWatch, RegistersReadWithSideEffectsAreNeverRead)
{
    RegwinRig rig;
    rig.PutSvd("VX21A", R"(<device><peripherals><peripheral><name>UART</name><baseAddress>0x20005000</baseAddress>
<registers><register><name>CTRL</name><addressOffset>0</addressOffset></register>
<register><name>STATUS</name><addressOffset>8</addressOffset><readAction>clear</readAction></register>
<register><name>DATA</name><addressOffset>0xC</addressOffset></register></registers></peripheral></peripherals></device>)");
    rig.UseUart(6);
    rig.chip.PokeWord(0x20005008, 0x55);
    rig.chip.AddFreeRunningCounter(0x20005008); // any read of STATUS would move it
    rig.chip.AddFreeRunningCounter(0x2000500C);
    RegisterWindow &window = rig.WindowWith({"UART"});
    const QString statusBefore = Register(window, "UART", "STATUS")->Name();
    RegisterWatch watch(rig.config, rig.links);
    rig.chip.ClearRecord();
    watch.Start(SettingsFor(window, rig, 10ms, 2),
                [&](const std::vector<PeripheralBytes> &images) {
                    for (const PeripheralBytes &image : images)
                        window.FillPeripheral(image.name, image.bytes);
                },
                {});
    watch.Wait();
    // The chip records the last leave a moment after the host sent it.
    WaitFor([&] { return CyclesOnTheLine(rig.chip).size() >= 2; });
    EXPECT_EQ(CyclesOnTheLine(rig.chip), QStringList({"E R20005000/8 R2000500c/4 L", "E R20005000/8 R2000500c/4 L"}));
    EXPECT_EQ(rig.chip.PeekWord(0x20005008), 0x55u);
    EXPECT_EQ(Register(window, "UART", "STATUS")->Name(), statusBefore);
    EXPECT_EQ(Child(window, "UART", "DATA", "VALUE~")->Value(), "0x00000002");
}

} // namespace

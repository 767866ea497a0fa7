// A window's watch as its view runs it: rows filled and marks moved on the
// window's thread, one message for a failing link, nothing after a stop.
#include "support/RegwinRig.h"
#include "regmap/WindowWatch.h"
#include "support/WaitFor.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace {

using namespace std::chrono_literals;

TEST(WindowWatch, RowsFollowTheChipUntilTheLinkFailsWithOneMessage)
{
    TestApp();
    RegwinRig rig;
    rig.UseUart(6);
    rig.chip.AddFreeRunningCounter(0x20001024); // TIMER.DATA
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    WindowWatch watch(window, rig.config, rig.links, rig.context);
    int refreshed = 0;
    int stopped = 0;
    watch.onRefreshed = [&] {
        ++refreshed;
        EXPECT_EQ(Child(window, "TIMER", "DATA", "VALUE~")->Value(), RowText::Word(uint32_t(refreshed)));
        if (refreshed == 3) {
            rig.chip.DeferFaults(1);
            rig.chip.InjectWrongStatus(0x15, 1000);
        }
    };
    watch.onStopped = [&] { ++stopped; };
    EXPECT_FALSE(watch.Start(3)) << "not an offered rate";
    ASSERT_TRUE(watch.Start(20));
    EXPECT_TRUE(watch.IsRunning());
    ASSERT_TRUE(PumpUntil([&] { return stopped > 0; }));
    EXPECT_GE(refreshed, 3);
    EXPECT_LE(refreshed, 4) << "the fault hits the refresh after the third or the one after it";
    EXPECT_EQ(rig.user.messages, QStringList{"ReadMem 0x20001000 0x100 error !\n"});
    EXPECT_FALSE(watch.IsRunning());
    EXPECT_TRUE(watch.Changes().ChangedAtLastRead(Register(window, "TIMER", "DATA")->Id()));
    // What the failed refresh could not read is older now, as after a failed
    // read; registers a watch never reads keep what they showed.
    EXPECT_TRUE(Register(window, "TIMER", "DATA")->Source().stale);
    for (const auto &reg : Peripheral(window, "TIMER")->Children())
        EXPECT_EQ(reg->Source().stale,
                  !reg->Traits().readHasSideEffect && reg->Source().kind != ValueSource::Kind::NotRead)
            << reg->BareName().toStdString();
    PumpUntil([] { return false; }, 200ms);
    EXPECT_EQ(stopped, 1);
    EXPECT_EQ(rig.user.messages.size(), 1);
}

TEST(WindowWatch, NothingReachesTheRowsAfterAStop)
{
    TestApp();
    RegwinRig rig;
    rig.UseUart(6);
    rig.chip.AddFreeRunningCounter(0x20001024);
    RegisterWindow &window = rig.WindowWith({"TIMER"});
    WindowWatch watch(window, rig.config, rig.links, rig.context);
    int refreshed = 0;
    int stopped = 0;
    watch.onRefreshed = [&] { ++refreshed; };
    watch.onStopped = [&] { ++stopped; };
    ASSERT_TRUE(watch.Start(20));
    ASSERT_TRUE(PumpUntil([&] { return refreshed >= 1; }));
    // Refreshes pile up unapplied while the window's thread is busy; a stop
    // drops them.
    std::this_thread::sleep_for(150ms);
    const QString before = Child(window, "TIMER", "DATA", "VALUE~")->Value();
    const int appliedBefore = refreshed;
    watch.Stop();
    EXPECT_EQ(stopped, 1);
    PumpUntil([] { return false; }, 200ms);
    EXPECT_EQ(refreshed, appliedBefore);
    EXPECT_EQ(Child(window, "TIMER", "DATA", "VALUE~")->Value(), before);
    EXPECT_EQ(stopped, 1);
    EXPECT_TRUE(rig.user.messages.isEmpty());
    EXPECT_FALSE(Register(window, "TIMER", "DATA")->Source().stale) << "a stop is no failed read";
    EXPECT_TRUE(watch.Start(10)) << "a stopped watch starts again";
    ASSERT_TRUE(PumpUntil([&] { return refreshed > appliedBefore; }));
    watch.Stop();
}

} // namespace

// The gate every link cycle passes: one cycle at a time, user actions
// before background refreshes, nesting on one thread.
#include "link/LinkCycle.h"
#include "link/LinkCycleGate.h"
#include "support/TargetRig.h"
#include "support/WaitFor.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace {

using namespace std::chrono_literals;

TEST(LinkCycleGate, AWaitingUserGoesBeforeAWaitingRefresh)
{
    LinkCycleGate gate;
    std::mutex mutex;
    QStringList order;
    auto take = [&](LinkCycleGate::Turn turn, const char *who) {
        LinkCycleGatePass pass(gate, turn);
        std::lock_guard lock(mutex);
        order << who;
    };
    gate.Enter(LinkCycleGate::Turn::User);
    std::thread refresh(take, LinkCycleGate::Turn::Background, "refresh");
    std::this_thread::sleep_for(50ms); // the refresh is waiting first
    std::thread user(take, LinkCycleGate::Turn::User, "user");
    ASSERT_TRUE(WaitFor([&] { return gate.UsersWaiting() == 1; }));
    {
        std::lock_guard lock(mutex);
        EXPECT_TRUE(order.isEmpty()) << "nobody passes a held gate";
    }
    gate.Leave();
    refresh.join();
    user.join();
    EXPECT_EQ(order, QStringList({"user", "refresh"}));
    EXPECT_FALSE(gate.IsHeld());
}

TEST(LinkCycleGate, TheHoldingThreadPassesAgain)
{
    LinkCycleGate gate;
    gate.Enter(LinkCycleGate::Turn::User);
    gate.Enter(LinkCycleGate::Turn::Background);
    gate.Leave();
    EXPECT_TRUE(gate.IsHeld());
    std::atomic<bool> passed{false};
    std::thread other([&] {
        LinkCycleGatePass pass(gate, LinkCycleGate::Turn::User);
        passed = true;
    });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(passed);
    gate.Leave();
    other.join();
    EXPECT_TRUE(passed);
    EXPECT_FALSE(gate.IsHeld());
}

// A wait given up (its window closes) holds nothing and leaves no user
// waiting, so a refresh behind it is not kept out.
TEST(LinkCycleGate, AnAbandonedWaitHoldsNothingAndLetsTheOthersBy)
{
    LinkCycleGate gate;
    gate.Enter(LinkCycleGate::Turn::User);
    std::atomic<bool> abandon{false};
    std::atomic<int> entered{-1};
    std::thread user([&] {
        const LinkCycleGateAttempt attempt(gate, LinkCycleGate::Turn::User, [&] { return abandon.load(); });
        entered = attempt.Entered() ? 1 : 0;
    });
    ASSERT_TRUE(WaitFor([&] { return gate.UsersWaiting() == 1; }));
    std::atomic<bool> refreshed{false};
    std::thread refresh([&] {
        LinkCycleGatePass pass(gate, LinkCycleGate::Turn::Background);
        refreshed = true;
    });
    abandon = true;
    user.join(); // while the gate is still held
    EXPECT_EQ(entered, 0);
    EXPECT_EQ(gate.UsersWaiting(), 0);
    EXPECT_FALSE(refreshed);
    gate.Leave();
    refresh.join();
    EXPECT_TRUE(refreshed);
    EXPECT_FALSE(gate.IsHeld());

    // Not abandoned: the attempt holds the gate as a pass does.
    {
        const LinkCycleGateAttempt attempt(gate, LinkCycleGate::Turn::Background, [] { return false; });
        EXPECT_TRUE(attempt.Entered());
        EXPECT_TRUE(gate.IsHeld());
    }
    EXPECT_FALSE(gate.IsHeld());
}

// Two threads running whole cycles against the simulated chip: the chip sees
// enter, read, leave of one cycle before the next enter, never interleaved.
TEST(LinkCycleGate, CyclesOnTwoThreadsNeverOverlapOnTheLine)
{
    TargetRig rig;
    rig.UseUart(6);
    auto cycles = [&](LinkCycleGate::Turn turn, int count) {
        for (int i = 0; i < count; ++i) {
            LinkCycle cycle(rig.config, rig.links, rig.context, turn);
            if (cycle.Preface() && cycle.Open() && cycle.Read(0x20000000, 64))
                cycle.Close();
        }
    };
    std::thread background(cycles, LinkCycleGate::Turn::Background, 20);
    cycles(LinkCycleGate::Turn::User, 20);
    background.join();
    EXPECT_TRUE(rig.user.messages.isEmpty()) << rig.user.messages.join(u'|').toStdString();
    // Back-to-back cycles: every leave request reaches the chip before the
    // next enter, none is lost when the port is opened again at once.
    EXPECT_TRUE(WaitFor([&] { return rig.chip.LeaveCount() == 40; })) << rig.chip.LeaveCount();
    EXPECT_EQ(rig.chip.EnterCount(), 40);
    // Enter and leave requests alternate: frames "ATVX21" name them.
    QByteArray kinds;
    for (const QByteArray &frame : rig.chip.ReceivedFrames()) {
        if (frame.contains(QByteArray("ATVX21\x05\x21", 8)))
            kinds += 'E';
        else if (frame.contains(QByteArray("ATVX21\x18\x21", 8)))
            kinds += 'L';
        else
            kinds += 'R';
    }
    EXPECT_EQ(kinds, QByteArray("ERL").repeated(40));
}

} // namespace

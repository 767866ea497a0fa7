#include "link/ReplyDeadline.h"

#include <gtest/gtest.h>

namespace {

class FakeClock : public MillisecondClock
{
public:
    uint32_t NowMs() override { return now; }
    uint32_t now = 0;
};

struct DeadlineCase
{
    const char *name;
    uint32_t startMs;
    uint32_t durationMs;
    uint32_t elapsedMs;
    bool passed;
    uint32_t remainingMs;
};

void PrintTo(const DeadlineCase &c, std::ostream *os)
{
    *os << c.name;
}

class ReplyDeadlineTest : public ::testing::TestWithParam<DeadlineCase>
{
};

TEST_P(ReplyDeadlineTest, PassesWhenElapsedReachesDuration)
{
    const DeadlineCase &c = GetParam();
    FakeClock clock;
    clock.now = c.startMs;
    ReplyDeadline deadline(&clock);
    deadline.Arm(c.durationMs);
    clock.now = c.startMs + c.elapsedMs; // wraps like the clock itself
    EXPECT_EQ(deadline.RemainingMs(), c.remainingMs);
    EXPECT_EQ(deadline.HasPassed(), c.passed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplyDeadlineTest,
    ::testing::Values(DeadlineCase{"ZeroDurationAtOnce", 1000, 0, 0, true, 0},
                      DeadlineCase{"JustBefore", 1000, 500, 499, false, 1},
                      DeadlineCase{"Exactly", 1000, 500, 500, true, 0}, DeadlineCase{"Later", 1000, 500, 9000, true, 0},
                      DeadlineCase{"AcrossClockWrapNotYet", 0xFFFFFF00u, 1000, 0x200, false, 1000 - 0x200},
                      DeadlineCase{"AcrossClockWrapPassed", 0xFFFFFF00u, 1000, 1000, true, 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(ReplyDeadline, DisarmsOncePassedAndCanBeArmedAgain)
{
    FakeClock clock;
    ReplyDeadline deadline(&clock);
    EXPECT_TRUE(deadline.HasPassed()) << "never armed";
    deadline.Arm(100);
    EXPECT_TRUE(deadline.IsArmed());
    clock.now = 100;
    EXPECT_TRUE(deadline.HasPassed());
    EXPECT_FALSE(deadline.IsArmed());
    clock.now = 50; // even were the clock to go back, a disarmed deadline stays passed
    EXPECT_TRUE(deadline.HasPassed());
    EXPECT_EQ(deadline.RemainingMs(), 0u);

    deadline.Arm(100);
    EXPECT_FALSE(deadline.HasPassed());
    EXPECT_EQ(deadline.RemainingMs(), 100u);
}

} // namespace

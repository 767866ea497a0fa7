#pragma once

#include <cstdint>

// Milliseconds from an arbitrary origin, wrapping at 32 bits. Injectable so
// time-limit logic can be tested without real waiting.
class MillisecondClock
{
public:
    virtual ~MillisecondClock() = default;
    virtual uint32_t NowMs() = 0;
};

// The monotonic clock of the process (QElapsedTimer).
class SteadyMillisecondClock : public MillisecondClock
{
public:
    uint32_t NowMs() override;
};

// Start, duration and an armed mark. Elapsed time is taken in unsigned
// 32-bit arithmetic, so a clock wrap in the middle of a wait is harmless.
// Once passed, the deadline disarms itself; a disarmed deadline counts as
// passed and has no time left.
class ReplyDeadline
{
public:
    explicit ReplyDeadline(MillisecondClock *clock = nullptr);

    void SetClock(MillisecondClock *clock); // nullptr: the steady clock
    void Arm(uint32_t durationMs);
    bool IsArmed() const { return m_armed; }
    bool HasPassed();
    uint32_t RemainingMs();

private:
    MillisecondClock *m_clock;
    uint32_t m_startMs = 0;
    uint32_t m_durationMs = 0;
    bool m_armed = false;
};

#include "link/ReplyDeadline.h"

#include <QElapsedTimer>

namespace {

SteadyMillisecondClock &DefaultClock()
{
    static SteadyMillisecondClock clock;
    return clock;
}

} // namespace

uint32_t SteadyMillisecondClock::NowMs()
{
    static const QElapsedTimer origin = [] {
        QElapsedTimer timer;
        timer.start();
        return timer;
    }();
    return uint32_t(origin.elapsed());
}

ReplyDeadline::ReplyDeadline(MillisecondClock *clock)
    : m_clock(clock ? clock : &DefaultClock())
{}

void ReplyDeadline::SetClock(MillisecondClock *clock)
{
    m_clock = clock ? clock : &DefaultClock();
    m_armed = false;
}

void ReplyDeadline::Arm(uint32_t durationMs)
{
    m_startMs = m_clock->NowMs();
    m_durationMs = durationMs;
    m_armed = true;
}

bool ReplyDeadline::HasPassed()
{
    if (!m_armed)
        return true;
    if (uint32_t(m_clock->NowMs() - m_startMs) >= m_durationMs) {
        m_armed = false;
        return true;
    }
    return false;
}

uint32_t ReplyDeadline::RemainingMs()
{
    if (!m_armed)
        return 0;
    const uint32_t elapsed = m_clock->NowMs() - m_startMs;
    return elapsed >= m_durationMs ? 0 : m_durationMs - elapsed;
}

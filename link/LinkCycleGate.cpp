#include "link/LinkCycleGate.h"

#include <chrono>

namespace {

// How often a wait that may be abandoned asks whether it is.
constexpr std::chrono::milliseconds kAbandonPoll{10};

} // namespace

void LinkCycleGate::Enter(Turn turn)
{
    EnterUnless(turn, {});
}

bool LinkCycleGate::EnterUnless(Turn turn, const std::function<bool()> &abandon)
{
    std::unique_lock lock(m_mutex);
    const std::thread::id self = std::this_thread::get_id();
    if (m_depth > 0 && m_holder == self) {
        ++m_depth;
        return true;
    }
    if (turn == Turn::User)
        ++m_usersWaiting;
    const bool free = Wait(lock, turn, abandon);
    if (turn == Turn::User)
        --m_usersWaiting;
    if (!free) {
        // A background cycle may have waited for this user's turn.
        lock.unlock();
        m_free.notify_all();
        return false;
    }
    m_holder = self;
    m_depth = 1;
    return true;
}

bool LinkCycleGate::Wait(std::unique_lock<std::mutex> &lock, Turn turn, const std::function<bool()> &abandon)
{
    // A user cycle waits only for the holder; a background one also for the users waiting.
    const auto free = [&] { return m_depth == 0 && (turn == Turn::User || m_usersWaiting == 0); };
    if (!abandon) {
        m_free.wait(lock, free);
        return true;
    }
    while (!free()) {
        if (abandon())
            return false;
        m_free.wait_for(lock, kAbandonPoll, free);
    }
    return true;
}

void LinkCycleGate::Leave()
{
    {
        std::lock_guard lock(m_mutex);
        if (m_depth == 0 || --m_depth > 0)
            return;
        m_holder = std::thread::id();
    }
    m_free.notify_all();
}

bool LinkCycleGate::IsHeld() const
{
    std::lock_guard lock(m_mutex);
    return m_depth > 0;
}

int LinkCycleGate::UsersWaiting() const
{
    std::lock_guard lock(m_mutex);
    return m_usersWaiting;
}

#include "link/LinkCycleGate.h"

void LinkCycleGate::Enter(Turn turn)
{
    std::unique_lock lock(m_mutex);
    const std::thread::id self = std::this_thread::get_id();
    if (m_depth > 0 && m_holder == self) {
        ++m_depth;
        return;
    }
    if (turn == Turn::User) {
        ++m_usersWaiting;
        m_free.wait(lock, [&] { return m_depth == 0; });
        --m_usersWaiting;
    } else {
        m_free.wait(lock, [&] { return m_depth == 0 && m_usersWaiting == 0; });
    }
    m_holder = self;
    m_depth = 1;
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

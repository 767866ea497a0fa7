#include "ipcheck/RunEvent.h"

void RunEvent::Set()
{
    {
        std::lock_guard lock(m_mutex);
        m_signalled = true;
    }
    m_changed.notify_one();
}

bool RunEvent::Wait()
{
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_signalled || m_closed; });
    if (m_closed)
        return false;
    m_signalled = false;
    return true;
}

void RunEvent::Close()
{
    {
        std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_changed.notify_all();
}

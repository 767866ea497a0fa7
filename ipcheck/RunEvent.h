#pragma once

#include <condition_variable>
#include <mutex>

// An auto-reset event: Set wakes one Wait; several Sets before the Wait
// amount to one wake-up. Close wakes every Wait for good.
class RunEvent
{
public:
    void Set();
    // False once the event is closed.
    bool Wait();
    void Close();

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_signalled = false;
    bool m_closed = false;
};

#pragma once

#include <chrono>
#include <thread>

// Waits on another thread's progress: true once the condition holds, false
// when the limit passes first (the limit only guards against a hang).
template<typename Condition>
bool WaitFor(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(20))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

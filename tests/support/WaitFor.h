#pragma once

#include <QCoreApplication>

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

// The event loop of a QtCore test, made at first use: queued hand-overs to
// the test's thread are delivered by PumpUntil.
inline QCoreApplication &TestApp()
{
    static int argc = 1;
    static char name[] = "corvane_test";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// Runs the test thread's events until the condition holds; false when the
// limit passes first.
template<typename Condition>
bool PumpUntil(Condition condition, std::chrono::milliseconds limit = std::chrono::seconds(20))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        TestApp().processEvents(QEventLoop::AllEvents, 5);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// The one door every link cycle passes through, so that no two cycles ever
// overlap, whichever thread runs them: the transfer buffer, the UART link's
// reply deadline and the probe connection are single objects of the run.
//
// The user's own actions go first: a user cycle waits only for the cycle
// that holds the gate, while a background cycle (a watch refresh) also waits
// for every user cycle already waiting. A thread that holds the gate passes
// again, so a cycle started inside another on the same thread nests instead
// of hanging.
class LinkCycleGate
{
public:
    enum class Turn { User, Background };

    LinkCycleGate() = default;
    LinkCycleGate(const LinkCycleGate &) = delete;
    LinkCycleGate &operator=(const LinkCycleGate &) = delete;

    void Enter(Turn turn);
    // As Enter, but gives up once `abandon` says so (asked every few
    // milliseconds while waiting): false, and nothing is held. A window that
    // closes never waits for a cycle it no longer needs.
    bool EnterUnless(Turn turn, const std::function<bool()> &abandon);
    void Leave();

    // Whether some cycle holds the gate at this moment.
    bool IsHeld() const;
    // User cycles waiting at this moment.
    int UsersWaiting() const;

private:
    bool Wait(std::unique_lock<std::mutex> &lock, Turn turn, const std::function<bool()> &abandon);

    mutable std::mutex m_mutex;
    std::condition_variable m_free;
    std::thread::id m_holder;
    int m_depth = 0;
    int m_usersWaiting = 0;
};

// Holds the gate for the lifetime of the scope.
class LinkCycleGatePass
{
public:
    LinkCycleGatePass(LinkCycleGate &gate, LinkCycleGate::Turn turn)
        : m_gate(gate)
    {
        m_gate.Enter(turn);
    }
    ~LinkCycleGatePass() { m_gate.Leave(); }
    LinkCycleGatePass(const LinkCycleGatePass &) = delete;
    LinkCycleGatePass &operator=(const LinkCycleGatePass &) = delete;

private:
    LinkCycleGate &m_gate;
};

// Holds the gate for the lifetime of the scope unless the wait for it was
// abandoned first.
class LinkCycleGateAttempt
{
public:
    LinkCycleGateAttempt(LinkCycleGate &gate, LinkCycleGate::Turn turn, const std::function<bool()> &abandon)
        : m_gate(gate)
        , m_entered(gate.EnterUnless(turn, abandon))
    {}
    ~LinkCycleGateAttempt()
    {
        if (m_entered)
            m_gate.Leave();
    }
    LinkCycleGateAttempt(const LinkCycleGateAttempt &) = delete;
    LinkCycleGateAttempt &operator=(const LinkCycleGateAttempt &) = delete;

    bool Entered() const { return m_entered; }

private:
    LinkCycleGate &m_gate;
    bool m_entered;
};

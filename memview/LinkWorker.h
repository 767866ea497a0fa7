#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// A thread of its own for a window's work on the target, so the window's
// thread never waits for a link: jobs run one after another in the order
// posted, each its own link cycle (through the links' gate, whose waits and
// the links' replies all have deadlines). A job hands its result back to
// the window's thread itself (a queued call), never waiting for it.
class LinkWorker
{
public:
    using Job = std::function<void()>;

    LinkWorker();
    // Drops the jobs still waiting and waits for the one that runs, whose
    // link's deadlines bound the wait.
    ~LinkWorker();
    LinkWorker(const LinkWorker &) = delete;
    LinkWorker &operator=(const LinkWorker &) = delete;

    // Runs the jobs still waiting, then ends the thread; later posts are
    // refused. The jobs themselves keep this short (a closing window's jobs
    // give up their waits for the link).
    void Finish();

    // A job with a kind other than 0 replaces a waiting job of its kind
    // (the rows to read after scrolling on: only the last view counts).
    // False when it replaced one, which then never runs, or after Finish().
    bool Post(Job job, int kind = 0);
    // Jobs waiting or running.
    int Outstanding() const;

private:
    void Run();

    struct Entry
    {
        Job job;
        int kind;
    };
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<Entry> m_jobs;
    bool m_running = false;
    bool m_stopping = false;
    bool m_finishing = false;
    std::thread m_thread;
};

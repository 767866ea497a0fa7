#include "memview/LinkWorker.h"

#include <algorithm>

LinkWorker::LinkWorker()
    : m_thread(&LinkWorker::Run, this)
{}

LinkWorker::~LinkWorker()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
        m_jobs.clear();
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

void LinkWorker::Finish()
{
    {
        std::lock_guard lock(m_mutex);
        m_finishing = true;
    }
    m_wake.notify_all();
    if (m_thread.joinable())
        m_thread.join();
}

bool LinkWorker::Post(Job job, int kind)
{
    {
        std::lock_guard lock(m_mutex);
        if (m_finishing)
            return false;
        if (kind != 0) {
            const auto waiting =
                std::find_if(m_jobs.begin(), m_jobs.end(), [kind](const Entry &entry) { return entry.kind == kind; });
            if (waiting != m_jobs.end()) {
                waiting->job = std::move(job);
                return false;
            }
        }
        m_jobs.push_back({std::move(job), kind});
    }
    m_wake.notify_all();
    return true;
}

int LinkWorker::Outstanding() const
{
    std::lock_guard lock(m_mutex);
    return int(m_jobs.size()) + (m_running ? 1 : 0);
}

void LinkWorker::Run()
{
    for (;;) {
        Job job;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_stopping || m_finishing || !m_jobs.empty(); });
            if (m_stopping || m_jobs.empty())
                return;
            job = std::move(m_jobs.front().job);
            m_jobs.pop_front();
            m_running = true;
        }
        job();
        std::lock_guard lock(m_mutex);
        m_running = false;
    }
}

#pragma once

#include "ipcheck/IpCheckOutput.h"

#include <QStringList>

#include <chrono>
#include <condition_variable>
#include <mutex>

// Records what the worker tells the window, from any thread. Events are
// "progress TEXT" and "release ROW NAME [scroll]"; output rows are kept
// apart, and every batch of rows adds the event "rows".
class RecordingOutput : public IpCheckOutput
{
public:
    void SetProgressText(const QString &text) override { Add("progress " + text); }
    void ReleaseRow(int row, const QString &name, bool scrollIntoView) override
    {
        Add(QStringLiteral("release %1 %2%3").arg(row).arg(name, scrollIntoView ? " scroll" : ""));
    }
    void AppendOutputLines(const QStringList &rows) override
    {
        std::lock_guard lock(m_mutex);
        m_rows += rows;
        m_events << "rows";
        m_changed.notify_all();
    }
    void CycleEnded() override
    {
        std::lock_guard lock(m_mutex);
        ++m_cycles;
        m_changed.notify_all();
    }

    QStringList Rows() const
    {
        std::lock_guard lock(m_mutex);
        return m_rows;
    }
    QStringList Events() const
    {
        std::lock_guard lock(m_mutex);
        return m_events;
    }
    int Cycles() const
    {
        std::lock_guard lock(m_mutex);
        return m_cycles;
    }
    // Generous limits: these wait for child processes, not for speed.
    bool WaitCycles(int count)
    {
        return WaitUntil([&] { return m_cycles >= count; });
    }
    bool WaitRow(const QString &row)
    {
        return WaitUntil([&] { return m_rows.contains(row); });
    }

private:
    void Add(const QString &event)
    {
        std::lock_guard lock(m_mutex);
        m_events << event;
    }
    template<typename Condition> bool WaitUntil(Condition condition)
    {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(30), condition);
    }

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    QStringList m_rows;
    QStringList m_events;
    int m_cycles = 0;
};

#include "ipcheck/ui/WorkerCallQueue.h"

WorkerCallQueue::WorkerCallQueue(std::function<void(const QStringList &)> appendRows, QObject *parent)
    : QObject(parent)
    , m_appendRows(std::move(appendRows))
{}

void WorkerCallQueue::PostCall(std::function<void()> call)
{
    Push(Entry{std::move(call), {}});
}

void WorkerCallQueue::PostRows(const QStringList &rows)
{
    if (!rows.isEmpty())
        Push(Entry{{}, rows});
}

void WorkerCallQueue::Push(Entry entry)
{
    std::lock_guard lock(m_mutex);
    // Rows after rows join the same entry.
    if (!entry.call && !m_entries.empty() && !m_entries.back().call)
        m_entries.back().rows += entry.rows;
    else
        m_entries.push_back(std::move(entry));
    if (m_drainPosted)
        return;
    m_drainPosted = true;
    QMetaObject::invokeMethod(this, &WorkerCallQueue::Drain, Qt::QueuedConnection);
}

void WorkerCallQueue::Drain()
{
    std::deque<Entry> entries;
    {
        std::lock_guard lock(m_mutex);
        entries.swap(m_entries);
    }
    qsizetype rowsDone = 0;
    while (!entries.empty() && rowsDone < kRowsPerDrain) {
        Entry &entry = entries.front();
        if (entry.call) {
            entry.call();
        } else {
            const qsizetype take = std::min(entry.rows.size(), kRowsPerDrain - rowsDone);
            if (take < entry.rows.size()) {
                m_appendRows(entry.rows.first(take));
                entry.rows.remove(0, take);
                rowsDone += take;
                break;
            }
            m_appendRows(entry.rows);
            rowsDone += take;
        }
        entries.pop_front();
    }

    std::lock_guard lock(m_mutex);
    // What is left goes before whatever arrived meanwhile.
    while (!entries.empty()) {
        m_entries.push_front(std::move(entries.back()));
        entries.pop_back();
    }
    if (m_entries.empty()) {
        m_drainPosted = false;
        return;
    }
    QMetaObject::invokeMethod(this, &WorkerCallQueue::Drain, Qt::QueuedConnection);
}

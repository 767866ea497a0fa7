#pragma once

#include <QObject>
#include <QStringList>

#include <deque>
#include <functional>
#include <mutex>

// Carries the worker's calls over to the user-interface thread in the order
// they were made. Output rows that arrive while the user-interface thread is
// busy are handed to the output list together, at most kRowsPerDrain at a
// time, so a child that writes very fast neither floods the event queue nor
// stalls the window.
class WorkerCallQueue : public QObject
{
    Q_OBJECT

public:
    static constexpr qsizetype kRowsPerDrain = 20000;

    // appendRows runs on the thread of this object.
    explicit WorkerCallQueue(std::function<void(const QStringList &)> appendRows, QObject *parent = nullptr);

    // From any thread.
    void PostCall(std::function<void()> call);
    void PostRows(const QStringList &rows);

private:
    struct Entry
    {
        std::function<void()> call; // empty for rows
        QStringList rows;
    };

    void Push(Entry entry);
    void Drain();

    std::function<void(const QStringList &)> m_appendRows;
    std::mutex m_mutex;
    std::deque<Entry> m_entries;
    bool m_drainPosted = false;
};

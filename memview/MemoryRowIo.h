#pragma once

#include "link/ConfigFile.h"
#include "link/TargetLinks.h"
#include "memview/LinkWorker.h"
#include "memview/MemoryView.h"

#include <QObject>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <optional>

// The reads of a memory window's rows and its unit writes with their undo,
// on a worker thread of the window's own: the window's thread only posts
// and takes the results, which land in the view before the signals tell.
// Rows are read in link cycles of the user's turn; a newer read of the rows
// shown replaces one still waiting.
class MemoryRowIo : public QObject
{
    Q_OBJECT

public:
    MemoryRowIo(MemoryView &view, ConfigFile &config, TargetLinks &links, QObject *parent = nullptr);
    // Settles with no allowance for the writes still queued.
    ~MemoryRowIo() override;

    // The shown rows that wait for a read go to be read; false when none do.
    bool ReadWanted();
    // Writes a unit (its `after` over its `before`) and reads it back.
    void Write(const MemoryView::Written &unit);
    // Writes the last unit written back to what it held; that unit, so the
    // window can bring it in sight, or nothing when none is left to undo.
    std::optional<MemoryView::Written> Undo();

    // Reads and writes posted and not yet back.
    int Outstanding() const { return m_outstanding; }

    // The window ends: reads give up at once and nothing more is posted;
    // the writes still queued are written if the link is free within
    // `writesAllowance`, else given up. Returns the units not written
    // ("0x20000008 = 55"); nothing reaches the target for the window after.
    QStringList Settle(std::chrono::milliseconds writesAllowance);

signals:
    // A read's bytes are in the view; `failure` is the link's message, empty when it read.
    void RowsRead(const QString &failure);
    // A unit's write ended; it is read back into the view when it was written.
    void UnitWritten(uint32_t address, const QString &failure);

private:
    // What the jobs learn of the window's end, shared with them.
    struct Ending
    {
        std::atomic<bool> closing{false};
        std::atomic<std::chrono::steady_clock::rep> writesUntil{0};
        bool WritesGiveUp() const;
        std::mutex mutex;
        QStringList unwritten;
    };

    void WriteUnit(const MemoryView::Written &unit, bool undo);
    void Post(LinkWorker::Job job, int kind = 0);
    // A job's result handed to the window's thread.
    template<typename F> void Deliver(F &&done);

    MemoryView &m_view;
    ConfigFile &m_config;
    TargetLinks &m_links;
    int m_outstanding = 0;
    bool m_settled = false;
    std::shared_ptr<Ending> m_ending = std::make_shared<Ending>();
    std::unique_ptr<LinkWorker> m_worker; // last: it goes first, so no job outlives what it reports to
};

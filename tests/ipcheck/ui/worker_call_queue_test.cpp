#include "ipcheck/ui/WorkerCallQueue.h"

#include <QTest>

#include <gtest/gtest.h>

#include <thread>

namespace {

// Calls and rows from another thread arrive in the order they were made,
// rows in batches no larger than one drain takes.
TEST(WorkerCallQueueTest, KeepsTheOrderAcrossBatches)
{
    QStringList seen;
    QList<qsizetype> batches;
    WorkerCallQueue queue([&](const QStringList &rows) {
        seen += rows;
        batches << rows.size();
    });
    const qsizetype many = WorkerCallQueue::kRowsPerDrain + 5000;
    std::thread worker([&] {
        for (qsizetype i = 0; i < many; i += 100) {
            QStringList rows;
            for (qsizetype j = i; j < i + 100; ++j)
                rows << QString::number(j);
            queue.PostRows(rows);
        }
        queue.PostCall([&] { seen << "call"; });
        queue.PostRows({"after"});
        queue.PostRows({});
        queue.PostCall([&] { seen << "end"; });
    });
    worker.join();
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.endsWith("end"); }, 30000));
    ASSERT_EQ(seen.size(), many + 3);
    for (qsizetype i = 0; i < many; ++i)
        ASSERT_EQ(seen[i], QString::number(i));
    EXPECT_EQ(seen.mid(many), (QStringList{"call", "after", "end"}));
    for (qsizetype size : batches)
        EXPECT_LE(size, WorkerCallQueue::kRowsPerDrain);
    EXPECT_GE(batches.size(), 3);
}

} // namespace

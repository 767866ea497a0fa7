// The hand-over the register windows and the memory window share: a watch's
// results reach the thread that made it, and nothing of a stopped or older
// watch does, over the simulated chip's pseudo-terminal.
#include "regmap/WatchHandOver.h"
#include "support/TargetRig.h"
#include "support/WaitFor.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;

// Sixteen bytes of RAM, read back to back.
RegisterWatch::Settings RamSettings(int refreshLimit = 0)
{
    RegisterWatch::Settings settings;
    settings.chipModel = "VX21A";
    settings.peripherals = {{"RAM", 0x20000000, 16, {}}};
    settings.interval = 0ms;
    settings.refreshLimit = refreshLimit;
    return settings;
}

// What one watch handed over.
struct Taken
{
    int refreshes = 0;
    int ends = 0;
    QByteArray lastImage;
    QString message;
    WatchHandOver::RefreshTaker Refresh()
    {
        return [this](const std::vector<PeripheralBytes> &images) {
            ++refreshes;
            lastImage = images.empty() ? QByteArray() : images.front().bytes;
        };
    }
    WatchHandOver::EndTaker End()
    {
        return [this](const QString &text, const QString &) {
            ++ends;
            message = text;
        };
    }
};

TEST(WatchHandOver, ResultsReachTheThreadThatMadeIt)
{
    TestApp();
    TargetRig rig;
    ASSERT_TRUE(rig.chipStarted);
    rig.chip.PokeWord(0x20000004, 0x12345678);
    QList<QThread *> deliveredOn;
    QThread *ownerThread = nullptr;
    int refreshes = 0;
    QString ended = "<not ended>";
    // The owner is a thread of its own with its own event loop, neither the
    // test's nor the watch's.
    std::unique_ptr<QThread> owner(QThread::create([&] {
        ownerThread = QThread::currentThread();
        WatchHandOver handOver(rig.config, rig.links);
        QEventLoop loop;
        const bool started = handOver.Start(
            RamSettings(3),
            [&](const std::vector<PeripheralBytes> &images) {
                deliveredOn << QThread::currentThread();
                ++refreshes;
                EXPECT_EQ(images.size(), 1u);
                EXPECT_EQ(images.front().bytes.mid(4, 4), QByteArray::fromHex("78563412"));
            },
            [&](const QString &message, const QString &) {
                deliveredOn << QThread::currentThread();
                ended = message;
                loop.quit();
            });
        EXPECT_TRUE(started);
        EXPECT_TRUE(handOver.IsRunning());
        if (started)
            loop.exec();
        EXPECT_FALSE(handOver.IsRunning());
    }));
    owner->start();
    ASSERT_TRUE(owner->wait(QDeadlineTimer(20000)));
    EXPECT_EQ(refreshes, 3);
    EXPECT_EQ(ended, QString());
    ASSERT_EQ(deliveredOn.size(), 4);
    for (QThread *thread : deliveredOn)
        EXPECT_EQ(thread, ownerThread);
}

TEST(WatchHandOver, NothingOfAStoppedWatchIsHandedOver)
{
    TestApp();
    TargetRig rig;
    ASSERT_TRUE(rig.chipStarted);
    WatchHandOver handOver(rig.config, rig.links);
    Taken taken;
    ASSERT_TRUE(handOver.Start(RamSettings(), taken.Refresh(), taken.End()));
    // Two refreshes done without this thread taking its events: the first
    // one's images wait in its queue.
    ASSERT_TRUE(WaitFor([&] { return handOver.LastFigures().refreshes >= 2; }));
    handOver.Stop();
    EXPECT_FALSE(handOver.IsRunning());
    handOver.Wait();
    PumpUntil([] { return false; }, 200ms);
    EXPECT_EQ(taken.refreshes, 0);
    EXPECT_EQ(taken.ends, 0) << "a stopped watch's end is not handed over either";
}

TEST(WatchHandOver, NothingOfAnOlderWatchReachesTheNewerOne)
{
    TestApp();
    TargetRig rig;
    ASSERT_TRUE(rig.chipStarted);
    WatchHandOver handOver(rig.config, rig.links);
    Taken older;
    ASSERT_TRUE(handOver.Start(RamSettings(), older.Refresh(), older.End()));
    EXPECT_FALSE(handOver.Start(RamSettings(), {}, {})) << "one watch at a time";
    ASSERT_TRUE(WaitFor([&] { return handOver.LastFigures().refreshes >= 2; }));
    handOver.Stop();

    // The newer watch starts while the older one's images and end are still
    // on their way (its thread may not even have ended).
    rig.chip.PokeWord(0x20000000, 0xA5A5A5A5);
    Taken newer;
    ASSERT_TRUE(handOver.Start(RamSettings(2), newer.Refresh(), newer.End()));
    ASSERT_TRUE(PumpUntil([&] { return newer.ends > 0; }));
    PumpUntil([] { return false; }, 200ms);
    EXPECT_EQ(older.refreshes, 0);
    EXPECT_EQ(older.ends, 0);
    EXPECT_EQ(newer.refreshes, 2);
    EXPECT_EQ(newer.ends, 1);
    EXPECT_EQ(newer.message, QString());
    EXPECT_EQ(newer.lastImage.left(4), QByteArray::fromHex("A5A5A5A5"));
    EXPECT_FALSE(handOver.IsRunning());
}

TEST(WatchHandOver, AFailingLinkEndsTheWatchWithItsMessageAndReason)
{
    TestApp();
    TargetRig rig;
    rig.config.WriteText(ConfigKey::kCommon, ConfigKey::kUartPort, "/nonexistent/tty");
    WatchHandOver handOver(rig.config, rig.links);
    QString message;
    QString reason;
    bool ended = false;
    ASSERT_TRUE(handOver.Start(
        RamSettings(), [](const std::vector<PeripheralBytes> &) { ADD_FAILURE() << "nothing was read"; },
        [&](const QString &text, const QString &why) {
            ended = true;
            message = text;
            reason = why;
        }));
    ASSERT_TRUE(PumpUntil([&] { return ended; }));
    EXPECT_EQ(message, "uart open error !\n");
    EXPECT_EQ(reason, "/nonexistent/tty: No such file or directory");
    EXPECT_FALSE(handOver.IsRunning());
}

} // namespace

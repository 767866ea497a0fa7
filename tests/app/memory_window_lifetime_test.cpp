// The memory window's work on the target from start to end, as a person
// meets it: a save, load or find cancelled with its button; closing the
// window or quitting while another action holds the link; units typed just
// before closing; the rows after the data source, the link or the chip
// changed; failed rows through changes of the row width and unit.

#include "AppRig.h"
#include "MemRig.h"

#include "link/LinkCycleGate.h"
#include "support/FakeGdbServer.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QProgressDialog>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "support/QtTestChecks.h"

namespace {

// Another action holds the link (the panel's long transfer) until released,
// or for 20 s at most.
class LinkHolder
{
public:
    explicit LinkHolder(LinkCycleGate &gate)
        : m_thread([this, &gate] {
            LinkCycleGatePass pass(gate, LinkCycleGate::Turn::User);
            std::unique_lock lock(m_mutex);
            m_holding = true;
            m_changed.notify_all();
            m_changed.wait_for(lock, std::chrono::seconds(20), [this] { return m_released; });
            m_holding = false;
        })
    {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock, [this] { return m_holding; });
    }
    ~LinkHolder()
    {
        Release();
        m_thread.join();
    }
    bool Holding()
    {
        std::lock_guard lock(m_mutex);
        return m_holding;
    }
    void Release()
    {
        std::lock_guard lock(m_mutex);
        m_released = true;
        m_changed.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_holding = false;
    bool m_released = false;
    std::thread m_thread;
};

QMdiSubWindow *FrameOf(MemoryWindow *window)
{
    return qobject_cast<QMdiSubWindow *>(window->parentWidget());
}

void WaitForProgress(MemoryWindow *window)
{
    auto *bar = MemRig::Tool<QProgressBar>(window, "progress");
    QTRY_VERIFY_WITH_TIMEOUT(bar->isVisible() && bar->value() > 0, 20000);
}

} // namespace

// "保存到文件" and "从文件载入" show their progress with "取消", as the
// panel's transfers do; a cancelled transfer says how far it got.
TEST(MemoryWindowLifetimeTest, SaveAndLoadAreCancelledWithTheirButton)
{
    MemRig mem;
    ASSERT_TRUE(mem.Start());
    MemoryWindow *window = mem.Open();
    ASSERT_NE(window, nullptr);
    mem.rig.WriteFile("in.bin", QByteArray(0x400000, '\x5A'));
    struct Case
    {
        const char *button;
        const char *file;
        const char *length;
        qint64 whole;
    };
    const Case cases[] = {{"save", "out.bin", "800000", 0x800000}, {"load", "in.bin", "", 0x400000}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.button);
        mem.rig.messages.clear();
        mem.rig.chosenFile = mem.rig.Path(QString::fromLatin1(c.file));
        MemRig::Tool<QLineEdit>(window, "rangeFirst")->setText("20000000");
        MemRig::Tool<QLineEdit>(window, "rangeLength")->setText(QString::fromLatin1(c.length));
        mem.chip.InjectDelay(5, 1 << 20); // seconds for the whole transfer
        QTest::mouseClick(MemRig::Tool<QPushButton>(window, c.button), Qt::LeftButton);
        WaitForProgress(window);
        auto *cancel = MemRig::Tool<QPushButton>(window, "cancel");
        ASSERT_TRUE(cancel->isVisible()) << "no cancel for the transfer";
        EXPECT_EQ(cancel->text(), "取消");
        QTest::mouseClick(cancel, Qt::LeftButton);
        MemRig::Settle(window);
        mem.chip.ClearFaults();
        ASSERT_EQ(mem.rig.messages.size(), 1) << mem.rig.messages.join('|').toStdString();
        EXPECT_TRUE(mem.rig.messages[0].startsWith("transfer stopped after 0x")) << mem.rig.messages[0].toStdString();
        EXPECT_FALSE(cancel->isVisible());
        EXPECT_TRUE(MemRig::Tool<QPushButton>(window, c.button)->isEnabled());
    }
    EXPECT_LT(QFileInfo(mem.rig.Path("out.bin")).size(), 0x800000);
    EXPECT_NE(mem.chip.Peek(kRam + 0x3FFFFC, 4), QByteArray(4, '\x5A')) << "the load ran to its end";
}

// A save runs as the panel's own actions do: the panel's busy mark names
// it, no button of the panel or of any memory window starts another action
// meanwhile, and its messages come while it runs, not after it.
TEST(MemoryWindowLifetimeTest, ASaveShowsInTheBusyMarkAndHoldsTheOtherActionsBack)
{
    MemRig mem;
    ASSERT_TRUE(mem.Start());
    MemoryWindow *other = mem.Open();
    MemoryWindow *window = mem.Open();
    ASSERT_TRUE(other && window && other != window);
    auto *mark = mem.rig.Panel().findChild<QLabel *>(QStringLiteral("1042"));
    auto *panelRead = mem.rig.Panel().findChild<QPushButton *>(QStringLiteral("1023"));
    ASSERT_TRUE(mark && panelRead);
    const QString idle = mark->text();

    mem.rig.chosenFile = mem.rig.Path("out.bin");
    MemRig::Tool<QLineEdit>(window, "rangeFirst")->setText("20000000");
    MemRig::Tool<QLineEdit>(window, "rangeLength")->setText("900000"); // over the cap: a note first
    mem.chip.InjectDelay(5, 1 << 20);                                  // seconds for the whole transfer
    QTest::mouseClick(MemRig::Tool<QPushButton>(window, "save"), Qt::LeftButton);
    WaitForProgress(window);
    EXPECT_EQ(mark->text(), "保存到文件 …");
    EXPECT_EQ(mem.rig.messages, QStringList{"LENGTH over 8*1024*1024 Bytes, use 8*1024*1024!"})
        << "the note comes while the save runs";
    EXPECT_FALSE(panelRead->isEnabled());
    for (MemoryWindow *each : {window, other})
        for (const char *button : {"findNext", "save", "load"})
            EXPECT_FALSE(MemRig::Tool<QPushButton>(each, button)->isEnabled()) << button;
    // Enter in the other window's find box starts nothing either; it says why.
    MemRig::Tool<QLineEdit>(other, "find")->setText("DEADBEEF");
    QTest::keyClick(MemRig::Tool<QLineEdit>(other, "find"), Qt::Key_Return);
    EXPECT_EQ(MemRig::Tool<QLabel>(other, "message")->text(), "保存到文件 …");
    EXPECT_FALSE(MemRig::Tool<QProgressBar>(other, "progress")->isVisible());

    QTest::mouseClick(MemRig::Tool<QPushButton>(window, "cancel"), Qt::LeftButton);
    MemRig::Settle(window);
    mem.chip.ClearFaults();
    EXPECT_EQ(mark->text(), idle);
    EXPECT_TRUE(panelRead->isEnabled());
    for (MemoryWindow *each : {window, other})
        for (const char *button : {"findNext", "save", "load"})
            EXPECT_TRUE(MemRig::Tool<QPushButton>(each, button)->isEnabled()) << button;
    ASSERT_EQ(mem.rig.messages.size(), 2) << mem.rig.messages.join('|').toStdString();
    EXPECT_TRUE(mem.rig.messages[1].startsWith("transfer stopped after 0x")) << mem.rig.messages[1].toStdString();
}

// Closing a memory window while another action holds the link (the
// panel's long transfer) cancels the window's save, stops its watch and
// returns without waiting for that action.
TEST(MemoryWindowLifetimeTest, ClosingWhileTheLinkIsHeldElsewhereReturnsAtOnce)
{
    MemRig mem;
    ASSERT_TRUE(mem.Start());
    MemoryWindow *window = mem.Open();
    ASSERT_NE(window, nullptr);
    QTest::mouseClick(MemRig::Tool<QCheckBox>(window, "watch"), Qt::LeftButton);
    ASSERT_TRUE(window->Watch().IsRunning());
    LinkHolder holder(mem.rig.app->Links().gate);
    mem.rig.chosenFile = mem.rig.Path("out.bin");
    MemRig::Tool<QLineEdit>(window, "rangeLength")->setText("1000");
    QTest::mouseClick(MemRig::Tool<QPushButton>(window, "save"), Qt::LeftButton);
    QTest::qWait(300); // the save and a refresh wait for the link
    EXPECT_EQ(window->Outstanding(), 1);
    FrameOf(window)->close();
    mem.rig.Settle(); // the window goes
    EXPECT_TRUE(mem.rig.app->MemoryWindows().isEmpty());
    EXPECT_TRUE(holder.Holding()) << "the window waited for the action holding the link";
    holder.Release();
    QTest::qWait(100);
    EXPECT_FALSE(QFileInfo::exists(mem.rig.Path("out.bin"))) << "the save went on after the window closed";
}

// The same with the panel's own long transfer holding the link: the watching
// window closes at once and the transfer's 取消 can be clicked right after.
TEST(MemoryWindowLifetimeTest, ClosingAWatchingWindowDuringThePanelsTransferLeavesItsCancelClickable)
{
    MemRig mem;
    ASSERT_TRUE(mem.Start());
    MemoryWindow *window = mem.Open();
    ASSERT_NE(window, nullptr);
    QTest::mouseClick(MemRig::Tool<QCheckBox>(window, "watch"), Qt::LeftButton);
    mem.rig.chosenFile = mem.rig.Path("panel.bin");
    for (const auto &[id, text] : {std::pair{"1021", "20000000"}, std::pair{"1024", "800000"}}) {
        auto *field = mem.rig.Panel().findChild<QLineEdit *>(QString::fromLatin1(id));
        QTest::mouseClick(field, Qt::LeftButton);
        field->selectAll();
        QTest::keyClicks(field, QString::fromLatin1(text));
    }
    mem.chip.InjectDelay(5, 1 << 20); // seconds for the whole transfer
    QTest::mouseClick(mem.rig.Panel().findChild<QPushButton *>("1025"), Qt::LeftButton);
    QProgressDialog *progress = nullptr;
    QTRY_VERIFY_WITH_TIMEOUT(
        (progress = mem.rig.Panel().findChild<QProgressDialog *>("progress")) && progress->value() > 0, 20000);
    QTest::qWait(500); // the watch's next refresh waits for the link
    FrameOf(window)->close();
    mem.rig.Settle();
    EXPECT_TRUE(mem.rig.app->MemoryWindows().isEmpty());
    ASSERT_TRUE(mem.rig.app->Links().gate.IsHeld()) << "the window waited for the panel's transfer";
    QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
    ASSERT_TRUE(mem.rig.WaitForActions());
    mem.chip.ClearFaults();
    ASSERT_EQ(mem.rig.messages.size(), 1) << mem.rig.messages.join('|').toStdString();
    EXPECT_TRUE(mem.rig.messages[0].startsWith("transfer stopped after 0x")) << mem.rig.messages[0].toStdString();
}

// Quitting during a memory window's long save cancels it between two chunks
// instead of waiting for the whole transfer.
TEST(MemoryWindowLifetimeTest, QuittingDuringASaveCancelsIt)
{
    MemRig mem;
    ASSERT_TRUE(mem.Start());
    MemoryWindow *window = mem.Open();
    ASSERT_NE(window, nullptr);
    QTest::mouseClick(MemRig::Tool<QCheckBox>(window, "watch"), Qt::LeftButton);
    mem.rig.chosenFile = mem.rig.Path("out.bin");
    MemRig::Tool<QLineEdit>(window, "rangeFirst")->setText("20000000");
    MemRig::Tool<QLineEdit>(window, "rangeLength")->setText("800000");
    mem.chip.InjectDelay(5, 1 << 20); // seconds for the whole transfer
    QTest::mouseClick(MemRig::Tool<QPushButton>(window, "save"), Qt::LeftButton);
    WaitForProgress(window);
    mem.rig.Quit();
    EXPECT_LT(QFileInfo(mem.rig.Path("out.bin")).size(), 0x800000) << "quitting waited for the whole transfer";
}

// Units typed just before the window closes are written; when the link
// stays busy they are named in one message instead of dropped in silence.
TEST(MemoryWindowLifetimeTest, UnitsTypedBeforeClosingAreWrittenOrNamed)
{
    {
        MemRig mem;
        ASSERT_TRUE(mem.Start());
        MemoryWindow *window = mem.Open();
        ASSERT_NE(window, nullptr);
        MemRig::ClickUnit(window, kRam);
        MemRig::Type(window, "11223344");
        FrameOf(window)->close();
        EXPECT_EQ(mem.chip.Peek(kRam, 4), QByteArray::fromHex("11223344"));
        EXPECT_TRUE(mem.rig.messages.isEmpty()) << mem.rig.messages.join('|').toStdString();
    }
    {
        MemRig mem;
        ASSERT_TRUE(mem.Start());
        MemoryWindow *window = mem.Open();
        ASSERT_NE(window, nullptr);
        const QByteArray before = mem.chip.Peek(kRam + 8, 2);
        LinkHolder holder(mem.rig.app->Links().gate);
        MemRig::ClickUnit(window, kRam + 8);
        MemRig::Type(window, "5566");
        FrameOf(window)->close();
        mem.rig.Settle();
        EXPECT_TRUE(holder.Holding());
        EXPECT_EQ(mem.rig.messages, QStringList{"memory window closed while the link was busy, not written:\n"
                                                "0x20000008 = 55\n0x20000009 = 66"});
        holder.Release();
        EXPECT_EQ(mem.chip.Peek(kRam + 8, 2), before);
    }
}

// Over a slow link a find reads in short transfers: its cancel acts after
// the one on its way, not after a whole transfer buffer.
TEST(MemoryWindowLifetimeTest, AFindsCancelActsAfterTheTransferOnItsWayOverASlowLink)
{
    FakeGdbScript script;
    script.memoryReadPauseMs = 100; // per packet of 2 KiB
    FakeGdbServer server(script);
    AppRig rig(StandardIni(QStringLiteral("GDB_SERVER=%1\n").arg(QString::fromStdString(server.Address())))
                   .replace("DATA_TYPE=0", "DATA_TYPE=3"));
    ASSERT_TRUE(rig.Start());
    QTest::mouseClick(rig.Panel().findChild<QPushButton *>("1043"), Qt::LeftButton);
    ASSERT_EQ(rig.app->MemoryWindows().size(), 1);
    MemoryWindow *window = rig.app->MemoryWindows().front();
    MemRig::Settle(window);
    ASSERT_TRUE(rig.messages.isEmpty()) << rig.messages.join('|').toStdString();

    MemRig::Tool<QLineEdit>(window, "find")->setText("00 00"); // never in the server's bytes
    MemRig::Tool<QLineEdit>(window, "rangeLength")->setText("100000");
    const int beforeFind = server.CountOf("m");
    QTest::mouseClick(MemRig::Tool<QPushButton>(window, "findNext"), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(server.CountOf("m") >= beforeFind + 2, 20000);
    const int atCancel = server.CountOf("m");
    QTest::mouseClick(MemRig::Tool<QPushButton>(window, "cancel"), Qt::LeftButton);
    MemRig::Settle(window);
    EXPECT_EQ(MemRig::Tool<QLabel>(window, "message")->text(), "已取消");
    EXPECT_LE(server.CountOf("m") - atCancel, 2) << "packets read after the cancel";
}

// Rows read through one link say nothing of another: a change of data
// source reads them again and the old failure goes; after a chip change a
// name the new chip's SVD file lacks leaves the address box.
TEST(MemoryWindowLifetimeTest, ALinkOrChipChangeReadsTheRowsAgainAndClearsWhatNoLongerHolds)
{
    MemRig mem;
    mem.rig.WriteFile(
        "Corvane.ini",
        StandardIni(QStringLiteral("UART_PORT=/nonexistent/ttyX\n")).replace("DATA_TYPE=0", "DATA_TYPE=2").toUtf8());
    ASSERT_TRUE(mem.Start());
    MemoryWindow *window = mem.Open();
    ASSERT_NE(window, nullptr);
    auto *message = MemRig::Tool<QLabel>(window, "message");
    ASSERT_EQ(window->View().UnitText(kRam), "??");
    const QString failure = message->text();
    ASSERT_FALSE(failure.isEmpty());

    mem.rig.PickByKey(1007, 1); // J-Link: the stand-in probe's memory
    MemRig::Settle(window);
    EXPECT_NE(window->View().UnitText(kRam), "??") << "the rows were not read again";
    EXPECT_NE(message->text(), failure);

    MemRig::GoTo(window, "UART0");
    auto *address = MemRig::Tool<QComboBox>(window, "address");
    ASSERT_EQ(address->currentText(), "UART0");
    mem.rig.PickByKey(1001, 1); // VX21B: no SVD file here
    MemRig::Settle(window);
    EXPECT_NE(address->currentText(), "UART0");
}

// Rows whose read failed keep "??" when the row width and the unit change,
// until they are read again; they never turn into 00.
TEST(MemoryWindowLifetimeTest, FailedRowsStayFailedThroughRowWidthAndUnitChanges)
{
    MemRig mem;
    ASSERT_TRUE(mem.Start());
    MemoryWindow *window = mem.Open();
    ASSERT_NE(window, nullptr);
    MemRig::GoTo(window, "20000010");
    mem.chip.InjectNoAnswer(1000);
    MemRig::Key(window, Qt::Key_F5);
    MemRig::Settle(window);
    mem.chip.ClearFaults();
    ASSERT_EQ(window->View().UnitText(kRam + 0x10), "??");
    mem.rig.messages.clear();

    struct Step
    {
        const char *list;
        int entry; // 32 bytes a row moves the top row up: a row above the failed ones is read
        QString failed;
    };
    const Step steps[] = {{"rowWidth", 2, "??"}, {"unit", 2, "????????"}, {"rowWidth", 0, "????????"}};
    for (const Step &step : steps) {
        SCOPED_TRACE(step.list);
        QComboBox *list = MemRig::Tool<QComboBox>(window, step.list);
        list->setFocus();
        while (list->currentIndex() < step.entry)
            QTest::keyClick(list, Qt::Key_Down);
        while (list->currentIndex() > step.entry)
            QTest::keyClick(list, Qt::Key_Up);
        MemRig::Settle(window);
        EXPECT_EQ(window->View().UnitText(kRam + 0x10), step.failed);
    }
    EXPECT_EQ(window->View().UnitText(kRam), "C0DE0000") << "the row above was read";
    MemRig::Key(window, Qt::Key_F5);
    MemRig::Settle(window);
    EXPECT_EQ(window->View().UnitText(kRam + 0x10), "C0DE0004");
}

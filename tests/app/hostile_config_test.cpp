// Configuration files the user does not expect: list counts no person
// writes (the lists are capped and the file is read once per list, so the
// start-up neither hangs nor fills memory), a file no write may change, and
// another writer that keeps the file's lock.

#include "AppRig.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

TEST(HostileConfigTest, HugeListCountsAreCapped)
{
    AppRig rig(StandardIni().replace("NUM=5", "NUM=2147483647").replace("NUM=7", "NUM=2147483647"));
    ASSERT_TRUE(rig.Start());
    QComboBox *chip = rig.List(1001);
    ASSERT_EQ(chip->count(), ConfigFile::kListLimit);
    EXPECT_EQ(chip->itemText(4), "VX21E");
    EXPECT_EQ(chip->itemText(5), "");
    EXPECT_EQ(rig.List(1005)->count(), ConfigFile::kListLimit);
    EXPECT_EQ(rig.List(1005)->itemText(6), "6000000");
}

// A configuration file in another encoding is read but never rewritten; a
// choice that cannot be stored says so instead of vanishing.
TEST(HostileConfigTest, ChoiceThatCannotBeStoredIsReported)
{
    AppRig rig;
    const QByteArray utf16 =
        QByteArray("\xFF\xFE", 2) +
        QByteArray(reinterpret_cast<const char *>(StandardIni().utf16()), StandardIni().size() * 2);
    rig.WriteFile("Corvane.ini", utf16);
    ASSERT_TRUE(rig.Start());
    rig.messages.clear();
    rig.Pick(1032, 1);
    EXPECT_EQ(rig.messages, QStringList{rig.Path("Corvane.ini") + " is not UTF-8 text, not written !\n"});
    QFile file(rig.Path("Corvane.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), utf16);
}

namespace {

QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Clicks the check box at the left edge of a peripheral row, as a person does.
void ClickRowBox(PeripheralList &list, const QString &name)
{
    list.resize(365, 200);
    const QRect cell = list.visualItemRect(list.FindRow(name));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, QPoint(cell.left() + 10, cell.center().y()));
}

} // namespace

// Every gesture that stores a choice says when the file refuses it, and the
// choice is not made: the window box stays clear, the chip stays, no mark is
// drawn and no register window gains or loses a peripheral.
TEST(HostileConfigTest, EveryChoiceTheFileRefusesIsReportedAndNotMade)
{
    AppRig rig;
    // Readable, but a comment in GBK: never rewritten.
    const QByteArray gbk = "; \xC4\xE3\n" + StandardIni(QStringLiteral("[VX21A]\nWND_0=1\nUART0=1\n")).toUtf8();
    rig.WriteFile("Corvane.ini", gbk);
    ASSERT_TRUE(rig.Start());
    ASSERT_NE(rig.app->RegisterWindow(0), nullptr);
    const QString refused = rig.Path("Corvane.ini") + " is not UTF-8 text, not written !\n";
    PeripheralList &list = rig.Peripherals();

    rig.messages.clear();
    QTest::mouseClick(rig.Box(1), Qt::LeftButton);
    EXPECT_EQ(rig.messages, QStringList{refused}) << "window box";
    EXPECT_FALSE(rig.Box(1)->isChecked());
    EXPECT_EQ(rig.app->RegisterWindow(1), nullptr);

    rig.messages.clear();
    rig.Pick(1001, 2);
    EXPECT_EQ(rig.messages, QStringList{refused}) << "chip choice";
    EXPECT_EQ(rig.List(1001)->currentText(), "VX21A");
    EXPECT_NE(list.FindRow("UART0"), nullptr) << "the list still shows the stored chip's peripherals";

    rig.messages.clear();
    ClickRowBox(list, "GPIO");
    EXPECT_EQ(rig.messages, QStringList{refused}) << "tick in the list";
    EXPECT_EQ(list.FindRow("GPIO")->checkState(0), Qt::Unchecked);
    EXPECT_TRUE(list.FindRow("GPIO")->text(1).isEmpty());

    rig.messages.clear();
    list.CellDoubleClicked(list.FindRow("UART0"), 1);
    EXPECT_EQ(rig.messages, QStringList{refused}) << "mark taken off";
    EXPECT_FALSE(list.FindRow("UART0")->text(1).isEmpty());
    EXPECT_EQ(list.FindRow("UART0")->checkState(0), Qt::Checked);

    rig.messages.clear();
    rig.app->ChildFrame(0)->close();
    rig.Settle();
    EXPECT_EQ(rig.messages, QStringList{refused}) << "one message for a closed window, not one per mark";
    EXPECT_EQ(FileBytes(rig.Path("Corvane.ini")), gbk);
}

// A writer that holds the file's lock and does not finish (stopped, hung):
// the window's write is refused after a short wait, with its message, rather
// than holding the window for the writer's time; once the lock is free the
// same choice is stored.
TEST(HostileConfigTest, WindowDoesNotWaitForAWriterThatKeepsTheLock)
{
    AppRig rig;
    ASSERT_TRUE(rig.Start());
    const QByteArray before = FileBytes(rig.Path("Corvane.ini"));
    const int held = ::open(QFile::encodeName(rig.Path("Corvane.ini")).constData(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);

    rig.messages.clear();
    QElapsedTimer clock;
    clock.start();
    rig.Pick(1007, 2);
    // The old writer waited 10 s for the lock; the window waits a tenth of a second.
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(rig.messages, QStringList{rig.Path("Corvane.ini") + " is held by another writer, not written !\n"});
    EXPECT_EQ(FileBytes(rig.Path("Corvane.ini")), before);

    ::close(held);
    rig.messages.clear();
    rig.Pick(1007, 1);
    rig.Pick(1007, 2);
    EXPECT_TRUE(rig.messages.isEmpty());
    EXPECT_EQ(rig.ReadInt("COMMON", "DATA_TYPE"), 2);
}

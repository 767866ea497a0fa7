// The configuration file against what the world does to it: a full disk,
// other writers, old line endings, foreign encodings, special files and a
// folder that takes no new file.

#include "IniFixture.h"
#include "support/FileSizeLimit.h"

#include <QFile>
#include <QRegularExpression>

#include <thread>

#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray kOld = "; keep\n[COMMON]\nDATA_TYPE=1\n";

using ConfigFileFaults = IniFixture;

QByteArray Utf16(const QString &text)
{
    return QByteArray(reinterpret_cast<const char *>(text.utf16()), text.size() * 2);
}

TEST_F(ConfigFileFaults, FullDiskLeavesTheOldFile)
{
    Put(kOld);
    {
        const FileSizeLimit full(8);
        EXPECT_FALSE(m_file.WriteInt("COMMON", "DATA_TYPE", 2));
    }
    EXPECT_EQ(Bytes(), kOld);
    EXPECT_EQ(FolderEntries(), QStringList{"Corvane.ini"});
    EXPECT_EQ(m_file.WriteFailure(), Path() + " write error, not written !\n");
    EXPECT_TRUE(m_file.WriteInt("COMMON", "DATA_TYPE", 2));
    EXPECT_TRUE(m_file.WriteFailure().isEmpty());
}

TEST_F(ConfigFileFaults, ConcurrentWritersLoseNoKey)
{
    Put(kOld);
    constexpr int kWrites = 150;
    auto writer = [this](const QString &prefix) {
        ConfigFile own(Path()); // a writer of its own, as another program is
        for (int i = 0; i < kWrites; ++i)
            own.WriteInt("COMMON", prefix + QString::number(i), i);
    };
    std::thread a(writer, QStringLiteral("A_"));
    std::thread b(writer, QStringLiteral("B_"));
    a.join();
    b.join();
    int lost = 0;
    for (int i = 0; i < kWrites; ++i)
        for (const char *prefix : {"A_", "B_"})
            lost += m_file.ReadInt("COMMON", prefix + QString::number(i), -1) != i;
    EXPECT_EQ(lost, 0);
    EXPECT_EQ(m_file.ReadInt("COMMON", "DATA_TYPE", 0), 1);
    EXPECT_EQ(FolderEntries(), QStringList{"Corvane.ini"}) << "no lock file is left behind";
}

TEST_F(ConfigFileFaults, LockDoesNotStopReaders)
{
    Put(kOld);
    const int held = ::open(QFile::encodeName(Path()).constData(), O_RDONLY);
    ASSERT_EQ(::flock(held, LOCK_EX), 0);
    EXPECT_EQ(m_file.ReadInt("COMMON", "DATA_TYPE", 0), 1);
    ::close(held);
}

// The running program holds its installation folder as its one-copy lock, so
// a writer of a file not yet there must not wait on the folder.
TEST_F(ConfigFileFaults, MissingFileIsWrittenWhileItsFolderIsHeld)
{
    const int folder = ::open(QFile::encodeName(m_dir.path()).constData(), O_RDONLY | O_DIRECTORY);
    ASSERT_EQ(::flock(folder, LOCK_EX), 0);
    EXPECT_TRUE(m_file.WriteText("COMMON", "UNUSED", ""));
    EXPECT_TRUE(FolderEntries().isEmpty()) << "a removal from no file makes no file";
    EXPECT_TRUE(m_file.WriteInt("COMMON", "DATA_TYPE", 2));
    EXPECT_EQ(m_file.ReadInt("COMMON", "DATA_TYPE", 0), 2);
    EXPECT_EQ(FolderEntries(), QStringList{"Corvane.ini"});
    ::close(folder);
}

TEST_F(ConfigFileFaults, CarriageReturnEndsALine)
{
    Put("[COMMON]\rDATA_TYPE=1\rUART_PORT=ttyS1\r[OTHER]\rX=1");
    EXPECT_EQ(m_file.ReadInt("COMMON", "DATA_TYPE", 0), 1);
    EXPECT_EQ(m_file.ReadText("COMMON", "UART_PORT", "", 40), "ttyS1");
    EXPECT_EQ(m_file.ReadInt("OTHER", "X", 0), 1);
    ASSERT_TRUE(m_file.WriteInt("COMMON", "DATA_TYPE", 2));
    ASSERT_TRUE(m_file.WriteInt("COMMON", "HEX_DEC", 1));
    EXPECT_EQ(Bytes(), "[COMMON]\rDATA_TYPE=2\rUART_PORT=ttyS1\rHEX_DEC=1\r[OTHER]\rX=1");
}

TEST_F(ConfigFileFaults, FileOfAnotherEncodingIsNotRewritten)
{
    const QByteArray cases[] = {
        QByteArray("\xFF\xFE", 2) + Utf16("[C]\nA=1\n"), // UTF-16 LE
        QByteArray("[COMMON]\nUART_PORT=\xC4\xE3\n"),    // GBK, not UTF-8
        QByteArray("[COMMON]\n; \xE7\xAB"),              // UTF-8 cut off in a character
    };
    for (const QByteArray &bytes : cases) {
        Put(bytes);
        EXPECT_FALSE(m_file.WriteInt("COMMON", "DATA_TYPE", 2));
        EXPECT_EQ(Bytes(), bytes);
        EXPECT_EQ(m_file.WriteFailure(), Path() + " is not UTF-8 text, not written !\n");
    }
}

TEST_F(ConfigFileFaults, SpecialFilesAreNeitherReadNorWaitedOn)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(Path()).constData(), 0600), 0);
    EXPECT_EQ(m_file.ReadInt("COMMON", "DATA_TYPE", 7), 7) << "a FIFO never blocks the reader";
    EXPECT_FALSE(m_file.WriteInt("COMMON", "DATA_TYPE", 2));
    ASSERT_TRUE(QFile::remove(Path()));

    ASSERT_TRUE(QFile::link("/dev/zero", Path()));
    EXPECT_EQ(m_file.ReadInt("COMMON", "DATA_TYPE", 7), 7) << "an endless device is not read";
    EXPECT_EQ(m_file.ReadTextList("CHIP_TYPE", "NUM", "CHIP_%d", 50), QStringList{});
    EXPECT_FALSE(m_file.WriteInt("COMMON", "DATA_TYPE", 2));
    ASSERT_TRUE(QFile::remove(Path()));

    // More than a configuration holds: refused, not grown into memory.
    Put("[COMMON]\nDATA_TYPE=1\n" + QByteArray(9 * 1024 * 1024, ';'));
    EXPECT_EQ(m_file.ReadInt("COMMON", "DATA_TYPE", 7), 7);
}

TEST_F(ConfigFileFaults, ListsAreCappedAndReadOnce)
{
    Put("[CHIP_TYPE]\nNUM=2147483647\nCHIP_0=VX21A\nCHIP_1=VX21B\nCHIP_300=VX21C\n"
        "[UART_BAUND]\nNUM=-5\nBAUND_0=115200\n[EMPTY]\nNUM=2\n");
    const QStringList chips = m_file.ReadTextList("CHIP_TYPE", "NUM", "CHIP_%d", 50);
    ASSERT_EQ(chips.size(), ConfigFile::kListLimit);
    EXPECT_EQ(chips.mid(0, 3), QStringList({"VX21A", "VX21B", ""}));
    EXPECT_EQ(m_file.ReadTextList("UART_BAUND", "NUM", "BAUND_%d", 50), QStringList{});
    EXPECT_EQ(m_file.ReadTextList("EMPTY", "NUM", "X_%d", 50), QStringList({"", ""}));
    EXPECT_EQ(m_file.ReadTextList("MISSING", "NUM", "X_%d", 50), QStringList{});
    Put("[L]\nNUM=1\nE_0=abcdef\n");
    EXPECT_EQ(m_file.ReadTextList("L", "NUM", "E_%d", 4), QStringList{"abc"}) << "read size as ReadText";
}

// Root may create files anywhere; the writer runs as nobody then, the way a
// user meets a folder that refuses new files.
void RunAsUser()
{
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
        _exit(90);
}

// The file is only ever replaced through a new file beside it; a folder that
// takes none leaves the file as it was and says why.
TEST_F(ConfigFileFaults, ReadOnlyFolderSaysWhyTheWriteFailed)
{
    Put(kOld);
    ASSERT_EQ(::chmod(QFile::encodeName(Path()).constData(), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(m_dir.path()).constData(), 0555), 0);
    GTEST_FLAG_SET(death_test_style, "fast");
    const QByteArray expected = (Path() + ": its folder takes no new file, not written !\n").toUtf8();
    EXPECT_EXIT(
        {
            RunAsUser();
            const bool written = m_file.WriteText("COMMON", "UART_PORT", "ttyUSB0");
            _exit(!written && m_file.WriteFailure().toUtf8() == expected ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    ::chmod(QFile::encodeName(m_dir.path()).constData(), 0700);
    EXPECT_EQ(Bytes(), kOld);
    EXPECT_EQ(FolderEntries(), QStringList{"Corvane.ini"});
}

// A writer in a child process that does `atRename` to itself once its new
// file is on disk and it holds the lock: SIGKILL, or SIGSTOP until the test
// lets it go on. The child's pid.
pid_t StartWriter(const QString &path, int atRename)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ConfigFile writer(path);
        writer.SetBeforeRenameHook([atRename] {
            ::raise(atRename);
            return true;
        });
        _exit(writer.WriteText("COMMON", "UART_PORT", "ttyChild") ? 0 : 1);
    }
    return child;
}

TEST_F(ConfigFileFaults, NextWriterRemovesWhatAKilledWriterLeft)
{
    Put(kOld);
    const pid_t killed = StartWriter(Path(), SIGKILL);
    ASSERT_GT(killed, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(killed, &status, 0), killed);
    ASSERT_TRUE(WIFSIGNALED(status));
    const QStringList left = FolderEntries();
    ASSERT_EQ(left.size(), 2) << left.join(' ').toStdString();
    EXPECT_EQ(left.filter(QRegularExpression("^Corvane\\.ini\\.new" + QString::number(killed) + "-\\d+$")).size(), 1);
    EXPECT_EQ(Bytes(), kOld);

    // New files of processes that still run stay, and so do names that are
    // not of this form; pid 1 always runs.
    const QStringList others = {"Corvane.ini.new1-3", "Corvane.ini.new" + QString::number(::getpid()) + "-999",
                                "Corvane.ini.new", "Corvane.ini.new12x-1", "Corvane.ini.bak"};
    for (const QString &name : others) {
        QFile file(m_dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(m_file.WriteInt("COMMON", "DATA_TYPE", 2));
    QStringList expected = others + QStringList{"Corvane.ini"};
    expected.sort();
    EXPECT_EQ(FolderEntries(), expected);
    EXPECT_EQ(Bytes(), "; keep\n[COMMON]\nDATA_TYPE=2\n");
}

// A writer stopped in the middle (Ctrl+Z, a debugger) keeps its lock: the
// others are refused after their wait, with the message, and its new file
// stays; once it goes on, its write lands and the next writer gets through.
TEST_F(ConfigFileFaults, StoppedWriterRefusesTheOthersUntilItGoesOn)
{
    Put(kOld);
    const pid_t stopped = StartWriter(Path(), SIGSTOP);
    ASSERT_GT(stopped, 0);
    int status = 0;
    ASSERT_EQ(::waitpid(stopped, &status, WUNTRACED), stopped);
    ASSERT_TRUE(WIFSTOPPED(status));

    QStringList reports;
    m_file.SetFailureReport([&](const QString &message) { reports << message; });
    m_file.SetLockWaitMs(100);
    EXPECT_FALSE(m_file.WriteInt("COMMON", "DATA_TYPE", 2));
    EXPECT_EQ(m_file.WriteFailure(), Path() + " is held by another writer, not written !\n");
    EXPECT_EQ(reports, QStringList{m_file.WriteFailure()});
    EXPECT_EQ(Bytes(), kOld);
    EXPECT_EQ(FolderEntries().size(), 2) << "the stopped writer's new file stays";

    ASSERT_EQ(::kill(stopped, SIGCONT), 0);
    ASSERT_EQ(::waitpid(stopped, &status, 0), stopped);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(m_file.ReadText("COMMON", "UART_PORT", "", 40), "ttyChild");
    EXPECT_TRUE(m_file.WriteInt("COMMON", "DATA_TYPE", 2));
    EXPECT_EQ(m_file.ReadInt("COMMON", "DATA_TYPE", 0), 2);
    EXPECT_EQ(FolderEntries(), QStringList{"Corvane.ini"});
    EXPECT_EQ(reports.size(), 1);
}

} // namespace

#include "IniFixture.h"

#include "link/HaltRecord.h"
#include "link/IniValues.h"

#include <QDeadlineTimer>
#include <QThread>

#include <fcntl.h>
#include <sys/stat.h>

#include <functional>

namespace {

const QByteArray kFirst = "[S]\nK=1\nNAME=abc\nN=2\nI_0=x\nI_1=y\n";
const QByteArray kSameSize = "[S]\nK=2\nNAME=abd\nN=2\nI_0=x\nI_1=y\n";

uint64_t FileReads()
{
    return IniFileCache::Count().fileReads;
}

uint64_t Parses()
{
    return IniFileCache::Count().parses;
}

// Writes bytes over the file in place (same inode), as an editor that
// truncates and writes does.
void WriteInPlace(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_EQ(file.write(bytes), bytes.size());
    ASSERT_TRUE(file.resize(bytes.size()));
}

class ConfigFileCache : public IniFixture
{
protected:
    void SetUp() override { Put(kFirst); }

    // Reads until the file's version lies far enough back for the cache to
    // trust it; true once a read opens the file no more.
    bool Settle()
    {
        const QDeadlineTimer deadline(5000);
        while (!deadline.hasExpired()) {
            const uint64_t before = FileReads();
            m_file.ReadInt("S", "K", 0);
            if (FileReads() == before)
                return true;
            QThread::msleep(20);
        }
        return false;
    }
};

TEST_F(ConfigFileCache, UnchangedFileIsParsedOnceAndThenNotOpened)
{
    const uint64_t parsesBefore = Parses();
    const ConfigFile other(Path());
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(m_file.ReadInt("S", "K", 0), 1);
        EXPECT_EQ(other.ReadText("s", "name", "", 40), "abc");
        EXPECT_EQ(m_file.ReadTextList("S", "N", "I_%d", 40), QStringList({"x", "y"}));
        EXPECT_EQ(other.ReadInt("S", "MISSING", 9), 9);
    }
    EXPECT_EQ(Parses() - parsesBefore, 1u);

    ASSERT_TRUE(Settle()) << "reads still open the file after 5 s";
    const uint64_t readsBefore = FileReads();
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(m_file.ReadInt("S", "K", 0), 1);
        EXPECT_EQ(other.ReadText("S", "NAME", "", 40), "abc");
    }
    EXPECT_EQ(FileReads() - readsBefore, 0u);
    EXPECT_EQ(Parses() - parsesBefore, 1u);
}

struct ChangeCase
{
    const char *what;
    std::function<void(const QString &path)> change;
    int expectedK;
    const char *expectedName;
};

TEST_F(ConfigFileCache, ChangesByOtherWritersAreSeenAtTheNextRead)
{
    const ChangeCase cases[] = {
        {"another ConfigFile object writes",
         [](const QString &path) {
             ConfigFile other(path);
             ASSERT_TRUE(other.WriteInt("S", "K", 2));
             ASSERT_TRUE(other.WriteText("S", "NAME", "abd"));
         },
         2, "abd"},
        {"same size written in place", [](const QString &path) { WriteInPlace(path, kSameSize); }, 2, "abd"},
        {"same size in place, modification time set back",
         [](const QString &path) {
             struct stat before
             {
             };
             ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
             WriteInPlace(path, kSameSize);
             const timespec times[2] = {before.st_atim, before.st_mtim};
             ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
         },
         2, "abd"},
        {"same size renamed over it",
         [](const QString &path) {
             QFile file(path + ".new");
             ASSERT_TRUE(file.open(QIODevice::WriteOnly));
             ASSERT_EQ(file.write(kSameSize), kSameSize.size());
             file.close();
             ASSERT_EQ(::rename(QFile::encodeName(file.fileName()).constData(), QFile::encodeName(path).constData()),
                       0);
         },
         2, "abd"},
        {"removed", [](const QString &path) { ASSERT_TRUE(QFile::remove(path)); }, 7, "<none>"},
    };
    for (const bool settled : {false, true}) {
        for (const ChangeCase &c : cases) {
            SCOPED_TRACE(std::string(c.what) + (settled ? ", file settled before" : ", right after a read"));
            Put(kFirst);
            EXPECT_EQ(m_file.ReadInt("S", "K", 7), 1);
            if (settled) {
                ASSERT_TRUE(Settle());
            }
            c.change(Path());
            EXPECT_EQ(m_file.ReadInt("S", "K", 7), c.expectedK);
            EXPECT_EQ(m_file.ReadText("S", "NAME", "<none>", 40), c.expectedName);
        }
    }
}

TEST_F(ConfigFileCache, OwnWritesNeedNoParse)
{
    EXPECT_EQ(m_file.ReadInt("S", "K", 0), 1);
    ASSERT_TRUE(m_file.WriteInt("S", "K", 3));
    const uint64_t parsesBefore = Parses();
    const ConfigFile other(Path());
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(m_file.ReadInt("S", "K", 0), 3);
        EXPECT_EQ(other.ReadInt("S", "K", 0), 3);
    }
    EXPECT_EQ(Parses() - parsesBefore, 0u);
}

TEST_F(ConfigFileCache, HaltRecordFollowsItsFile)
{
    const QString target = "UART /dev/ttyUSB0";
    ASSERT_TRUE(HaltRecord::Write(m_file, target, {true, false}));
    const uint64_t parsesBefore = Parses();
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(HaltRecord::Read(m_file, target), (HaltedCores{true, false}));
    EXPECT_EQ(Parses() - parsesBefore, 0u);

    // Another process's entry of the same size, written in place.
    QFile record(HaltRecord::PathFor(m_file));
    ASSERT_TRUE(record.open(QIODevice::ReadWrite));
    QByteArray bytes = record.readAll();
    const qsizetype at = bytes.indexOf("HCPU");
    ASSERT_GE(at, 0);
    bytes.replace(at, 4, "LCPU");
    ASSERT_TRUE(record.seek(0));
    ASSERT_EQ(record.write(bytes), bytes.size());
    record.close();
    EXPECT_EQ(HaltRecord::Read(m_file, target), (HaltedCores{false, true}));

    // A write merges with the entry as the file holds it under the lock.
    ASSERT_TRUE(HaltRecord::Update(m_file, target, [](HaltEntry entry) {
        entry.cores.hcpu = true;
        return entry;
    }));
    EXPECT_EQ(HaltRecord::Read(m_file, target), (HaltedCores{true, true}));
}

} // namespace

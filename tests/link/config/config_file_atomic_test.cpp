#include "IniFixture.h"

#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray kOld = "; keep\n[COMMON]\nDATA_TYPE=1\n";

class ConfigFileAtomic : public IniFixture
{
protected:
    void SetUp() override { Put(kOld); }
};

TEST_F(ConfigFileAtomic, FileChangesOnlyAtTheRename)
{
    QByteArray fileAtHook;
    m_file.SetBeforeRenameHook([&] {
        fileAtHook = Bytes();
        return true;
    });
    ASSERT_TRUE(m_file.WriteInt("COMMON", "DATA_TYPE", 2));
    EXPECT_EQ(fileAtHook, kOld);
    EXPECT_EQ(Bytes(), "; keep\n[COMMON]\nDATA_TYPE=2\n");
    EXPECT_EQ(FolderEntries(), QStringList{"Corvane.ini"});
}

TEST_F(ConfigFileAtomic, AbandonedWriteLeavesTheOldFile)
{
    m_file.SetBeforeRenameHook([] { return false; });
    EXPECT_FALSE(m_file.WriteInt("COMMON", "DATA_TYPE", 2));
    EXPECT_FALSE(m_file.WriteText("COMMON", "UART_PORT", "ttyUSB0"));
    EXPECT_EQ(Bytes(), kOld);
    EXPECT_EQ(FolderEntries(), QStringList{"Corvane.ini"});
}

TEST_F(ConfigFileAtomic, ProcessDyingBeforeTheRenameLeavesTheOldFile)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            m_file.SetBeforeRenameHook([] {
                _exit(3);
                return true;
            });
            m_file.WriteInt("COMMON", "DATA_TYPE", 2);
        },
        testing::ExitedWithCode(3), "");
    EXPECT_EQ(Bytes(), kOld);
    EXPECT_EQ(m_file.ReadInt("COMMON", "DATA_TYPE", 0), 1);
}

TEST_F(ConfigFileAtomic, ReadOnlyFileIsNotReplaced)
{
    ASSERT_TRUE(QFile::setPermissions(Path(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    EXPECT_FALSE(m_file.WriteInt("COMMON", "DATA_TYPE", 2));
    EXPECT_EQ(Bytes(), kOld);
}

TEST_F(ConfigFileAtomic, UnreadableFileIsNotOverwritten)
{
    ASSERT_TRUE(QFile::remove(Path()));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("Corvane.ini"));
    EXPECT_FALSE(m_file.WriteInt("COMMON", "DATA_TYPE", 2));
    EXPECT_TRUE(QFileInfo(Path()).isDir());
}

TEST_F(ConfigFileAtomic, MissingFolderFails)
{
    ConfigFile file(m_dir.filePath("no-such-folder/Corvane.ini"));
    EXPECT_FALSE(file.WriteInt("COMMON", "DATA_TYPE", 2));
    EXPECT_FALSE(QFile::exists(m_dir.filePath("no-such-folder")));
}

// Root may create files in any folder, so the write runs in a child that
// gives up root first.
TEST_F(ConfigFileAtomic, WriteIntoReadOnlyFolderFails)
{
    const QString folder = m_dir.filePath("ro");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("ro"));
    const QString path = folder + "/Corvane.ini";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(kOld);
    }
    const auto all =
        QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), all | QFile::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                                QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther));
    ASSERT_TRUE(QFile::setPermissions(folder, all));

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            _exit(2);
        ConfigFile file(path);
        _exit(file.WriteInt("COMMON", "DATA_TYPE", 2) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    QFile::setPermissions(folder, all | QFile::WriteOwner);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2)
        GTEST_SKIP() << "cannot drop root here";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the write claimed success";

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), kOld);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"Corvane.ini"});
}

} // namespace

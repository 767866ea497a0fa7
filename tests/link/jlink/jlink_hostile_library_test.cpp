// Probe libraries that would crash or stall the process if loaded or
// believed: truncated or foreign files, a FIFO, a count no host can have.

#include "support/StandInHandle.h"
#include "link/JLinkLibrary.h"
#include "support/TestFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <elf.h>
#include <sys/stat.h>

namespace {

QByteArray StandInBytes()
{
    QFile file(StandInPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// What a damaged or foreign copy of the stand-in looks like.
QByteArray Damaged(const QString &how)
{
    QByteArray bytes = StandInBytes();
    if (how == "truncated")
        return bytes.left(3000); // the headers are whole, the segments are not
    auto *header = reinterpret_cast<Elf64_Ehdr *>(bytes.data());
    if (how == "other machine")
        header->e_machine = header->e_machine == EM_AARCH64 ? EM_X86_64 : EM_AARCH64;
    else if (how == "other class")
        header->e_ident[EI_CLASS] = ELFCLASS32;
    else if (how == "program headers past the end")
        header->e_phoff = Elf64_Off(bytes.size()) - 8;
    else if (how == "not ELF")
        bytes.replace(0, 4,
                      "\x7F"
                      "ELG");
    return bytes;
}

class HostileLibrary : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_scratch.isValid());
        ASSERT_GT(StandInBytes().size(), 3000);
    }
    QString Put(const QString &name, const QByteArray &bytes) { return PutFile(m_scratch.filePath(name), bytes); }

    QTemporaryDir m_scratch;
};

TEST_F(HostileLibrary, DamagedOrForeignFileIsSkippedBeforeLoading)
{
    for (const char *how : {"truncated", "other machine", "other class", "program headers past the end", "not ELF"}) {
        SCOPED_TRACE(how);
        const QString damaged = Put(QString("libjlinkarm-%1.so").arg(QString(how).replace(' ', '-')), Damaged(how));
        JLinkLibrary alone;
        EXPECT_FALSE(alone.Bind({damaged})) << "nothing else to load";
        JLinkLibrary jlink;
        ASSERT_TRUE(jlink.Bind({damaged, StandInPath()}));
        EXPECT_EQ(QFileInfo(jlink.LoadedPath()).canonicalFilePath(), QFileInfo(StandInPath()).canonicalFilePath());
    }
}

TEST_F(HostileLibrary, FifoIsNeverOpenedBlocking)
{
    const QString fifo = m_scratch.filePath("libjlinkarm.so");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    JLinkLibrary jlink;
    EXPECT_TRUE(jlink.Bind({fifo, StandInPath()}));
}

TEST_F(HostileLibrary, HugeProbeCountGivesNoList)
{
    StandInHandle probe;
    probe.Reset();
    JLinkLibrary jlink;
    ASSERT_TRUE(jlink.Bind({StandInPath()}));
    ASSERT_FALSE(jlink.ProbeSerialNumbers().empty());
    ASSERT_TRUE(probe.SetFault("huge-count"));
    EXPECT_TRUE(jlink.ProbeSerialNumbers().empty());
    probe.Reset();
}

} // namespace

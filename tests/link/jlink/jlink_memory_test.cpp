#include "JLinkPeerRun.h"
#include "StandInTest.h"
#include "support/TestFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <array>
#include <vector>

namespace {

QString ReadText(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

class MemoryTest : public StandInTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StandInTest::SetUp());
        ASSERT_TRUE(m_scratch.isValid());
    }
    void TearDown() override { m_standIn.SetMemoryFile(""); }

    QString Scratch(const QString &name) const { return m_scratch.filePath(name); }

    QTemporaryDir m_scratch;
};

// A full transfer buffer out and back, bytes in target memory order.
TEST_F(MemoryTest, FullBufferRoundTrip)
{
    ASSERT_NO_FATAL_FAILURE(OpenProbe());
    std::vector<uint8_t> out(16384);
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = uint8_t(i * 7 + i / 256);
    ASSERT_EQ(m_jlink.WriteMemEx(0x20010000, uint32_t(out.size()), out.data()), 16384);
    std::vector<uint8_t> back(out.size());
    ASSERT_EQ(m_jlink.ReadMemEx(0x20010000, uint32_t(back.size()), back.data()), 16384);
    EXPECT_EQ(back, out);
    EXPECT_EQ(m_standIn.PeekWord(0x20010000), uint32_t(out[0] | out[1] << 8 | out[2] << 16 | out[3] << 24));
}

TEST_F(MemoryTest, UnalignedWriteLeavesItsNeighbours)
{
    m_standIn.PokeWord(0x20000000, 0x11111111);
    m_standIn.PokeWord(0x20000004, 0x22222222);
    m_standIn.PokeWord(0x20000008, 0x33333333);
    ASSERT_NO_FATAL_FAILURE(OpenProbe());
    const std::array<uint8_t, 5> from{0xA0, 0xA1, 0xA2, 0xA3, 0xA4};
    ASSERT_EQ(m_jlink.WriteMemEx(0x20000003, 5, from.data()), 5);
    EXPECT_EQ(m_standIn.PeekWord(0x20000000), 0xA0111111u);
    EXPECT_EQ(m_standIn.PeekWord(0x20000004), 0xA4A3A2A1u);
    EXPECT_EQ(m_standIn.PeekWord(0x20000008), 0x33333333u);
}

// Any 32-bit address is memory, untouched memory reads zero, and nothing
// runs past the end of the address space.
TEST_F(MemoryTest, WholeAddressSpace)
{
    ASSERT_NO_FATAL_FAILURE(OpenProbe());
    std::array<uint8_t, 8> bytes;
    bytes.fill(0xEE);
    EXPECT_EQ(m_jlink.ReadMemEx(0x00000000, 8, bytes.data()), 8);
    EXPECT_EQ(bytes, (std::array<uint8_t, 8>{}));
    const std::array<uint8_t, 4> top{1, 2, 3, 4};
    EXPECT_EQ(m_jlink.WriteMemEx(0xFFFFFFFC, 4, top.data()), 4);
    EXPECT_EQ(m_standIn.PeekWord(0xFFFFFFFC), 0x04030201u);
    EXPECT_LT(m_jlink.ReadMemEx(0xFFFFFFFC, 8, bytes.data()), 0);
    EXPECT_LT(m_jlink.WriteMemEx(0xFFFFFFFD, 4, top.data()), 0);
}

// After every write the memory file holds the whole target, sorted, and no
// temporary file is left beside it.
TEST_F(MemoryTest, WritesRewriteTheMemoryFile)
{
    const QString memoryFile = Scratch("target.txt");
    PutFile(memoryFile, "20000010 0000BEEF\n");
    m_standIn.SetMemoryFile(memoryFile);
    EXPECT_EQ(m_standIn.PeekWord(0x20000010), 0xBEEFu);

    ASSERT_NO_FATAL_FAILURE(OpenProbe());
    const std::array<uint8_t, 8> from{0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88};
    ASSERT_EQ(m_jlink.WriteMemEx(0x40000000, 4, from.data()), 4);
    ASSERT_EQ(m_jlink.WriteMemEx(0x20000000, 8, from.data()), 8);
    EXPECT_EQ(ReadText(memoryFile), "20000000 44332211\n"
                                    "20000004 88776655\n"
                                    "20000010 0000BEEF\n"
                                    "40000000 44332211\n");
    EXPECT_EQ(QDir(m_scratch.path()).entryList(QDir::Files), QStringList{"target.txt"});
}

// Two processes in turn see one target through the memory file named in
// the configuration; both append their calls to one log.
TEST_F(MemoryTest, ProcessesInTurnShareTheTarget)
{
    const QString config = Scratch("standin.conf");
    const QString memoryFile = Scratch("target.txt");
    const QString log = Scratch("calls.log");
    PutFile(config, ("# two probes, the second used by nobody\n"
                     "probes 777 778\n"
                     "memory " +
                     memoryFile + "\n")
                        .toLocal8Bit());
    PutFile(memoryFile, "20000100 12345678\n");
    const QList<QPair<QString, QString>> env{{"JLINK_STANDIN_CONFIG", config}, {"JLINK_STANDIN_LOG", log}};

    ChildRun run = RunPeer({"", BinDir(), "probes"}, env);
    ASSERT_EQ(run.status, 0) << run.err.constData();
    EXPECT_EQ(run.out, "777\n778\n");

    run = RunPeer({"", BinDir(), "write", "20000040", "CAFEF00D"}, env);
    ASSERT_EQ(run.status, 0) << run.err.constData();
    run = RunPeer({"", BinDir(), "read", "20000040"}, env);
    ASSERT_EQ(run.status, 0) << run.err.constData();
    EXPECT_EQ(run.out, "CAFEF00D\n");
    run = RunPeer({"", BinDir(), "read", "20000100"}, env);
    EXPECT_EQ(run.out, "12345678\n");

    EXPECT_EQ(ReadText(memoryFile), "20000040 CAFEF00D\n20000100 12345678\n");
    const QStringList calls = ReadText(log).split('\n', Qt::SkipEmptyParts);
    EXPECT_EQ(calls.count("JLINK_EMU_SelectByUSBSN 777"), 3);
    EXPECT_EQ(calls.count("JLINK_WriteMemEx 0x20000040 0x4 4"), 1);
    EXPECT_EQ(calls.count("JLINK_ReadMemEx 0x20000040 0x4 4"), 1);
}

// Faults named in the configuration reach a process that cannot be
// controlled from inside.
TEST_F(MemoryTest, ConfiguredFaultsReachAnotherProcess)
{
    struct Case
    {
        const char *config;
        const char *message;
    };
    const Case cases[] = {
        {"probes\n", "no probe\n"},
        {"fault select\n", "jlink_EMU_SelectByUSBSN error\n"},
        {"fault open\n", "jlink_IsOpen error\n"},
        {"fault not-connected\n", "jlink_EMU_IsConnected error\n"},
        {"fault connect\n", "jlink_Connect error\n"},
        {"fault short-read\n", "jlink_ReadMemEx 0x20000000 0x4 error !\n"},
    };
    const QString config = Scratch("standin.conf");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.config);
        PutFile(config, c.config);
        const ChildRun run = RunPeer({"", BinDir(), "read", "20000000"}, {{"JLINK_STANDIN_CONFIG", config}});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, c.message);
    }
}

} // namespace

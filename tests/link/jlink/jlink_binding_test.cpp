#include "JLinkPeerRun.h"
#include "support/StandInHandle.h"
#include "link/JLinkLibrary.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class BindingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_FALSE(BinDir().isEmpty()) << "CORVANE_BIN_DIR is not set";
        ASSERT_TRUE(QFileInfo::exists(StandInPath()));
        ASSERT_TRUE(m_scratch.isValid());
    }

    QString Scratch(const QString &name) const { return m_scratch.filePath(name); }

    QTemporaryDir m_scratch;
};

TEST(SearchOrderTest, GivesTheFourCandidatesInOrder)
{
    EXPECT_EQ(JLinkLibrary::SearchOrder("/home/me/jlink/libjlinkarm.so", "/opt/corvane"),
              QStringList({"/home/me/jlink/libjlinkarm.so", "/opt/SEGGER/JLink/libjlinkarm.so",
                           "/opt/corvane/libjlinkarm.so", "libjlinkarm.so"}));
    // An empty setting stays in first place; binding skips it.
    EXPECT_EQ(JLinkLibrary::SearchOrder("", "/opt/corvane"),
              QStringList({"", "/opt/SEGGER/JLink/libjlinkarm.so", "/opt/corvane/libjlinkarm.so", "libjlinkarm.so"}));
}

// Every kind of candidate that does not load gives way to the next one.
TEST_F(BindingTest, CandidateThatDoesNotLoadFallsBackToTheNext)
{
    QFile text(Scratch("libjlinkarm.so"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a shared library\n");
    text.close();

    const QString notLoadable[] = {"", Scratch("absent/libjlinkarm.so"), m_scratch.path(), text.fileName()};
    for (const QString &first : notLoadable) {
        SCOPED_TRACE(first.toStdString());
        JLinkLibrary jlink;
        EXPECT_TRUE(jlink.Bind({first, StandInPath()}));
        EXPECT_TRUE(jlink.IsBound());
        EXPECT_EQ(QFileInfo(jlink.LoadedPath()).canonicalFilePath(), QFileInfo(StandInPath()).canonicalFilePath());
        EXPECT_TRUE(jlink.MissingName().isEmpty());
    }
}

TEST_F(BindingTest, SearchOrderReachesTheCopyBesideTheExecutable)
{
    if (QFileInfo::exists("/opt/SEGGER/JLink/libjlinkarm.so"))
        GTEST_SKIP() << "a vendor library is installed and comes first";
    JLinkLibrary jlink;
    ASSERT_TRUE(jlink.Bind(JLinkLibrary::SearchOrder(Scratch("absent.so"), BinDir())));
    EXPECT_EQ(QFileInfo(jlink.LoadedPath()).canonicalFilePath(), QFileInfo(StandInPath()).canonicalFilePath());
}

// The first library that loads is the one used: a later complete one does
// not rescue an incomplete first one, and a complete first one wins.
TEST_F(BindingTest, FirstLoadableCandidateDecides)
{
    JLinkLibrary jlink;
    EXPECT_TRUE(jlink.Bind(JLinkLibrary::SearchOrder(StandInPath(), BinDir() + "/standin-missing")));

    EXPECT_FALSE(jlink.Bind(JLinkLibrary::SearchOrder(MissingNameVariantPath(), BinDir())));
    EXPECT_FALSE(jlink.IsBound());
    EXPECT_EQ(jlink.MissingName(), kOmittedName);
}

TEST_F(BindingTest, LibraryLackingOneNameIsNotBoundAndCallsStayHarmless)
{
    ASSERT_TRUE(QFileInfo::exists(MissingNameVariantPath()));
    JLinkLibrary jlink;
    EXPECT_FALSE(jlink.Bind({MissingNameVariantPath()}));
    EXPECT_FALSE(jlink.IsBound());
    EXPECT_EQ(jlink.MissingName(), kOmittedName);

    uint8_t bytes[4] = {};
    EXPECT_LE(jlink.EmuGetList(), 0);
    EXPECT_TRUE(jlink.ProbeSerialNumbers().empty());
    EXPECT_LT(jlink.EmuSelectByUsbSn(123456), 0);
    jlink.Open();
    EXPECT_FALSE(jlink.IsOpen());
    EXPECT_FALSE(jlink.EmuIsConnected());
    EXPECT_NE(jlink.Connect(), 0);
    EXPECT_NE(jlink.ReadMemEx(0x20000000, 4, bytes), 4);
    EXPECT_NE(jlink.WriteMemEx(0x20000000, 4, bytes), 4);
    jlink.Halt();
    jlink.Close();

    // A later successful bind forgets the missing name.
    EXPECT_TRUE(jlink.Bind({StandInPath()}));
    EXPECT_TRUE(jlink.MissingName().isEmpty());
}

// The last two steps run in a fresh process, where the normal library search
// sees only what its environment shows it.
TEST_F(BindingTest, PlainNameGoesThroughTheNormalLibrarySearch)
{
    const ChildRun run = RunPeer({"", m_scratch.path(), "bind"}, {{"LD_LIBRARY_PATH", BinDir()}});
    ASSERT_EQ(run.status, 0) << run.err.constData();
    EXPECT_TRUE(run.out.startsWith("bound ")) << run.out.constData();
}

TEST_F(BindingTest, NothingLoadableLeavesTheLibraryUnbound)
{
    const ChildRun run = RunPeer({Scratch("absent.so"), m_scratch.path(), "bind"}, {{"LD_LIBRARY_PATH", ""}});
    ASSERT_EQ(run.status, 0) << run.err.constData();
    EXPECT_EQ(run.out, "unbound \n");
}

} // namespace

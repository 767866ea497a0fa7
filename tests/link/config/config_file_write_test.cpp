#include "IniFixture.h"

#include <climits>

namespace {

class ConfigFileWrite : public IniFixture
{
};

TEST_F(ConfigFileWrite, FirstWriteCreatesFileThenSections)
{
    ASSERT_FALSE(QFile::exists(Path()));
    EXPECT_TRUE(m_file.WriteInt("CHIP_TYPE", "SEL", 0));
    EXPECT_EQ(Bytes(), "[CHIP_TYPE]\nSEL=0\n");
    EXPECT_TRUE(m_file.WriteInt("COMMON", "DATA_TYPE", 0));
    EXPECT_EQ(Bytes(), "[CHIP_TYPE]\nSEL=0\n[COMMON]\nDATA_TYPE=0\n");
    EXPECT_EQ(FolderEntries(), QStringList{"Corvane.ini"}); // no temporary left behind
}

TEST_F(ConfigFileWrite, IntegersAreWrittenAsDecimal)
{
    const int values[] = {0, 7, -1, 123456, INT_MAX, INT_MIN};
    for (int value : values) {
        SCOPED_TRACE(value);
        ASSERT_TRUE(m_file.WriteInt("S", "K", value));
        EXPECT_EQ(Bytes(), "[S]\nK=" + QByteArray::number(value) + '\n');
        EXPECT_EQ(m_file.ReadInt("S", "K", 99), value);
    }
}

TEST_F(ConfigFileWrite, EmptyTextRemovesTheKey)
{
    Put("[S]\nA=1\nK=2\nB=3\n[T]\nK=4\n");
    EXPECT_TRUE(m_file.WriteText("s", "k", ""));
    EXPECT_EQ(Bytes(), "[S]\nA=1\nB=3\n[T]\nK=4\n");

    // Every copy goes, so no older duplicate shows through afterwards.
    Put("[S]\nK=1\nk=2\n");
    EXPECT_TRUE(m_file.WriteText("S", "K", ""));
    EXPECT_EQ(Bytes(), "[S]\n");
    EXPECT_EQ(m_file.ReadText("S", "K", "gone", 10), "gone");

    // Removing what is not there changes nothing and creates nothing.
    EXPECT_TRUE(m_file.WriteText("S", "K", ""));
    EXPECT_TRUE(m_file.WriteText("U", "K", ""));
    EXPECT_EQ(Bytes(), "[S]\n");
    ASSERT_TRUE(QFile::remove(Path()));
    EXPECT_TRUE(m_file.WriteText("S", "K", ""));
    EXPECT_FALSE(QFile::exists(Path()));
}

// A file as people keep it: BOM, CRLF, comments, odd spacing, unknown keys,
// a line of garbage, and no line ending at the very end.
const QByteArray kKeptFile = "\xEF\xBB\xBF; Corvane settings\r\n"
                             "\r\n"
                             "[CHIP_TYPE]\r\n"
                             "NUM=2\r\n"
                             "CHIP_0 = VX21A\r\n"
                             "\r\n"
                             "# chip list ends\r\n"
                             "[Common]\r\n"
                             "Data_Type = 1\r\n"
                             "UNKNOWN_KEY=keep me\r\n"
                             "garbage line\r\n"
                             "\r\n"
                             "; next\r\n"
                             "[VX21A]\r\n"
                             "WND_0=1";

struct EditCase
{
    const char *what;
    const char *section;
    const char *key;
    const char *text;
    QByteArray from; // the part of kKeptFile that changes
    QByteArray to;
};

const EditCase kEditCases[] = {
    {"replace keeps spelling, place and spacing", "COMMON", "DATA_TYPE", "2", "Data_Type = 1\r\n", "Data_Type = 2\r\n"},
    {"new key after the last key of its section", "COMMON", "UART_PORT", "ttyUSB0", "UNKNOWN_KEY=keep me\r\n",
     "UNKNOWN_KEY=keep me\r\nUART_PORT=ttyUSB0\r\n"},
    {"new key after an unterminated last line", "vx21a", "WND_1", "1", "WND_0=1", "WND_0=1\r\nWND_1=1"},
    {"replace on the unterminated last line", "VX21A", "wnd_0", "0", "WND_0=1", "WND_0=0"},
    {"new section at the end", "UART_BAUND", "NUM", "7", "WND_0=1", "WND_0=1\r\n[UART_BAUND]\r\nNUM=7"},
    {"remove keeps the rest", "CHIP_TYPE", "chip_0", "", "CHIP_0 = VX21A\r\n", ""},
};

TEST_F(ConfigFileWrite, EditsKeepEveryOtherByte)
{
    for (const EditCase &c : kEditCases) {
        SCOPED_TRACE(c.what);
        Put(kKeptFile);
        ASSERT_TRUE(m_file.WriteText(c.section, c.key, c.text));
        QByteArray expected = kKeptFile;
        ASSERT_TRUE(expected.contains(c.from));
        expected.replace(expected.lastIndexOf(c.from), c.from.size(), c.to);
        EXPECT_EQ(Bytes(), expected);
    }
}

TEST_F(ConfigFileWrite, NewLinesFollowTheFileLineEnding)
{
    Put("[S]\nA=1\n\n; about T\n[T]\n");
    ASSERT_TRUE(m_file.WriteInt("S", "B", 2));
    ASSERT_TRUE(m_file.WriteInt("T", "C", 3));
    ASSERT_TRUE(m_file.WriteInt("U", "D", 4));
    EXPECT_EQ(Bytes(), "[S]\nA=1\nB=2\n\n; about T\n[T]\nC=3\n[U]\nD=4\n");
}

TEST_F(ConfigFileWrite, TextsReadBackAsWritten)
{
    const char *texts[] = {" lead", "trail ",   "\tboth\t",       "\"quoted\"", "'single'",  "\"",
                           "a=b",   "离线数据", "#not a comment", ";nor this",  "[nor this]"};
    for (const char *text : texts) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(m_file.WriteText("S", "K", QString::fromUtf8(text)));
        EXPECT_EQ(m_file.ReadText("S", "K", "", 100), QString::fromUtf8(text));
    }
}

struct RefusedCase
{
    const char *section;
    const char *key;
    const char *text;
};

// Each would corrupt the file or could never be read back.
const RefusedCase kRefusedCases[] = {
    {"", "K", "v"},    {"S", "", "v"},     {"S]", "K", "v"},   {" S", "K", "v"},      {"S\n", "K", "v"},
    {"S", "K=1", "v"}, {"S", "K ", "v"},   {"S", ";K", "v"},   {"S", "#K", "v"},      {"S", "[K", "v"},
    {"S", "K\r", "v"}, {"S", "K", "a\nb"}, {"S", "K", "a\rb"}, {"S", "K", "\r\n[X]"},
};

TEST_F(ConfigFileWrite, UnstorableNamesAndTextsAreRefused)
{
    Put("[S]\nK=old\n");
    for (const RefusedCase &c : kRefusedCases) {
        SCOPED_TRACE(testing::Message() << '[' << c.section << "] " << c.key << '=' << c.text);
        EXPECT_FALSE(m_file.WriteText(c.section, c.key, c.text));
        EXPECT_EQ(Bytes(), "[S]\nK=old\n");
    }
    EXPECT_FALSE(m_file.WriteText("S", "K", QString(QChar(0))));
    EXPECT_EQ(Bytes(), "[S]\nK=old\n");
    EXPECT_EQ(m_file.WriteFailure(), Path() + " cannot hold [S] K with this text, not written !\n");
}

// The peripheral list's mask steps, with nothing but the component's calls.
void AddToWindow(ConfigFile &file, const QString &chip, const QString &peripheral, int window)
{
    file.WriteInt(chip, peripheral, file.ReadInt(chip, peripheral, 0) | 1 << window);
}

void RemoveFromWindow(ConfigFile &file, const QString &chip, const QString &peripheral, int window)
{
    const int mask = file.ReadInt(chip, peripheral, 0) & ~(1 << window);
    if (mask != 0)
        file.WriteInt(chip, peripheral, mask);
    else
        file.WriteText(chip, peripheral, QString());
}

TEST_F(ConfigFileWrite, AssignmentMaskFiveToFourToRemoved)
{
    Put("[VX21C]\nWND_0=1\n");
    AddToWindow(m_file, "VX21C", "GPIO1", 0);
    AddToWindow(m_file, "VX21C", "GPIO1", 2);
    EXPECT_EQ(m_file.ReadInt("VX21C", "GPIO1", 0), 5);
    RemoveFromWindow(m_file, "VX21C", "GPIO1", 0);
    EXPECT_EQ(m_file.ReadInt("VX21C", "GPIO1", 0), 4);
    RemoveFromWindow(m_file, "VX21C", "GPIO1", 2);
    EXPECT_EQ(m_file.ReadText("VX21C", "GPIO1", "missing", 10), "missing");
    EXPECT_EQ(Bytes(), "[VX21C]\nWND_0=1\n");
}

TEST_F(ConfigFileWrite, ChipModelNamedLikeAFixedSectionSharesIt)
{
    Put("[COMMON]\nDATA_TYPE=2\nUART_PORT=ttyUSB1\n[CHIP_TYPE]\nNUM=1\n");
    ASSERT_TRUE(m_file.WriteInt("COMMON", "WND_0", 1));
    AddToWindow(m_file, "common", "UART1", 1);
    EXPECT_EQ(Bytes(), "[COMMON]\nDATA_TYPE=2\nUART_PORT=ttyUSB1\nWND_0=1\nUART1=2\n[CHIP_TYPE]\nNUM=1\n");
    EXPECT_EQ(m_file.ReadInt("COMMON", "DATA_TYPE", 0), 2);
}

} // namespace

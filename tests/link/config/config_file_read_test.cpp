#include "IniFixture.h"

#include <climits>

namespace {

constexpr char kDefault[] = "<default>";

struct TextCase
{
    const char *what;
    const char *file;
    const char *section;
    const char *key;
    const char *expected; // kDefault when the key counts as missing
};

const TextCase kTextCases[] = {
    {"names ignore case", "[Common]\nData_Type=2\n", "COMMON", "DATA_TYPE", "2"},
    {"names ignore case, other way", "[COMMON]\nKEY=v\n", "common", "key", "v"},
    {"UTF-8 value", "[S]\nK=离线数据\n", "S", "K", "离线数据"},
    {"UTF-8 section name", "[芯片]\nK=1\n", "芯片", "K", "1"},
    {"blanks around name and value", "[ S ]\n  K \t=  a b \t\n", "S", "K", "a b"},
    {"value after the first =", "[S]\nK=a=b\n", "S", "K", "a=b"},
    {"double quotes dropped", "[S]\nK=\" x y \"\n", "S", "K", " x y "},
    {"single quotes dropped", "[S]\nK='x'\n", "S", "K", "x"},
    {"unmatched quotes kept", "[S]\nK=\"x'\n", "S", "K", "\"x'"},
    {"lone quote kept", "[S]\nK=\"\n", "S", "K", "\""},
    {"empty quotes", "[S]\nK=\"\"\n", "S", "K", ""},
    {"present but empty", "[S]\nK=\n", "S", "K", ""},
    {"comments ignored", "[S]\n;K=1\n#K=2\n  ; K=3\nK=4\n", "S", "K", "4"},
    {"no inline comments", "[S]\nK=5 ; five\n", "S", "K", "5 ; five"},
    {"first duplicate key wins", "[S]\nK=1\nk=2\n", "S", "K", "1"},
    {"first duplicate section wins", "[S]\nK=1\n[s]\nK=2\n", "S", "K", "1"},
    {"later duplicate section not searched", "[S]\nA=1\n[T]\n[S]\nK=2\n", "S", "K", kDefault},
    {"keys before any section", "K=1\n[S]\n", "S", "K", kDefault},
    {"malformed lines ignored", "[S]\ngarbage\n=5\n[\nK=ok\n", "S", "K", kDefault},
    {"malformed lines in section", "[S]\ngarbage\n=5\nK=ok\n", "S", "K", "ok"},
    {"unclosed header starts a section", "[S]\nK=1\n[T\nK=2\n", "T", "K", "2"},
    {"unclosed header ends the section above", "[S]\n[T\nK=2\n", "S", "K", kDefault},
    {"text after the header", "[S] ; settings\nK=1\n", "S", "K", "1"},
    {"CRLF lines", "[S]\r\nK=v\r\n", "S", "K", "v"},
    {"UTF-8 BOM", "\xEF\xBB\xBF[S]\nK=v\n", "S", "K", "v"},
    {"unterminated last line", "[S]\nK=v", "S", "K", "v"},
    {"missing section", "[S]\nK=v\n", "T", "K", kDefault},
    {"missing key", "[S]\nK=v\n", "S", "L", kDefault},
    {"key of another section", "[S]\n[T]\nK=v\n", "S", "K", kDefault},
    {"empty file", "", "S", "K", kDefault},
};

class ConfigFileRead : public IniFixture
{
};

TEST_F(ConfigFileRead, TextRules)
{
    for (const TextCase &c : kTextCases) {
        SCOPED_TRACE(c.what);
        Put(c.file);
        EXPECT_EQ(m_file.ReadText(c.section, c.key, kDefault, 100).toStdString(), c.expected);
    }
}

TEST_F(ConfigFileRead, MissingOrUnreadableFileGivesDefaults)
{
    EXPECT_EQ(m_file.ReadText("COMMON", "UART_PORT", "dflt", 40), "dflt");
    EXPECT_EQ(m_file.ReadInt("COMMON", "DATA_TYPE", 9), 9);

    ASSERT_TRUE(QDir(m_dir.path()).mkdir("Corvane.ini")); // a folder in the file's place
    EXPECT_EQ(m_file.ReadText("COMMON", "UART_PORT", "dflt", 40), "dflt");
    EXPECT_EQ(m_file.ReadInt("COMMON", "DATA_TYPE", 9), 9);
}

struct CutCase
{
    const char *value; // nullptr: key missing, the default is cut
    int size;
    const char *expected;
};

const CutCase kCutCases[] = {
    {"COM12345", 100, "COM12345"},
    {"COM12345", 9, "COM12345"},
    {"COM12345", 8, "COM1234"},
    {"COM12345", 2, "C"},
    {"COM12345", 1, ""},
    {"COM12345", 0, ""},
    {"COM12345", -5, ""},
    {"离线数据", 3, "离线"},
    {nullptr, 4, "ABC"},
    {nullptr, 7, "ABCDEF"},
    // A character outside the basic plane is two units: never keep half of it.
    {"a\xF0\x9F\x98\x80z", 3, "a"},
    {"a\xF0\x9F\x98\x80z", 4, "a\xF0\x9F\x98\x80"},
};

TEST_F(ConfigFileRead, TextsAreCutToTheReadSize)
{
    for (const CutCase &c : kCutCases) {
        SCOPED_TRACE(testing::Message() << (c.value ? c.value : "<missing>") << " size " << c.size);
        Put(c.value ? QByteArray("[S]\nK=") + c.value + '\n' : QByteArray("[S]\n"));
        EXPECT_EQ(m_file.ReadText("S", "K", "ABCDEF", c.size).toStdString(), c.expected);
    }
}

struct IntCase
{
    const char *value; // nullptr: key missing
    int expected;
};

const IntCase kIntCases[] = {
    {"42", 42},
    {"-7", -7},
    {"+5", 5},
    {"007", 7},
    {"  12 \t", 12},
    {"'9'", 9},
    {"\"-3\"", -3},
    {"12abc", 12},
    {"1.5", 1},
    {"abc", 0},
    {"", 0},
    {"-", 0},
    {"- 5", 0},
    {"0x10", 0},
    {"\xEF\xBC\x91\xEF\xBC\x92", 0}, // full-width digits are not digits here
    {"2147483647", INT_MAX},
    {"-2147483648", INT_MIN},
    {"2147483648", INT_MIN}, // unsigned 32-bit range keeps its bit pattern
    {"4294967295", -1},
    {"4294967296", 77}, // beyond 32 bits: the default
    {"-2147483649", 77},
    {"99999999999999999999999999", 77},
    {nullptr, 77},
};

TEST_F(ConfigFileRead, IntegersReadLeadingDecimalDigits)
{
    for (const IntCase &c : kIntCases) {
        SCOPED_TRACE(c.value ? c.value : "<missing>");
        Put(c.value ? QByteArray("[S]\nK=") + c.value + '\n' : QByteArray("[S]\n"));
        EXPECT_EQ(m_file.ReadInt("S", "K", 77), c.expected);
    }
}

TEST_F(ConfigFileRead, EveryReadSeesTheFileAsItIsNow)
{
    Put("[COMMON]\nDATA_TYPE=1\nUART_PORT=ttyUSB0\n");
    const ConfigFile other(Path());
    EXPECT_EQ(m_file.ReadInt("COMMON", "DATA_TYPE", 0), 1);
    EXPECT_EQ(m_file.ReadText("COMMON", "UART_PORT", "", 40), "ttyUSB0");

    Put("[COMMON]\nDATA_TYPE=2\nUART_PORT=ttyACM3\n");
    EXPECT_EQ(m_file.ReadInt("COMMON", "DATA_TYPE", 0), 2);
    EXPECT_EQ(m_file.ReadText("COMMON", "UART_PORT", "", 40), "ttyACM3");

    ASSERT_TRUE(other.Path() == Path());
    ASSERT_TRUE(QFile::remove(Path()));
    EXPECT_EQ(other.ReadInt("COMMON", "DATA_TYPE", 5), 5);
}

} // namespace

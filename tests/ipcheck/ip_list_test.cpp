#include "support/AnalyzerFixture.h"
#include "ipcheck/AnalyzerInputs.h"
#include "ipcheck/IpListBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// "+NAME" for an enabled row, "-NAME" otherwise, in list order.
QStringList Shown(const std::vector<IpListRow> &rows)
{
    QStringList shown;
    for (const IpListRow &row : rows)
        shown << (row.enabled ? u'+' : u'-') + row.name;
    return shown;
}

class IpListTest : public testing::Test
{
protected:
    std::vector<IpListRow> Build(const QByteArray &database, const QStringList &peripherals,
                                 const QString &chip = "VX21A")
    {
        m_fixture.WriteFile("ana/vx21a/analyzer_db.py", database);
        m_fixture.WriteFile("ana/vx21a/VX21a.svd", SvdOfNames(peripherals));
        return BuildIpList(chip, "ana", m_fixture.ExeDir());
    }

    AnalyzerFixture m_fixture;
};

TEST_F(IpListTest, DatabaseLinesEnableTheRowsTheyName)
{
    const QStringList peripherals{"I2C1",  "I2C2",     "HPSYS_I2C", "LPSYS_i2c3", "XI2C",
                                  "UART1", "HPSYSCFG", "HPSYS_CFG", "SPI1"};
    struct Case
    {
        const char *what;
        QByteArray database;
        QStringList enabled;
    };
    const Case cases[] = {
        {"star import, any case, both prefixes", "from i2c import *\n", {"HPSYS_I2C", "I2C1", "I2C2", "LPSYS_i2c3"}},
        {"dotted module loses dots and blanks", "from hpsys.cfg import regs\n", {"HPSYSCFG"}},
        {"prefixed form", "from cfg import regs\n", {"HPSYS_CFG"}},
        {"no import keeps the line end", "from spi\nfrom uart\n", {}},
        {"last line without a line end", "from spi\nfrom uart", {"UART1"}},
        {"nothing but dots names every row", "from . import x\n", peripherals},
        // Module text "akenfromuart": from the fifth character up to "import".
        {"comment line", "# taken from uart import notes\n", {}},
        {"from anywhere in the line", "#   uart import x  # taken from notes\n", {"UART1"}},
        {"keywords are case-sensitive", "import uart\nFROM spi import *\n", {}},
        {"CRLF lines", "from uart import *\r\nfrom spi import x\r\n", {"SPI1", "UART1"}},
        {"import before the fifth character names nothing", "import from uart\n", {}},
        {"a NUL byte ends the line", QByteArray("from uart\0 import *\n", 21), {"UART1"}},
    };
    for (const Case &c : cases) {
        QStringList expected;
        QStringList sorted = peripherals;
        std::sort(sorted.begin(), sorted.end());
        for (const QString &name : sorted)
            expected << (c.enabled.contains(name) ? u'+' : u'-') + name;
        EXPECT_EQ(Shown(Build(c.database, peripherals)), expected) << c.what;
    }
}

TEST_F(IpListTest, RowsAreSortedByCodeUnitWithEqualNamesKeptInOrder)
{
    const std::vector<IpListRow> rows = Build("", {"UART2", "ADC", "UART1", "adc", "Uart", "ADC", QString()});
    EXPECT_EQ(Shown(rows), (QStringList{"-", "-ADC", "-ADC", "-UART1", "-UART2", "-Uart", "-adc"}));
}

TEST_F(IpListTest, LongLinesArriveInPieces)
{
    // 300 blanks then "from uart import *": the first 298 bytes are a piece
    // without "from"; the rest is "  from uart import *", whose module text
    // from the fifth character is "om uart " -> "omuart".
    QByteArray line(300, ' ');
    line += "from uart import *\n";
    EXPECT_EQ(Shown(Build(line, {"UART1", "OMUART"})), (QStringList{"+OMUART", "-UART1"}));
}

TEST_F(IpListTest, MissingInputsGiveAnEmptyList)
{
    m_fixture.WriteFile("ana/vx21a/analyzer_db.py", "from . import x\n");
    m_fixture.WriteFile("ana/vx21a/VX21a.svd", SvdOfNames({"UART1"}));
    m_fixture.WriteFile("ana/vx21b/VX21b.svd", SvdOfNames({"UART1"}));
    m_fixture.WriteFile("ana/vx21d/analyzer_db.py", "from . import x\n");
    m_fixture.WriteFile("ana/vx21d/VX21d.svd", SvdOfNames({"UART1"}));
    m_fixture.WriteFile("ana/vx21c/analyzer_db.py", "from . import x\n");
    m_fixture.WriteFile("ana/vx21c/VX21c.svd", "<device><name>x</name></device>");
    const QString exe = m_fixture.ExeDir();

    EXPECT_EQ(Shown(BuildIpList("VX21A", "ana", exe)), QStringList{"+UART1"});
    EXPECT_EQ(Shown(BuildIpList("VX21A", m_fixture.Path("ana"), "/nowhere")), QStringList{"+UART1"});
    EXPECT_TRUE(BuildIpList("VX21D", "ana", exe).empty()) << "VX21D has no analyzer files";
    EXPECT_TRUE(BuildIpList("vx21a", "ana", exe).empty()) << "model names are case-sensitive";
    EXPECT_TRUE(BuildIpList("VX21B", "ana", exe).empty()) << "no database";
    EXPECT_TRUE(BuildIpList("VX21C", "ana", exe).empty()) << "no peripherals element";
    EXPECT_TRUE(BuildIpList("VX21A", "elsewhere", exe).empty());
}

TEST(AnalyzerInputsTest, FolderAndModelFiles)
{
    EXPECT_EQ(AnalyzerInputs::AnalyzerFolder("ana", "/opt/corvane"), "/opt/corvane/ana");
    EXPECT_EQ(AnalyzerInputs::AnalyzerFolder("/srv/ana", "/opt/corvane"), "/srv/ana");
    EXPECT_EQ(AnalyzerInputs::AnalyzerFolder(QString(300, u'a'), "/x"), "/x/" + QString(258, u'a'));
    const AnalyzerInputs::ModelFiles e = AnalyzerInputs::FilesFor("VX21E", "/a");
    EXPECT_EQ(e.database, "/a/vx21e/analyzer_db.py");
    EXPECT_EQ(e.svd, "/a/vx21e/VX21e.svd");
    EXPECT_TRUE(AnalyzerInputs::FilesFor("VX21D", "/a").IsEmpty());
    EXPECT_TRUE(AnalyzerInputs::FilesFor("VX21A ", "/a").IsEmpty());
}

} // namespace

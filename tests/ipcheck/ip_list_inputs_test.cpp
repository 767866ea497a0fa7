// The IP list's inputs as special files, and its order where row texts are
// cut: names equal in their first 99 characters keep the order of the file.

#include "support/AnalyzerFixture.h"
#include "ipcheck/IpListBuilder.h"
#include "xml/XmlDocument.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QStringList Names(const std::vector<IpListRow> &rows)
{
    QStringList names;
    for (const IpListRow &row : rows)
        names << row.name;
    return names;
}

TEST(IpListInputs, FifoOrDeviceInPlaceOfAnInputGivesAnEmptyList)
{
    for (const char *input : {"analyzer_db.py", "VX21a.svd"}) {
        for (const char *kind : {"fifo", "/dev/zero"}) {
            SCOPED_TRACE(std::string(input) + " as " + kind);
            AnalyzerFixture fixture;
            fixture.WriteFile("ana/vx21a/analyzer_db.py", "from x import UART\n");
            fixture.WriteFile("ana/vx21a/VX21a.svd", SvdOfNames({"UART"}));
            const QString path = fixture.Path(QString("ana/vx21a/") + input);
            QFile::remove(path);
            if (QString(kind) == "fifo")
                ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            else
                ASSERT_TRUE(QFile::link(kind, path));
            EXPECT_TRUE(BuildIpList("VX21A", "ana", fixture.ExeDir()).empty());
        }
    }
}

TEST(IpListInputs, SvdFifoIsNotADocument)
{
    AnalyzerFixture fixture;
    const QString fifo = fixture.Path("device.svd");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    XmlDocument document;
    EXPECT_FALSE(document.LoadFile(fifo));
}

TEST(IpListOrder, NamesEqualInTheirShownTextKeepTheFileOrder)
{
    const QString shared(IpListBuilder::kRowTextLength, u'P');
    const QStringList inFile{shared + "B", "Z", shared + "A", shared, "A", shared + "C"};
    AnalyzerFixture fixture;
    fixture.WriteFile("ana/vx21a/analyzer_db.py", "");
    fixture.WriteFile("ana/vx21a/VX21a.svd", SvdOfNames(inFile));
    EXPECT_EQ(Names(BuildIpList("VX21A", "ana", fixture.ExeDir())),
              (QStringList{"A", shared + "B", shared + "A", shared, shared + "C", "Z"}));

    // The same as inserting row by row.
    std::vector<IpListRow> inserted;
    for (const QString &name : inFile)
        IpListBuilder::InsertSorted(inserted, name);
    EXPECT_EQ(Names(inserted), Names(BuildIpList("VX21A", "ana", fixture.ExeDir())));
}

} // namespace

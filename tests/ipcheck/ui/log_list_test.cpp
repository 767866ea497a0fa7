#include "support/AnalyzerFixture.h"
#include "ipcheck/ui/LogList.h"
#include "ipcheck/ui/LogListModel.h"
#include "support/FakeUser.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class LogListTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_list.SetUser(&m_user, &m_user);
        m_list.resize(400, 300);
        m_list.show();
    }

    void Select(std::initializer_list<int> rows)
    {
        m_list.clearSelection();
        for (int row : rows)
            m_list.selectionModel()->select(m_list.model()->index(row, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

    QByteArray ReadFile(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    FakeUser m_user;
    LogList m_list;
    AnalyzerFixture m_dir;
};

TEST_F(LogListTest, TagsColourTheirRows)
{
    const QColor red(235, 51, 36), magenta(234, 63, 247), blue(0, 35, 245);
    const struct
    {
        const char *text;
        QColor color;
    } cases[] = {
        {"[WARN] x [ERROR] y", red},      {"[ERROR] bad", red},
        {"a [WARN] b", magenta},          {"[Suggestion] z", blue},
        {"[Suggestion] [WARN]", magenta}, {"[warn] x", QColor()},
        {"[ERROR ] [Error]", QColor()},   {"plain", QColor()},
    };
    for (const auto &c : cases) {
        m_list.RemoveAllRows();
        m_list.AppendOutputLines({c.text});
        const QVariant color = m_list.model()->data(m_list.model()->index(0, 0), Qt::ForegroundRole);
        EXPECT_EQ(color.isValid() ? color.value<QColor>() : QColor(), c.color) << c.text;
    }
}

TEST_F(LogListTest, RowsAppendInOrderWithoutEmptyTexts)
{
    m_list.AppendOutputLines({"  ", "one", ""});
    m_list.AppendOutputLines({});
    m_list.AppendOutputLines({"two\r"});
    ASSERT_EQ(m_list.RowCount(), 3);
    EXPECT_EQ(m_list.RowText(0), "  ");
    EXPECT_EQ(m_list.RowText(2), "two\r");
    EXPECT_EQ(m_list.model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "trace info");
}

TEST_F(LogListTest, KeyboardCopiesAndSelects)
{
    m_list.AppendOutputLines({"r0", "r1", "r2", "r3\r", "r4"});
    QClipboard *clipboard = QApplication::clipboard();

    clipboard->setText("untouched");
    m_list.clearSelection();
    QTest::keyClick(&m_list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), "untouched") << "no row selected";

    Select({3, 1});
    QTest::keyClick(&m_list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), "r1\nr3\r\n");

    QTest::keyClick(&m_list, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(m_list.selectionModel()->selectedRows().size(), 5);
    QTest::keyClick(&m_list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), "r0\nr1\nr2\nr3\r\nr4\n");
}

TEST_F(LogListTest, SaveWritesEveryRowOnItsOwnLine)
{
    m_list.AppendOutputLines({"  ", "/x/python/python  ./reg_analyzer.py  VX21A A 进程创建失败\n", "cr\r", "last"});
    m_user.chosenFile = m_dir.Path("out");
    QTest::keyClick(&m_list, Qt::Key_S, Qt::ControlModifier);

    ASSERT_EQ(m_user.fileRequests.size(), 1);
    const FileRequest &request = m_user.fileRequests[0];
    EXPECT_EQ(request.kind, FileRequest::Kind::Save);
    EXPECT_TRUE(request.overwritePrompt);
    ASSERT_EQ(request.filters.size(), 2);
    EXPECT_EQ(request.filters[0].text, "log Files(*.log)");
    EXPECT_EQ(request.filters[0].pattern, "*.log");
    EXPECT_EQ(request.filters[1].text, "All Files(*.*)");
    EXPECT_EQ(request.filters[1].pattern, "*.*");
    EXPECT_TRUE(QRegularExpression(R"(^\(\d{4}-\d\d-\d\d-\d\d-\d\d-\d\d\)$)").match(request.defaultName).hasMatch())
        << request.defaultName.toStdString();
    EXPECT_EQ(ReadFile(m_dir.Path("out.log")),
              QByteArray("  \r\n/x/python/python  ./reg_analyzer.py  VX21A A 进程创建失败\r\ncr\r\r\nlast\r\n"));

    // An existing file of the chosen name is replaced.
    m_user.chosenFile = m_dir.Path("out.log");
    m_list.RemoveAllRows();
    m_list.AppendOutputLines({"only"});
    m_list.SaveLogFile();
    EXPECT_EQ(ReadFile(m_dir.Path("out.log")), "only\r\n");
    EXPECT_TRUE(m_user.messages.isEmpty());
}

TEST_F(LogListTest, SaveFailuresAndEmptyList)
{
    QTest::keyClick(&m_list, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(m_user.messages, QStringList{"无有效数据 !!!"});
    EXPECT_TRUE(m_user.fileRequests.isEmpty()) << "no dialog for an empty list";

    m_user.messages.clear();
    m_list.AppendOutputLines({"row"});
    m_user.chosenFile.clear(); // cancelled
    m_list.SaveLogFile();
    m_user.chosenFile = m_dir.Path("no/such/folder/x.log");
    m_list.SaveLogFile();
    EXPECT_TRUE(m_user.messages.isEmpty());
    EXPECT_FALSE(QFile::exists(m_dir.Path("no/such/folder/x.log")));
}

TEST(LogListNameTest, DefaultNameFromLocalTime)
{
    EXPECT_EQ(LogList::DefaultLogName(QDateTime(QDate(2025, 3, 9), QTime(14, 5, 7))), "(2025-03-09-14-05-07)");
    EXPECT_EQ(LogList::DefaultLogName(QDateTime(QDate(987, 12, 31), QTime(0, 0, 0))), "(0987-12-31-00-00-00)");
}

} // namespace

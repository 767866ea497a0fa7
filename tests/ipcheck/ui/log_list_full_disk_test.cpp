// Saving the log on a full disk: the old log file stays whole.

#include "support/AnalyzerFixture.h"
#include "ipcheck/ui/LogList.h"
#include "support/FakeUser.h"
#include "support/FileSizeLimit.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(LogListFullDisk, OldLogStays)
{
    FakeUser user;
    LogList list;
    list.SetUser(&user, &user);
    list.resize(400, 300);
    list.show();
    AnalyzerFixture dir;
    const QByteArray old = "an earlier run\r\n";
    dir.WriteFile("run.log", old);
    QStringList rows;
    for (int i = 0; i < 100; ++i)
        rows << QString("[ERROR] row %1 of a long run").arg(i);
    list.AppendOutputLines(rows);
    user.chosenFile = dir.Path("run.log");
    {
        const FileSizeLimit full(64);
        list.SaveLogFile();
    }
    QFile file(dir.Path("run.log"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), old);
    EXPECT_EQ(QDir(dir.ExeDir()).entryList(QDir::Files), QStringList{"run.log"});
}

} // namespace

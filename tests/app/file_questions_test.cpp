// The file questions of the windows start in the folder last chosen for the
// same purpose, kept in the per-user profile across runs; the comparison's
// folder question starts in the window's data folder until one is chosen.

#include "AppRig.h"
#include "GridRows.h"
#include "support/TestFiles.h"

#include "widgets/PropertyGrid.h"

#include <QFileDialog>
#include <QMenu>
#include <QTimer>

namespace {

struct QuestionRig
{
    QuestionRig() { rig.Prepare(StandardIni(QStringLiteral("[VX21A]\nWND_0=1\nUART0=1\n"))); }

    bool Start()
    {
        if (!rig.Start())
            return false;
        window = rig.app->RegisterWindow(0);
        if (!window)
            return false;
        rig.app->User().fileHook = [this](const FileRequest &request) {
            asked << request;
            return answer;
        };
        return true;
    }

    // Opens a menu of the window (tool row or row) and picks this entry.
    void Pick(const QString &entry)
    {
        window->menuExec = [entry](QMenu &menu, const QPoint &) -> QAction * {
            for (QAction *action : menu.actions())
                if (action->text() == entry)
                    return action;
            return nullptr;
        };
    }
    void Click(const char *tool)
    {
        QTest::mouseClick(window->findChild<QWidget *>(QString::fromLatin1(tool)), Qt::LeftButton);
    }
    void RightClickPeripheral(const QString &name)
    {
        GridView grid(window->Grid()->Tree());
        for (int i = 0; i < grid->topLevelItemCount(); ++i)
            if (grid->topLevelItem(i)->text(0) == name)
                ::RightClick(grid->viewport(), grid->visualItemRect(grid->topLevelItem(i)).center());
    }

    // Where the next question of each gesture starts.
    QString CompareFolderStart()
    {
        Pick(QString::fromUtf8("与文件夹中的数据比较..."));
        Click("compare");
        return Last();
    }
    QString ExportStart()
    {
        Pick(QStringLiteral("CSV..."));
        Click("export");
        return Last();
    }
    QString ImportStart()
    {
        Pick(QString::fromUtf8("导入数据"));
        RightClickPeripheral(QStringLiteral("UART0"));
        return Last();
    }
    QString Last() const { return asked.isEmpty() ? QStringLiteral("<no question>") : asked.constLast().startFolder; }

    AppRig rig{QString()};
    CRegWnd *window = nullptr;
    QList<FileRequest> asked;
    QString answer;
};

QString MakeFolder(const QTemporaryDir &top, const QString &name)
{
    QDir(top.path()).mkpath(name);
    return QDir(top.path()).filePath(name);
}

} // namespace

TEST(FileQuestionsTest, EachPurposeStartsWhereItLastEndedAcrossRuns)
{
    QTemporaryDir elsewhere;
    const QString folderA = MakeFolder(elsewhere, "boards/a");
    const QString folderB = MakeFolder(elsewhere, "exports");
    const QString folderC = MakeFolder(elsewhere, "snapshots");
    PutFile(folderC + "/UART0.bin", QByteArray::fromHex("21000000"));

    QuestionRig q;
    ASSERT_TRUE(q.Start());
    const QString dataFolder = q.rig.Path("data/VX21A");

    EXPECT_EQ(q.CompareFolderStart(), dataFolder) << "nothing chosen yet: the window's data folder";
    q.answer = folderA;
    EXPECT_EQ(q.CompareFolderStart(), dataFolder);
    EXPECT_EQ(q.CompareFolderStart(), folderA);
    EXPECT_EQ(q.asked.constLast().kind, FileRequest::Kind::Folder);

    q.answer = folderB + "/rows.csv";
    EXPECT_EQ(q.ExportStart(), QString()) << "nothing chosen yet: where the dialog starts by itself";
    EXPECT_EQ(q.ExportStart(), folderB);

    q.answer.clear();
    EXPECT_EQ(q.ImportStart(), dataFolder) << "nothing chosen yet: the window's data folder";
    q.answer = folderC + "/UART0.bin";
    EXPECT_EQ(q.ImportStart(), dataFolder);
    EXPECT_EQ(q.ImportStart(), folderC);
    EXPECT_EQ(q.CompareFolderStart(), folderA) << "each purpose keeps its own folder";

    // A cancelled question keeps nothing.
    q.answer.clear();
    EXPECT_EQ(q.ExportStart(), folderB);
    EXPECT_EQ(q.ExportStart(), folderB);

    // The next run starts where this one ended; a folder that is gone no
    // longer counts.
    q.rig.Quit();
    q.asked.clear();
    ASSERT_TRUE(q.Start());
    EXPECT_EQ(q.ExportStart(), folderB);
    EXPECT_EQ(q.ImportStart(), folderC);
    ASSERT_TRUE(QDir(folderA).removeRecursively());
    EXPECT_EQ(q.CompareFolderStart(), dataFolder);
}

// The question a person sees: the file dialog opens in that folder.
TEST(FileQuestionsTest, TheDialogOpensInTheStartFolder)
{
    QTemporaryDir elsewhere;
    const QString folderA = MakeFolder(elsewhere, "a");
    QuestionRig q;
    ASSERT_TRUE(q.Start());

    QStringList shown;
    QTimer watcher;
    QObject::connect(&watcher, &QTimer::timeout, [&] {
        for (QWidget *widget : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<QFileDialog *>(widget); dialog && dialog->isVisible()) {
                shown << dialog->directory().absolutePath();
                dialog->reject();
            }
    });
    watcher.start(20);

    q.rig.app->User().fileHook = nullptr;
    q.Pick(QString::fromUtf8("与文件夹中的数据比较..."));
    q.Click("compare");
    ASSERT_EQ(shown, QStringList{QFileInfo(q.rig.Path("data/VX21A")).canonicalFilePath()});

    q.rig.app->User().fileHook = [&](const FileRequest &) { return folderA; };
    q.Click("compare");
    q.rig.app->User().fileHook = nullptr;
    q.Click("compare");
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[1], QFileInfo(folderA).canonicalFilePath());
}

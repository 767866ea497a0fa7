// The file questions of the windows start in the folder last chosen for the
// same purpose, kept in the per-user profile across runs; the comparison's
// folder question starts in the window's data folder until one is chosen.

#include "AppRig.h"
#include "GridRows.h"
#include "SimulatedChip.h"
#include "app/MemoryWindow.h"
#include "support/TestFiles.h"

#include "widgets/PropertyGrid.h"

#include <QFileDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
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
    RegisterWindowView *window = nullptr;
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

namespace {

QByteArray ReadAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

// Answers the file questions as a person would, one step a tick: the
// dialogs and message boxes seen, and what was done to them.
struct DialogAnswers
{
    enum class Step { Cancel, AcceptThenNo, AcceptThenYes };

    explicit DialogAnswers(Step step)
        : step(step)
    {
        QObject::connect(&timer, &QTimer::timeout, [this] { Tick(); });
        timer.start(20);
    }
    void Tick()
    {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            if (!widget->isVisible())
                continue;
            if (auto *box = qobject_cast<QMessageBox *>(widget)) {
                overwriteQuestions << box->text();
                box->button(step == Step::AcceptThenYes ? QMessageBox::Yes : QMessageBox::No)->click();
                return;
            }
            auto *dialog = qobject_cast<QFileDialog *>(widget);
            if (!dialog)
                continue;
            if (!accepted) {
                saving = dialog->acceptMode() == QFileDialog::AcceptSave;
                button = dialog->labelText(QFileDialog::Accept).remove(u'&');
                confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
                offered = dialog->selectedFiles();
                filters = dialog->nameFilters();
            }
            if (step == Step::Cancel || accepted) {
                dialog->reject(); // after a "no" the question stays open: the person cancels it
                return;
            }
            accepted = true;
            // As the save button does; queued, since the overwrite question it
            // may ask waits for this timer's next tick.
            QTimer::singleShot(0, dialog, [dialog] { static_cast<QDialog *>(dialog)->accept(); });
            return;
        }
    }

    Step step;
    QTimer timer;
    bool accepted = false;
    bool saving = false;
    bool confirms = false;
    QString button;
    QStringList offered;
    QStringList filters;
    QStringList overwriteQuestions;
};

} // namespace

// "保存数据" asks where to save with a save question offering the default
// file; it asks before overwriting, and Cancel or "no" writes nothing.
TEST(FileQuestionsTest, SavingDataAsksASaveQuestionAndBeforeOverwriting)
{
    QuestionRig q;
    ASSERT_TRUE(q.Start());
    q.rig.app->User().fileHook = nullptr; // the real dialog, answered by DialogAnswers
    const QString saved = q.rig.Path("data/VX21A/UART0.bin");
    PutFile(saved, "older");

    struct Case
    {
        DialogAnswers::Step step;
        bool written;
        int overwriteQuestions;
    };
    const Case cases[] = {{DialogAnswers::Step::Cancel, false, 0},
                          {DialogAnswers::Step::AcceptThenNo, false, 1},
                          {DialogAnswers::Step::AcceptThenYes, true, 1}};
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.step));
        DialogAnswers answers(c.step);
        q.Pick(QString::fromUtf8("保存数据"));
        q.RightClickPeripheral(QStringLiteral("UART0"));
        EXPECT_TRUE(answers.saving);
        EXPECT_EQ(answers.button, "Save");
        EXPECT_TRUE(answers.confirms);
        EXPECT_EQ(answers.offered, QStringList{QFileInfo(saved).absoluteFilePath()});
        EXPECT_EQ(answers.filters, QStringList{"Register data Files(*.bin) (*.bin)"});
        EXPECT_EQ(answers.overwriteQuestions.size(), c.overwriteQuestions);
        EXPECT_EQ(ReadAll(saved) != "older", c.written);
    }
    EXPECT_TRUE(q.rig.messages.isEmpty());
}

// The memory window saves a range with a save question for binary files; its
// Cancel writes nothing and says that no file was chosen.
TEST(FileQuestionsTest, TheMemoryWindowSavesWithABinaryFilesSaveQuestion)
{
    SimulatedChip chip("VX21A");
    ASSERT_TRUE(chip.Start());
    AppRig rig(StandardIni(QStringLiteral("UART_PORT=%1\nUART_BAUND=6\n").arg(chip.PortPath()))
                   .replace("DATA_TYPE=0", "DATA_TYPE=2"));
    ASSERT_TRUE(rig.Start());
    QList<FileRequest> asked;
    QString answer;
    rig.app->User().fileHook = [&](const FileRequest &request) {
        asked << request;
        return answer;
    };
    QTest::mouseClick(rig.Panel().findChild<QPushButton *>("1043"), Qt::LeftButton);
    ASSERT_FALSE(rig.app->MemoryWindows().isEmpty());
    MemoryWindow *window = rig.app->MemoryWindows().constLast();
    QTRY_COMPARE_WITH_TIMEOUT(window->Outstanding(), 0, 10000);
    auto *save = window->findChild<QPushButton *>(QStringLiteral("save"));
    auto *load = window->findChild<QPushButton *>(QStringLiteral("load"));
    ASSERT_TRUE(save && load);

    const QByteArray ram = chip.Peek(0x20000000, 0x100);
    QTest::mouseClick(save, Qt::LeftButton);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].kind, FileRequest::Kind::Save);
    EXPECT_TRUE(asked[0].overwritePrompt);
    ASSERT_FALSE(asked[0].filters.isEmpty());
    EXPECT_EQ(asked[0].filters[0].text, "Binary Files(*.bin)");
    EXPECT_EQ(asked[0].filters[0].pattern, "*.bin");
    QTRY_COMPARE_WITH_TIMEOUT(window->Outstanding(), 0, 10000);
    EXPECT_EQ(rig.messages, QStringList{"no file select, please check!"});
    rig.messages.clear();

    QTest::mouseClick(load, Qt::LeftButton);
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[1].kind, FileRequest::Kind::Open);
    EXPECT_TRUE(asked[1].mustExist);
    EXPECT_EQ(asked[1].filters[0].text, "Binary Files(*.bin)");
    QTRY_COMPARE_WITH_TIMEOUT(window->Outstanding(), 0, 10000);
    EXPECT_EQ(chip.Peek(0x20000000, 0x100), ram) << "a cancelled load writes nothing";
    EXPECT_EQ(rig.messages, QStringList{"no file select, please check!"});
}

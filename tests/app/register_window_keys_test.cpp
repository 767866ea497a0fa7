// A register window used from the keyboard and its row menu: arrows move,
// F2 or Enter edits the selected value in the window's base, Enter commits,
// Escape cancels, Ctrl+C and the menu copy; the click that opens the menu
// never runs one of its entries.
#include "AppRig.h"
#include "GridRows.h"
#include "regmap/RegisterWindow.h"
#include "widgets/PropertyGrid.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTimer>

#include <gtest/gtest.h>

#include "support/QtTestChecks.h"

namespace {

QString WindowIni()
{
    return StandardIni(QStringLiteral("EXPAND_TYPE=2\nHEX_DEC=1\nREG_WR=1\n[VX21A]\nWND_0=1\nUART0=1\n"));
}

QLineEdit *OpenEditor(QTreeView *view)
{
    for (QLineEdit *edit : view->viewport()->findChildren<QLineEdit *>())
        if (edit->isVisible())
            return edit;
    return nullptr;
}

TEST(RegisterWindowKeys, ArrowsMoveF2AndEnterEditEscapeCancels)
{
    AppRig rig(WindowIni());
    ASSERT_TRUE(rig.Start());
    rig.app->ChildFrame(0)->resize(700, 500);
    QApplication::processEvents();
    RegisterWindowView *window = rig.app->RegisterWindow(0);
    GridView grid(window->Grid()->Tree());
    QTreeView *view = grid.View();
    view->setFocus();
    // Down from the peripheral: CR, then its value row.
    view->setCurrentIndex(grid->topLevelItem(0).Index());
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Down);
    GridItem value = grid->currentItem();
    ASSERT_EQ(value->text(0), "VALUE~");
    EXPECT_EQ(value->text(1), "—") << "never read";

    QTest::keyClick(view, Qt::Key_F2);
    QLineEdit *editor = nullptr;
    QTRY_VERIFY((editor = OpenEditor(view)) != nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "1234");
    QTest::keyClick(editor, Qt::Key_Escape);
    QTRY_VERIFY(OpenEditor(view) == nullptr);
    EXPECT_EQ(value->text(1), "—") << "Escape leaves the value";

    // Enter opens it too; plain digits are hexadecimal in a HEX window.
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY((editor = OpenEditor(view)) != nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "0E000105");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(value->text(1), QString("0x0E000105"));
    EXPECT_TRUE(value->font(1).bold()) << "an edit not yet written is bold";
    EXPECT_EQ(value.parent()->text(1), "0x0E000105");
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('|').toStdString();

    // A text that is not wholly a number is refused with its name.
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY((editor = OpenEditor(view)) != nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "12G4");
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(rig.messages.size(), qsizetype(1));
    EXPECT_EQ(rig.messages[0], "not a number !\n12G4 is no hexadecimal value for CR\n");
    EXPECT_EQ(value->text(1), "0x0E000105");

    // Ctrl+C copies the selected value as drawn.
    QApplication::clipboard()->clear();
    QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "0x0E000105");
}

TEST(RegisterWindowKeys, SpaceFlipsAOneBitFieldAndNothingWider)
{
    AppRig rig(WindowIni());
    ASSERT_TRUE(rig.Start());
    rig.app->ChildFrame(0)->resize(700, 500);
    QApplication::processEvents();
    GridView grid(rig.app->RegisterWindow(0)->Grid()->Tree());
    QTreeView *view = grid.View();
    view->setFocus();
    view->setCurrentIndex(grid->topLevelItem(0).Index());
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(view, Qt::Key_Down);
    GridItem en = grid->currentItem();
    ASSERT_EQ(en->text(0), "EN");
    const GridItem cr = en.parent();

    QTest::keyClick(view, Qt::Key_Space);
    QTRY_COMPARE(en->text(1), QString("0x1"));
    EXPECT_EQ(cr->text(1), "0x00000001");
    QTest::keyClick(view, Qt::Key_Space);
    QTRY_COMPARE(en->text(1), QString("0x0"));
    EXPECT_EQ(cr->text(1), "0x00000000");

    // MODE is four bits wide: Space neither changes it nor opens an editor.
    QTest::keyClick(view, Qt::Key_Down);
    ASSERT_EQ(grid->currentItem()->text(0), "MODE");
    const QString mode = grid->currentItem()->text(1);
    QTest::keyClick(view, Qt::Key_Space);
    QTest::qWait(50);
    EXPECT_EQ(grid->currentItem()->text(1), mode);
    EXPECT_EQ(OpenEditor(view), nullptr);
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('|').toStdString();
}

// A click into a value opens its editor; a click elsewhere closes it. That
// is no edit: no invented zero for a value never read, no bold for a value
// left as it was.
TEST(RegisterWindowKeys, AnEditorLeftAsItOpenedChangesNothing)
{
    AppRig rig(WindowIni());
    ASSERT_TRUE(rig.Start());
    rig.app->ChildFrame(0)->resize(700, 500);
    QApplication::processEvents();
    RegisterWindowView *window = rig.app->RegisterWindow(0);
    GridView grid(window->Grid()->Tree());
    QTreeView *view = grid.View();
    for (bool read : {false, true}) {
        SCOPED_TRACE(read ? "read" : "never read");
        if (read)
            window->Logic()->FillPeripheral("UART0", QByteArray(0x100, '\x5A'));
        GridItem cr = grid->topLevelItem(0)->child(0);
        const QString shown = cr->text(1);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(cr.Index(1)).center());
        QTRY_VERIFY(OpenEditor(view) != nullptr);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {},
                          view->visualRect(grid->topLevelItem(0).Index(0)).center());
        QTRY_VERIFY(OpenEditor(view) == nullptr);
        QApplication::processEvents();
        EXPECT_EQ(cr->text(1), shown);
        EXPECT_FALSE(cr->font(1).bold());
    }
    EXPECT_TRUE(rig.messages.isEmpty()) << rig.messages.join('|').toStdString();
}

TEST(RegisterWindowKeys, TheClickThatOpensTheMenuRunsNothingALaterClickDoes)
{
    AppRig rig(WindowIni());
    ASSERT_TRUE(rig.Start());
    rig.app->ChildFrame(0)->resize(700, 500);
    QApplication::processEvents();
    RegisterWindowView *window = rig.app->RegisterWindow(0);
    GridView grid(window->Grid()->Tree());
    GridItem cr = grid->topLevelItem(0)->child(0);
    grid->scrollToItem(cr);
    const QPoint at = grid->visualItemRect(cr).center();
    QApplication::clipboard()->clear();
    QStringList seen;
    // While the menu is open: the release of the opening click lands on it,
    // then a click on "复制地址".
    QTimer::singleShot(200, [&] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        QAction *copy = nullptr;
        for (QAction *action : menu->actions())
            if (action->text() == QString::fromUtf8("复制地址"))
                copy = action;
        if (!copy)
            return;
        const QPoint on = menu->actionGeometry(copy).center();
        QTest::mouseRelease(menu, Qt::RightButton, {}, on);
        QApplication::processEvents();
        seen << (menu->isVisible() ? "open" : "closed") << QApplication::clipboard()->text();
        QTest::mouseClick(menu, Qt::LeftButton, {}, on);
    });
    QTest::mousePress(grid->viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent open(QContextMenuEvent::Mouse, at, grid->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid->viewport(), &open);
    ASSERT_EQ(seen.size(), 2) << "the menu did not open";
    EXPECT_EQ(seen[0], "open") << "the opening click's release ran an entry";
    EXPECT_EQ(seen[1], "");
    EXPECT_EQ(QApplication::clipboard()->text(), "0x40001000");
}

} // namespace

// Qt's own warnings (they go to standard error) while a test part runs.
struct QtWarnings
{
    QtWarnings() { Instance() = this, m_previous = qInstallMessageHandler(Handler); }
    ~QtWarnings() { qInstallMessageHandler(m_previous), Instance() = nullptr; }
    static QtWarnings *&Instance()
    {
        static QtWarnings *current = nullptr;
        return current;
    }
    static void Handler(QtMsgType type, const QMessageLogContext &, const QString &text)
    {
        if (type != QtDebugMsg && Instance())
            Instance()->texts << text;
    }
    QStringList texts;
    QtMessageHandler m_previous = nullptr;
};

TEST(RegisterWindowKeys, AReadOnlyValueSaysSoInTheStatusLineOnly)
{
    AppRig rig(WindowIni());
    // SR.BUSY is read-only, SR itself is not.
    QFile svd(rig.Path("svd/VX21A.svd"));
    ASSERT_TRUE(svd.open(QIODevice::ReadOnly));
    QByteArray text = svd.readAll();
    svd.close();
    text.replace("<bitOffset>31</bitOffset><bitWidth>1</bitWidth></field>",
                 "<bitOffset>31</bitOffset><bitWidth>1</bitWidth><access>read-only</access></field>");
    rig.WriteFile("svd/VX21A.svd", text);
    ASSERT_TRUE(rig.Start());
    rig.app->ChildFrame(0)->resize(700, 500);
    QApplication::processEvents();
    RegisterWindowView *window = rig.app->RegisterWindow(0);
    QLabel *status = window->StatusLine();
    GridView grid(window->Grid()->Tree());
    QTreeView *view = grid.View();
    view->setFocus();
    view->setCurrentIndex(grid->topLevelItem(0).Index());
    for (int i = 0; i < 7; ++i)
        QTest::keyClick(view, Qt::Key_Down);
    const GridItem busy = grid->currentItem();
    ASSERT_EQ(busy->text(0), "BUSY");
    EXPECT_TRUE(status->isHidden()) << "nothing to say yet";

    QtWarnings warnings;
    const int gridHeight = window->Grid()->height();
    QTest::keyClick(view, Qt::Key_F2);
    QApplication::processEvents();
    EXPECT_EQ(OpenEditor(view), nullptr);
    EXPECT_TRUE(status->isVisible());
    EXPECT_EQ(status->text(), "SR.BUSY is read-only !");
    EXPECT_LT(window->Grid()->height(), gridHeight) << "the line takes its room under the rows";
    EXPECT_GE(status->geometry().top(), window->Grid()->geometry().bottom() - 3);

    // Moving on clears it; Space and a click on the value say it again, once.
    QTest::keyClick(view, Qt::Key_Up);
    EXPECT_TRUE(status->isHidden());
    QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Space);
    EXPECT_EQ(status->text(), "SR.BUSY is read-only !");
    QTest::keyClick(view, Qt::Key_Up);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, grid.visualRect(busy.Index(1)).center());
    QApplication::processEvents();
    EXPECT_EQ(status->text(), "SR.BUSY is read-only !");
    EXPECT_EQ(OpenEditor(view), nullptr);
    EXPECT_EQ(busy->text(1), "—") << "nothing changed";

    EXPECT_TRUE(warnings.texts.isEmpty()) << warnings.texts.join('|').toStdString();
    EXPECT_TRUE(rig.messages.isEmpty()) << "no message box: " << rig.messages.join('|').toStdString();

    // An editable value still opens its editor and leaves the line alone.
    QTest::keyClick(view, Qt::Key_Up);
    ASSERT_EQ(grid->currentItem()->text(0), "VALUE~");
    QTest::keyClick(view, Qt::Key_F2);
    QTRY_VERIFY(OpenEditor(view) != nullptr);
    EXPECT_TRUE(status->isHidden());
}

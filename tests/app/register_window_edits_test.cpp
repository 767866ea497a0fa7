// A register window's values as a person edits them on a simulated chip:
// an edit waiting for "寄存器写入" is marked until it is written, an
// immediate write leaves the rows open as they were, and no value is ever cut
// to a shorter number in a narrow window.
#include "AppRig.h"
#include "DrawnPixels.h"
#include "GridRows.h"
#include "SimulatedChip.h"
#include "app/Looks.h"
#include "regmap/RegisterWindow.h"
#include "widgets/PropertyGrid.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QSettings>

#include <gtest/gtest.h>

#include "support/QtTestChecks.h"

namespace {

constexpr uint32_t kUartCr = 0x40001000;

QList<int> AllLooks()
{
    QList<int> ids;
    for (const Looks::MenuEntry &entry : Looks::MainEntries())
        ids << entry.id;
    for (const Looks::MenuEntry &entry : Looks::Office2007Entries())
        ids << entry.id;
    ids << Looks::kWindows7;
    return ids;
}

QLineEdit *OpenEditor(QTreeView *view)
{
    for (QLineEdit *edit : view->viewport()->findChildren<QLineEdit *>())
        if (edit->isVisible())
            return edit;
    return nullptr;
}

struct EditRig
{
    // `settings`: the COMMON lines beyond the link's.
    explicit EditRig(const QString &settings)
        : chip("VX21A")
    {
        started = chip.Start();
        chip.PokeWord(kUartCr, 0x21);
        rig.Prepare(StandardIni(QStringLiteral("UART_PORT=%1\nUART_BAUND=6\nHEX_DEC=1\n%2[VX21A]\nWND_0=1\nUART0=1\n")
                                    .arg(chip.PortPath(), settings))
                        .replace("DATA_TYPE=0", "DATA_TYPE=2"));
    }
    bool Start()
    {
        if (!started || !rig.Start())
            return false;
        // Shown and laid out first: a later layout would tile the window anew.
        rig.Frame().show();
        if (!QTest::qWaitForWindowExposed(&rig.Frame()))
            return false;
        window = rig.app->RegisterWindow(0);
        grid = GridView(window->Grid()->Tree());
        Resize(700);
        return window != nullptr;
    }
    // Right-clicks the row and picks the menu entry.
    void Menu(const QStringList &path, const QString &entry)
    {
        window->menuExec = [entry](QMenu &menu, const QPoint &) -> QAction * {
            for (QAction *action : menu.actions())
                if (action->text() == entry)
                    return action;
            return nullptr;
        };
        GridItem item = Row(grid, path);
        grid->scrollToItem(item);
        RightClick(grid->viewport(), grid->visualRect(item.Index(0)).center());
        rig.WaitForActions();
    }
    // Selects the row, F2, the text, Enter: as typed.
    void Type(const QStringList &path, const QString &text)
    {
        QTreeView *view = grid.View();
        view->setFocus();
        view->setCurrentIndex(Row(grid, path).Index());
        QTest::keyClick(view, Qt::Key_F2);
        QLineEdit *editor = nullptr;
        QTRY_VERIFY((editor = OpenEditor(view)) != nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_VERIFY(OpenEditor(view) == nullptr);
        QApplication::processEvents();
        rig.WaitForActions();
    }
    // The person narrows or widens the main window until the register
    // window, tiled beside the pane, is this wide.
    void Resize(int width)
    {
        QWidget *child = rig.app->ChildFrame(0);
        rig.Frame().resize(rig.Frame().width() + width - child->width(), 600);
        QTRY_VERIFY(std::abs(child->width() - width) <= 4);
        QTest::qWait(80); // the name column settles 50 ms later
    }
    bool Pending(const QStringList &path) const
    {
        GridItem item = Row(grid, path);
        const QVariant colour = item.data(1, Qt::ForegroundRole);
        const QColor pen = Looks::PendingEditColour(window->Grid()->Tree()->palette());
        return item.font(1).bold() && colour.isValid() && colour.value<QBrush>().color() == pen;
    }
    QString Tip(const QStringList &path) const { return Row(grid, path).data(1, Qt::ToolTipRole).toString(); }

    SimulatedChip chip;
    bool started = false;
    AppRig rig{QString()};
    RegisterWindowView *window = nullptr;
    GridView grid;
};

} // namespace

// Writing from the row menu: an edit differs from the chip until it is
// written; its rows are bold in the pending colour in every look, with the
// chip's value in the tooltip. The write, or a read, ends the mark.
TEST(RegisterWindowEdits, EditsWaitingForTheWriteAreMarkedUntilWritten)
{
    EditRig edit(QStringLiteral("REG_WR=1\nEXPAND_TYPE=2\n"));
    ASSERT_TRUE(edit.Start());
    edit.Menu({"UART0"}, QString::fromUtf8("寄存器读取"));
    const QStringList cr{"UART0", "CR"};
    const QStringList value{"UART0", "CR", "VALUE~"};
    const QStringList mode{"UART0", "CR", "MODE"};
    const QStringList en{"UART0", "CR", "EN"};
    ASSERT_EQ(Row(edit.grid, cr)->text(1), "0x00000021");
    EXPECT_FALSE(edit.Pending(value)) << "read, not edited";

    edit.Type(value, "35");
    EXPECT_EQ(edit.chip.PeekWord(kUartCr), 0x21u) << "nothing written yet";
    for (const QStringList &path : {cr, value, mode}) {
        EXPECT_TRUE(edit.Pending(path)) << path.join('.').toStdString();
        EXPECT_TRUE(edit.Tip(path).contains(QString::fromUtf8("未写入"))) << edit.Tip(path).toStdString();
    }
    EXPECT_TRUE(edit.Tip(value).contains(QString::fromUtf8("芯片上的值 0x00000021"))) << edit.Tip(value).toStdString();
    EXPECT_TRUE(edit.Tip(mode).contains(QString::fromUtf8("芯片上的值 0x2"))) << edit.Tip(mode).toStdString();
    EXPECT_FALSE(edit.Pending(en)) << "EN stays 1 on the chip as in the rows";
    EXPECT_FALSE(edit.Pending({"UART0", "SR"}));

    // Drawn in the pending colour, which stands out in every look.
    GridItem valueRow = Row(edit.grid, value);
    for (int id : AllLooks()) {
        edit.rig.Frame().SetLook(id);
        QApplication::processEvents();
        QTreeView *view = edit.grid.View();
        const QColor pen = Looks::PendingEditColour(view->palette());
        EXPECT_GE(Looks::ContrastRatio(pen, view->palette().color(QPalette::Base)), 4.5) << id;
        EXPECT_GE(Looks::ContrastRatio(pen, view->palette().color(QPalette::Text)), 1.8) << id;
        view->clearSelection();
        view->setCurrentIndex(QModelIndex());
        const QImage shot = view->viewport()->grab().toImage();
        EXPECT_TRUE(DrawnIn(shot, edit.grid->visualRect(valueRow.Index(1)).adjusted(2, 1, -2, -1), pen)) << id;
    }

    // The write ends the mark; the next edit names the word written.
    edit.Menu(cr, QString::fromUtf8("寄存器写入"));
    EXPECT_EQ(edit.chip.PeekWord(kUartCr), 0x35u);
    for (const QStringList &path : {cr, value, mode}) {
        EXPECT_FALSE(edit.Pending(path)) << path.join('.').toStdString();
        EXPECT_FALSE(Row(edit.grid, path).font(1).bold()) << path.join('.').toStdString();
    }
    edit.Type(mode, "7");
    EXPECT_TRUE(edit.Pending(cr));
    EXPECT_TRUE(edit.Tip(cr).contains(QString::fromUtf8("芯片上的值 0x00000035"))) << edit.Tip(cr).toStdString();
    // A read puts the chip's value back: nothing waits any more.
    edit.Menu(cr, QString::fromUtf8("寄存器读取"));
    EXPECT_EQ(Row(edit.grid, cr)->text(1), "0x00000035");
    EXPECT_FALSE(edit.Pending(cr));
    EXPECT_FALSE(edit.Pending(mode));
    EXPECT_TRUE(edit.rig.messages.isEmpty()) << edit.rig.messages.join('|').toStdString();
}

// Writing at once marks nothing as waiting, and a register the person
// opened stays open through its write at every expand level.
TEST(RegisterWindowEdits, AnImmediateWriteKeepsTheRowsAsThePersonOpenedThem)
{
    for (int level : {0, 1}) {
        SCOPED_TRACE(level);
        EditRig edit(QStringLiteral("REG_WR=0\nEXPAND_TYPE=%1\n").arg(level));
        ASSERT_TRUE(edit.Start());
        QTreeView *view = edit.grid.View();
        GridItem uart = Row(edit.grid, {"UART0"});
        view->setFocus();
        view->setCurrentIndex(uart.Index());
        QTest::keyClick(view, Qt::Key_Right); // opens UART0 where it was closed
        GridItem cr = Row(edit.grid, {"UART0", "CR"});
        view->setCurrentIndex(cr.Index());
        QTest::keyClick(view, Qt::Key_Right);
        ASSERT_TRUE(cr.isExpanded());
        ASSERT_TRUE(uart.isExpanded());

        edit.Type({"UART0", "CR", "MODE"}, "3");
        EXPECT_EQ(edit.chip.PeekWord(kUartCr) & 0xF0u, 0x30u);
        EXPECT_TRUE(cr.isExpanded()) << "the register written stays open";
        EXPECT_TRUE(uart.isExpanded());
        EXPECT_FALSE(edit.Pending({"UART0", "CR"}));
        edit.Type({"UART0", "CR", "VALUE~"}, "0x51");
        EXPECT_EQ(edit.chip.PeekWord(kUartCr), 0x51u);
        EXPECT_TRUE(cr.isExpanded());

        // The person closes it: it stays closed through the next write too.
        view->setCurrentIndex(cr.Index());
        QTest::keyClick(view, Qt::Key_Left);
        ASSERT_FALSE(cr.isExpanded());
        edit.Type({"UART0", "CR"}, "0x61");
        EXPECT_EQ(edit.chip.PeekWord(kUartCr), 0x61u);
        EXPECT_FALSE(cr.isExpanded());
        EXPECT_TRUE(edit.rig.messages.isEmpty()) << edit.rig.messages.join('|').toStdString();
    }
}

// With the optional columns in a narrow window, the value column stays
// inside the view: a word that does not fit ends in an ellipsis, never cut
// at the view's edge into a shorter number.
TEST(RegisterWindowEdits, ValuesNeverLookShorterInANarrowWindowWithTheOptionalColumns)
{
    EditRig edit(QStringLiteral("REG_WR=1\nEXPAND_TYPE=2\n"));
    ASSERT_TRUE(edit.Start());
    edit.window->Logic()->FillPeripheral("UART0", QByteArray(0x100, '\x5A'));
    PropertyGrid *grid = edit.window->Grid();
    grid->SetShownExtraColumns({2, 3, 4, 5, 6});
    QTreeView *view = edit.grid.View();
    for (int width : {700, 330, 260, 200}) {
        SCOPED_TRACE(width);
        edit.Resize(width);
        view->horizontalScrollBar()->setValue(0);
        const QFontMetrics metrics(view->font());
        int whole = 0;
        for (const QStringList &path : {QStringList{"UART0", "CR"}, QStringList{"UART0", "CR", "VALUE~"},
                                        QStringList{"UART0", "SR"}, QStringList{"UART0", "CR", "MODE"}}) {
            GridItem item = Row(edit.grid, path);
            const QRect cell = view->visualRect(item.Index(1));
            EXPECT_LE(cell.right(), view->viewport()->width()) << path.join('.').toStdString();
            EXPECT_GE(cell.left(), 0);
            // Drawn as Qt draws it: whole, or ending in an ellipsis.
            const QString text = item->text(1);
            const QString drawn = metrics.elidedText(text, Qt::ElideRight, cell.width() - 8);
            EXPECT_TRUE(drawn == text || drawn.endsWith(QChar(0x2026))) << drawn.toStdString();
            whole += drawn == text;
        }
        if (width >= 260) {
            EXPECT_EQ(whole, 4) << "room for every word";
        }
    }
}

// The name column takes the room the values leave, keeps a width the person
// dragged across resizes and runs (per window), and array elements keep
// their indices when their names are shortened.
TEST(RegisterWindowEdits, TheNameColumnTakesTheRoomLeftAndKeepsADraggedWidth)
{
    QSettings profile(QString::fromUtf8(MainWindow::kCompany), QString::fromLatin1(CorvaneApplication::kAppName));
    profile.remove(QStringLiteral("Workspace/RegisterWindow0/NameWidth"));
    EditRig edit(QStringLiteral("REG_WR=1\nEXPAND_TYPE=2\n"));
    edit.rig.WriteFile("svd/VX21A.svd",
                       R"(<?xml version="1.0" encoding="utf-8"?>
<device schemaVersion="1.3"><name>VX21A</name><peripherals>
  <peripheral><name>UART0</name><baseAddress>0x40001000</baseAddress><registers>
    <register><name>CR</name><addressOffset>0x0</addressOffset>
      <fields><field><name>MODE</name><bitOffset>4</bitOffset><bitWidth>4</bitWidth></field></fields></register>
    <cluster><dim>2</dim><dimIncrement>0x20</dimIncrement><name>CACHESETGROUP[%s]</name><addressOffset>0x100</addressOffset>
      <register><dim>4</dim><dimIncrement>4</dimIncrement><name>WAYCONFIGURATION[%s]</name><addressOffset>0</addressOffset></register>
    </cluster>
  </registers></peripheral>
</peripherals></device>
)");
    ASSERT_TRUE(edit.Start());
    QTreeView *view = edit.grid.View();
    PropertyGrid *grid = edit.window->Grid();
    edit.Resize(900);
    // Room enough: every name whole, the values beside them.
    GridItem way = edit.grid->topLevelItem(0)->child(1);
    const QString wayName = way->text(0);
    ASSERT_TRUE(wayName.contains("CACHESETGROUP[0]") && wayName.contains("WAYCONFIGURATION[0]"))
        << wayName.toStdString();
    const QFontMetrics metrics(view->font());
    EXPECT_GE(view->columnWidth(0), metrics.horizontalAdvance(wayName) + 2 * view->indentation())
        << "the name column takes what the values leave";
    EXPECT_EQ(way.data(0, PropertyModel::ElideRole).toInt(), int(Qt::ElideMiddle));
    EXPECT_FALSE(Row(edit.grid, {"UART0", "CR"}).data(0, PropertyModel::ElideRole).isValid());

    // Narrow: the names give way; two elements keep their own indices drawn.
    edit.Resize(260);
    GridItem next = edit.grid->topLevelItem(0)->child(2);
    const QRect first = view->visualRect(way.Index(0));
    const QRect second = view->visualRect(next.Index(0));
    ASSERT_LT(first.width(), metrics.horizontalAdvance(wayName));
    view->clearSelection();
    view->setCurrentIndex(QModelIndex());
    const QImage shot = view->viewport()->grab().toImage();
    EXPECT_NE(shot.copy(first), shot.copy(QRect(second.topLeft(), first.size())))
        << "both drawn alike: the indices were cut off";

    // The person drags the divider; it stays across resizes and the next run.
    edit.Resize(900);
    view->header()->resizeSection(0, 300);
    QTRY_COMPARE(grid->NameColumnWidth(), 300);
    QTest::qWait(120);
    edit.Resize(260);
    EXPECT_LT(view->columnWidth(0), 300) << "the value keeps its room";
    edit.Resize(1000);
    EXPECT_EQ(view->columnWidth(0), 300);
    EXPECT_EQ(grid->NameColumnWidth(), 300);
    EXPECT_EQ(profile.value(QStringLiteral("Workspace/RegisterWindow0/NameWidth")).toInt(), 300);

    edit.rig.Quit();
    ASSERT_TRUE(edit.Start());
    edit.Resize(900);
    EXPECT_EQ(edit.window->Grid()->Tree()->columnWidth(0), 300);
    profile.remove(QStringLiteral("Workspace/RegisterWindow0/NameWidth"));
}

// The register window widget over its rows: header titles, the captions'
// font, the name column's clamp and realignment, bold edited values and the
// context menus per row kind and data source.

#include "GridRows.h"
#include "AppRig.h"

#include "regmap/RegisterWindow.h"
#include "widgets/PropertyGrid.h"

#include <QAction>
#include <QFontInfo>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include "support/QtTestChecks.h"

namespace {

QString WindowIni(const QString &marks, int dataType = 0)
{
    return StandardIni(QStringLiteral("EXPAND_TYPE=2\nHEX_DEC=1\nREG_WR=1\n[VX21A]\nWND_0=1\n") + marks)
        .replace("DATA_TYPE=0", QStringLiteral("DATA_TYPE=%1").arg(dataType));
}

// The entries of the menu a right click on `item` opens; "-" for none.
QStringList MenuOf(RegisterWindowView *window, GridItem item)
{
    QStringList entries{"-"};
    window->menuExec = [&](QMenu &menu, const QPoint &) -> QAction * {
        entries.clear();
        for (QAction *action : menu.actions())
            entries << action->text();
        return nullptr;
    };
    GridView grid(window->Grid()->Tree());
    grid->scrollToItem(item);
    RightClick(grid->viewport(), grid->visualItemRect(item).center());
    return entries;
}

} // namespace

TEST(RegisterWindowTest, EmptyWindowTitlesAndCaptionFont)
{
    AppRig rig(WindowIni(QString()));
    ASSERT_TRUE(rig.Start());
    PropertyGrid *grid = rig.app->RegisterWindow(0)->Grid();
    EXPECT_EQ(GridView(grid->Tree())->topLevelItemCount(), 0);
    EXPECT_EQ(grid->LeftTitle(), "");
    EXPECT_EQ(grid->RightTitle(), "Value");
    // Monospaced: a narrow and a wide letter take the same width.
    const QFontMetrics metrics(grid->Tree()->font());
    EXPECT_EQ(metrics.horizontalAdvance('i'), metrics.horizontalAdvance('W'));
    // A narrow grid halves its name column at once; the clamp follows.
    QTRY_COMPARE(grid->NameColumnWidth(), 160);
}

TEST(RegisterWindowTest, NameColumnIsClampedAndCaptionsRealigned)
{
    AppRig rig(WindowIni(QStringLiteral("UART0=1\n")));
    ASSERT_TRUE(rig.Start());
    rig.app->ChildFrame(0)->resize(900, 500);
    QApplication::processEvents();
    PropertyGrid *grid = rig.app->RegisterWindow(0)->Grid();
    GridItem cr = GridView(grid->Tree())->topLevelItem(0)->child(0);
    RegisterRow *crRow = rig.app->RegisterWindow(0)->Logic()->Tree().TopRow(0)->Child(0);
    EXPECT_EQ(crRow->Name(), "CR" + QString(16, ' ') + "0x00000000");
    // The grid draws the name and the value in columns of their own.
    EXPECT_EQ(cr->text(0), "CR");
    grid->Tree()->header()->resizeSection(0, 500);
    QTRY_COMPARE(grid->NameColumnWidth(), 400);
    // trunc(((400 - 35) / 7 + 0.5) * 96 / dpi) at the start-up dpi.
    const int column = int(((400 - 35) / 7.0 + 0.5) * 96 / rig.app->Dpi());
    QTRY_COMPARE(crRow->Name().indexOf("0x"), column);
    grid->Tree()->header()->resizeSection(0, 100);
    QTRY_COMPARE(grid->NameColumnWidth(), 160);
}

TEST(RegisterWindowTest, EditedValueIsBoldUntilTheNextFill)
{
    AppRig rig(WindowIni(QStringLiteral("UART0=1\n")));
    ASSERT_TRUE(rig.Start());
    GridItem cr = GridView(rig.app->RegisterWindow(0)->Grid()->Tree())->topLevelItem(0)->child(0);
    GridItem value = cr->child(0);
    ASSERT_EQ(value->text(0), "VALUE~");
    value->setText(1, "FF"); // as the in-place editor commits it, in the window's base (HEX)
    QTRY_VERIFY(cr->text(1).endsWith("0x000000FF"));
    EXPECT_TRUE(value->font(1).bold());
    EXPECT_EQ(cr->child(1)->text(1), "0x1"); // EN
    EXPECT_FALSE(cr->child(1)->font(1).bold());
    rig.Pick(1032, 1);
    QTest::mouseClick(rig.Panel().findChild<QPushButton *>("1037"), Qt::LeftButton);
    // Every value of the window in its base: the value row as its register.
    EXPECT_EQ(value->text(1), "0x000000FF");
    EXPECT_FALSE(value->font(1).bold());
}

TEST(RegisterWindowTest, ContextMenusFollowRowKindAndDataSource)
{
    struct Case
    {
        int dataType;
        QStringList peripheral, registerRow, field;
    };
    const QList<Case> cases{
        {0, {"导入数据", "保存数据", "复制地址"}, {"绘图", "复制数值", "复制地址"}, {"绘图", "复制数值", "复制地址"}},
        {2,
         {"导入数据", "保存数据", "寄存器读取", "寄存器写入", "复制地址"},
         {"寄存器读取", "寄存器写入", "绘图", "复制数值", "复制地址"},
         {"绘图", "复制数值", "复制地址"}},
    };
    for (const Case &c : cases) {
        AppRig rig(WindowIni(QStringLiteral("UART0=1\n"), c.dataType));
        ASSERT_TRUE(rig.Start());
        RegisterWindowView *window = rig.app->RegisterWindow(0);
        GridItem uart = GridView(window->Grid()->Tree())->topLevelItem(0);
        EXPECT_EQ(MenuOf(window, uart), c.peripheral) << c.dataType;
        EXPECT_EQ(MenuOf(window, uart->child(0)), c.registerRow) << c.dataType;
        EXPECT_EQ(MenuOf(window, uart->child(0)->child(2)), c.field) << c.dataType;
        // A click on a field row names its peripheral in the header.
        EXPECT_EQ(window->Grid()->LeftTitle(), "UART0");
    }
}

// The windows as a person uses them: right clicks arrive as context-menu
// events from the mouse, and the checks look at what is drawn: the caption
// with its value inside the row, the last output row inside the view,
// disabled against enabled colours and the selected row's contrast in every
// look, the register windows covering the document area after pane changes.

#include "AppRig.h"
#include "DrawnPixels.h"

#include "GridRows.h"
#include "regmap/RegisterWindow.h"
#include "app/AppIcon.h"
#include "ipcheck/ui/IpCheckWindow.h"
#include "ipcheck/ui/LogList.h"
#include "app/Looks.h"
#include "app/ControlPaneDock.h"
#include "widgets/PropertyGrid.h"
#include "widgets/EditableListCtrl.h"

#include <QAction>
#include <QDockWidget>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

#include <map>
#include "support/QtTestChecks.h"

namespace {

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

QString LinkIni(const QString &extra)
{
    return StandardIni(QStringLiteral("HEX_DEC=1\nREG_WR=1\n") + extra).replace("DATA_TYPE=0", "DATA_TYPE=2");
}

int PixelsUnlike(const QImage &image, const QRect &band, QRgb background)
{
    int count = 0;
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); ++x)
            count += image.pixel(x, y) != background;
    return count;
}

GridItem Child(GridItem parent, const QString &nameStart)
{
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->text(0).startsWith(nameStart))
            return parent->child(i);
    return nullptr;
}

IpCheckWindow *CheckWindow(AppRig &rig)
{
    auto *check = qobject_cast<IpCheckWindow *>(rig.Frame().Pane().CheckWindow());
    rig.Frame().Pane().Tabs().setCurrentIndex(1);
    QApplication::processEvents();
    return check;
}

} // namespace

TEST(DrawnWindowsTest, RightClickOnRowsOpensTheRowsMenuAndNeverTheFramesMenu)
{
    AppRig rig(LinkIni(QStringLiteral("EXPAND_TYPE=2\n[VX21A]\nWND_0=1\nUART0=1\n")));
    ASSERT_TRUE(rig.Start());
    QStringList frameMenu;
    rig.Frame().frameMenuExec = [&](QMenu &menu, const QPoint &) {
        for (QAction *action : menu.actions())
            frameMenu << action->text();
    };
    RegisterWindowView *window = rig.app->RegisterWindow(0);
    QStringList rowMenu;
    window->menuExec = [&](QMenu &menu, const QPoint &) -> QAction * {
        rowMenu.clear();
        for (QAction *action : menu.actions())
            rowMenu << action->text();
        return nullptr;
    };
    GridView grid(window->Grid()->Tree());
    GridItem uart = grid->topLevelItem(0);
    GridItem cr = Child(uart, "CR");
    ASSERT_NE(cr, nullptr);
    const struct
    {
        GridItem row;
        QStringList menu;
    } cases[] = {
        {uart, {"导入数据", "保存数据", "寄存器读取", "寄存器写入", "复制地址"}},
        {cr, {"寄存器读取", "寄存器写入", "绘图", "复制数值", "复制地址"}},
        {Child(cr, "VALUE~"), {"绘图", "复制数值", "复制地址"}},
        {Child(cr, "MODE"), {"绘图", "复制数值", "复制地址"}},
    };
    for (const auto &c : cases) {
        rowMenu.clear();
        grid->scrollToItem(c.row);
        RightClick(grid->viewport(), grid->visualItemRect(c.row).center());
        EXPECT_EQ(rowMenu, c.menu) << c.row->text(0).toStdString();
        EXPECT_EQ(grid->currentItem(), c.row) << "the row under the pointer is the one acted on";
        EXPECT_EQ(window->Grid()->LeftTitle(), "UART0");
    }
    // Below the rows and on the description area: still the register
    // window's, not the frame's.
    RightClick(grid->viewport(), QPoint(20, grid->viewport()->height() - 5));
    QLabel *description = window->Grid()->findChildren<QLabel *>().constLast();
    RightClick(description, QPoint(5, 5));
    EXPECT_TRUE(frameMenu.isEmpty()) << frameMenu.join('|').toStdString();
}

TEST(DrawnWindowsTest, FrameMenuOverTheEmptyAreaAndThePaneTitleOffersTheLooks)
{
    AppRig rig(LinkIni(QStringLiteral("[VX21A]\nWND_0=1\n")));
    ASSERT_TRUE(rig.Start());
    MainWindow &frame = rig.Frame();
    QMenu *looks = nullptr;
    int opened = 0;
    QString pick = QStringLiteral("黑色样式(&L)");
    frame.frameMenuExec = [&](QMenu &menu, const QPoint &) {
        ++opened;
        for (QAction *action : menu.actions())
            if (action->menu() && action->text() == "应用程序外观(&A)")
                looks = action->menu();
        ASSERT_NE(looks, nullptr);
        for (QAction *action : looks->findChildren<QAction *>())
            if (action->text() == pick)
                action->trigger();
    };
    // The register window covers the area; at half width it leaves empty space.
    QWidget *viewport = frame.DocumentArea().viewport();
    rig.app->ChildFrame(0)->setGeometry(0, 0, viewport->width() / 2, viewport->height());
    RightClick(viewport, QPoint(viewport->width() * 3 / 4, viewport->height() / 2));
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(frame.CurrentLook(), 216);

    // The pane's title bar; the forms inside the pane open nothing.
    ControlPaneDock &pane = frame.Pane();
    pick = QStringLiteral("Visual Studio 200&5");
    RightClick(&pane, QPoint(pane.width() / 2, 4));
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(frame.CurrentLook(), 209);
    RightClick(&rig.Panel(), QPoint(10, 10));
    EXPECT_EQ(opened, 2);
}

TEST(DrawnWindowsTest, RegisterCaptionsShowTheirValueWholeAtEveryExpandLevelAndWidth)
{
    for (int level : {1, 2}) {
        AppRig rig(LinkIni(QStringLiteral("EXPAND_TYPE=%1\n[VX21A]\nWND_0=1\nUART0=1\n").arg(level)));
        ASSERT_TRUE(rig.Start());
        rig.Frame().resize(1500, 800);
        QApplication::processEvents();
        RegisterWindowView *window = rig.app->RegisterWindow(0);
        window->Logic()->FillPeripheral("UART0", QByteArray(0x100, '\x5A'));
        GridView grid(window->Grid()->Tree());
        for (int width : {160, 250, 400}) {
            grid->setColumnWidth(0, width); // the user drags the divider
            QTRY_COMPARE(window->Grid()->NameColumnWidth(), width);
            QTest::qWait(120); // the captions follow 50 ms later
            const QImage shot = grid->viewport()->grab().toImage();
            const QFontMetrics metrics(grid->font());
            GridItem uart = grid->topLevelItem(0);
            int seen = 0;
            for (int i = 0; i < uart->childCount(); ++i) {
                GridItem reg = uart->child(i);
                const QRect rect = grid->visualItemRect(reg);
                if (!grid->viewport()->rect().contains(rect))
                    continue;
                ++seen;
                // The register's name in the name column, its value in the
                // value column beside its fields' values.
                const QString name = reg->text(0);
                const QString value = reg->text(1);
                ASSERT_TRUE(value.startsWith("0x")) << value.toStdString();
                const QRect nameCell = grid->visualRect(reg.Index(0));
                const QRect valueCell = grid->visualRect(reg.Index(1));
                EXPECT_LE(metrics.horizontalAdvance(value) + 8, valueCell.width())
                    << level << " " << width << " " << name.toStdString();
                if (level == 2) {
                    EXPECT_EQ(grid->visualRect(reg->child(0).Index(1)).left(), valueCell.left())
                        << "the register's value stands in line with its value row's";
                }
                // The value's ten characters are drawn.
                const QRect drawn(valueCell.left() + 2, valueCell.top() + 2, metrics.horizontalAdvance(value) + 4,
                                  valueCell.height() - 4);
                const QRect band = QRect(rect.left(), rect.top() + 1, rect.width(), rect.height() - 2);
                EXPECT_GT(PixelsUnlike(shot, drawn.intersected(shot.rect()), Background(shot, band).rgb()), 20)
                    << "no value drawn for " << name.toStdString();
                EXPECT_LE(nameCell.right(), valueCell.left());
            }
            EXPECT_GT(seen, 1) << level << " " << width;
        }
        // A window as narrow as one of four beside the pane: the names give
        // up their ends, each value stays whole inside the view, nothing to
        // scroll sideways.
        rig.app->ChildFrame(0)->resize(160, 500);
        QTRY_VERIFY(grid->viewport()->width() < 160);
        QTest::qWait(120);
        const QFontMetrics metrics(grid->font());
        GridItem uart = grid->topLevelItem(0);
        for (int i = 0; i < uart->childCount(); ++i) {
            const QRect valueCell = grid->visualRect(uart->child(i).Index(1));
            EXPECT_LE(valueCell.left() + metrics.horizontalAdvance(uart->child(i)->text(1)) + 8,
                      grid->viewport()->width())
                << level << " " << uart->child(i)->text(0).toStdString();
        }
        EXPECT_FALSE(grid.View()->horizontalScrollBar()->isVisible()) << level;
    }
}

TEST(DrawnWindowsTest, RegisterWindowsCoverTheDocumentAreaAfterEveryPaneChange)
{
    AppRig rig(LinkIni(QStringLiteral("[VX21A]\nWND_0=1\nWND_2=1\n")));
    ASSERT_TRUE(rig.Start());
    MainWindow &frame = rig.Frame();
    QToolBar *toolBar = frame.findChild<QToolBar *>();
    ControlPaneDock &pane = frame.Pane();
    auto covered = [&](const char *step) {
        QApplication::processEvents();
        QApplication::processEvents();
        const QRect area = frame.DocumentArea().viewport()->rect();
        const QRect first = rig.app->ChildFrame(0)->geometry();
        const QRect second = rig.app->ChildFrame(2)->geometry();
        EXPECT_EQ(first.left(), area.left()) << step;
        EXPECT_EQ(second.left(), first.right() + 1) << step;
        EXPECT_GE(second.right(), area.right() - 1) << step << " leaves " << area.right() - second.right();
        EXPECT_LE(second.right(), area.right()) << step;
        EXPECT_EQ(first.height(), area.height()) << step;
        EXPECT_EQ(second.height(), area.height()) << step;
    };
    covered("start");
    pane.hide();
    covered("pane hidden");
    pane.show();
    covered("pane shown");
    pane.setFloating(true);
    covered("pane floated");
    pane.setFloating(false);
    covered("pane docked");
    frame.addDockWidget(Qt::RightDockWidgetArea, &pane);
    covered("pane docked right");
    toolBar->show();
    covered("tool bar shown");
    frame.addToolBar(Qt::LeftToolBarArea, toolBar);
    covered("tool bar on the left");
    toolBar->hide();
    covered("tool bar hidden");
    // Back where it was: the layout is kept in the run's profile.
    frame.addDockWidget(Qt::LeftDockWidgetArea, &pane);
    covered("pane docked left again");
}

TEST(DrawnWindowsTest, EveryLookKeepsDisabledTextFadedAndSelectedTextReadable)
{
    QWidget form;
    auto *enabled = new QLabel(QStringLiteral("WWWW"), &form);
    auto *disabled = new QLabel(QStringLiteral("WWWW"), &form);
    enabled->setGeometry(0, 0, 60, 24);
    disabled->setGeometry(0, 30, 60, 24);
    disabled->setEnabled(false);
    for (int id : AllLooks()) {
        Looks::Install(id);
        const QPalette palette = QApplication::palette();
        for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
            EXPECT_NE(palette.color(QPalette::Disabled, role), palette.color(QPalette::Active, role))
                << id << " role " << role;
        form.setPalette(palette);
        const QImage shot = form.grab().toImage();
        const QColor live = TextColour(shot, QRect(0, 0, 60, 24));
        const QColor dead = TextColour(shot, QRect(0, 30, 60, 24));
        EXPECT_NE(live, dead) << id;
        EXPECT_GE(Looks::ContrastRatio(live, palette.color(QPalette::Window)), 4.5) << id;
        EXPECT_GE(Looks::ContrastRatio(palette.color(QPalette::HighlightedText), palette.color(QPalette::Highlight)),
                  4.5)
            << id;
        // Register window titles: white text on the title's colour.
        EXPECT_GE(Looks::ContrastRatio(Qt::white, QApplication::palette("QMdiSubWindow").color(QPalette::Highlight)),
                  4.5)
            << id;
    }
    Looks::Install(Looks::kDefaultLook);
}

TEST(DrawnWindowsTest, SelectedPeripheralAndTaggedOutputRowsAreReadableInEveryLook)
{
    AppRig rig(LinkIni(QStringLiteral("EXPAND_TYPE=1\n[VX21A]\nWND_0=1\nGPIO=1\n")));
    ASSERT_TRUE(rig.Start());
    PeripheralList &list = rig.Peripherals();
    IpCheckWindow *check = CheckWindow(rig);
    ASSERT_NE(check, nullptr);
    LogList *output = check->OutputList();
    output->AppendOutputLines({"[Suggestion] keep it", "[WARN] look here", "[ERROR] wrong", "plain"});
    check->ProgressLabel()->setText("LPSYS_RCC");
    for (int id : AllLooks()) {
        rig.Frame().SetLook(id);
        rig.Frame().Pane().Tabs().setCurrentIndex(0);
        QApplication::processEvents();
        // The double-click that puts a peripheral into window 0 selects it.
        QTreeWidgetItem *row = list.FindRow("UART0");
        list.scrollToItem(row);
        const QRect cell = list.visualItemRect(row);
        const QPoint at(list.columnViewportPosition(1) + 10, cell.center().y());
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
        ASSERT_EQ(rig.ReadInt("VX21A", "UART0"), 1);
        ASSERT_TRUE(row->isSelected()) << id;
        QImage shot = list.viewport()->grab().toImage();
        rig.Frame().grab().save(QDir(BinDir()).filePath(QStringLiteral("corvane-look-%1-panel.png").arg(id)));
        const QRect name(cell.left() + 22, cell.top() + 1, list.columnWidth(0) - 24, cell.height() - 2);
        const QColor background = Background(shot, name);
        EXPECT_GE(Looks::ContrastRatio(TextColour(shot, name), background), 3.0) << "look " << id;
        const QRect mark(list.columnViewportPosition(1) + 2, cell.top() + 1, list.columnWidth(1) - 4,
                         cell.height() - 2);
        EXPECT_GE(Looks::ContrastRatio(TextColour(shot, mark), Background(shot, mark)), 3.0) << "look " << id;
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at); // out of window 0 again
        ASSERT_EQ(rig.ReadInt("VX21A", "UART0", 0), 0);

        rig.Frame().Pane().Tabs().setCurrentIndex(1);
        QApplication::processEvents();
        output->clearSelection();
        // The whole frame in this look, kept for a person to look at.
        rig.Frame().grab().save(QDir(BinDir()).filePath(QStringLiteral("corvane-look-%1.png").arg(id)));
        shot = output->viewport()->grab().toImage();
        for (int i = 0; i < 3; ++i) {
            const QRect rect = output->visualRect(output->model()->index(i, 0)).adjusted(2, 1, -2, -1);
            const QRect band = rect.intersected(shot.rect());
            EXPECT_GE(Looks::ContrastRatio(TextColour(shot, band), Background(shot, band)), 3.0)
                << "look " << id << " row " << i;
        }
    }
}

TEST(DrawnWindowsTest, LastOutputRowIsInsideTheViewAfterEveryBatch)
{
    AppRig rig(LinkIni(QString()));
    ASSERT_TRUE(rig.Start());
    IpCheckWindow *check = CheckWindow(rig);
    ASSERT_NE(check, nullptr);
    LogList *output = check->OutputList();
    ASSERT_TRUE(output->isVisible());
    for (int batch = 0; batch < 12; ++batch) {
        QStringList rows;
        for (int i = 0; i < 7; ++i)
            rows << QStringLiteral("line %1.%2").arg(batch).arg(i);
        rows << QStringLiteral("[ERROR] batch %1 ends").arg(batch);
        check->AppendOutputLines(rows); // as the worker does
        QTRY_COMPARE(output->RowCount(), (batch + 1) * 8);
        QApplication::processEvents();
        const QRect last = output->visualRect(output->model()->index(output->RowCount() - 1, 0));
        EXPECT_TRUE(output->viewport()->rect().contains(QRect(0, last.top(), 1, last.height())))
            << "batch " << batch << ": last row at " << last.top() << ", view " << output->viewport()->height();
    }
}

TEST(DrawnWindowsTest, ProgressLabelDrawsUnderscores)
{
    AppRig rig(LinkIni(QString()));
    ASSERT_TRUE(rig.Start());
    IpCheckWindow *check = CheckWindow(rig);
    ASSERT_NE(check, nullptr);
    QLabel *label = check->ProgressLabel();
    EXPECT_GE(label->contentsRect().height(), label->fontMetrics().height());
    label->setText(QStringLiteral("LPSYS_RCC"));
    const QImage underscore = label->grab().toImage();
    label->setText(QStringLiteral("LPSYS RCC"));
    const QImage space = label->grab().toImage();
    EXPECT_NE(underscore, space) << "the underscore is not drawn";
}

TEST(DrawnWindowsTest, IpListStartsAtItsTopAfterAChipChange)
{
    AppRig rig(LinkIni(QStringLiteral("CHECKIP_PATH=%1\n").arg(QStringLiteral(CORVANE_SOURCE_DIR "/analyzer"))));
    ASSERT_TRUE(rig.Start());
    IpCheckWindow *check = CheckWindow(rig);
    ASSERT_NE(check, nullptr);
    EditableListCtrl *ips = check->IpList();
    ASSERT_GT(ips->rowCount(), 20);
    ips->scrollToBottom();
    QApplication::processEvents();
    ASSERT_GT(ips->verticalScrollBar()->value(), 0);
    rig.Pick(1001, 1); // VX21B
    QApplication::processEvents();
    ASSERT_GT(ips->rowCount(), 20);
    EXPECT_EQ(ips->verticalScrollBar()->value(), 0);
}

TEST(DrawnWindowsTest, UnknownIpRowsAreGreyInEveryLook)
{
    AppRig rig(LinkIni(QStringLiteral("CHECKIP_PATH=%1\n").arg(QStringLiteral(CORVANE_SOURCE_DIR "/analyzer"))));
    ASSERT_TRUE(rig.Start());
    IpCheckWindow *check = CheckWindow(rig);
    ASSERT_NE(check, nullptr);
    EditableListCtrl *ips = check->IpList();
    int known = -1;
    int unknown = -1;
    for (int row = 0; row < ips->rowCount(); ++row)
        (ips->IsRowEnabled(row) ? known : unknown) = row;
    ASSERT_GE(known, 0);
    ASSERT_GE(unknown, 0);
    for (int id : AllLooks()) {
        rig.Frame().SetLook(id);
        QApplication::processEvents();
        const QPalette palette = ips->palette();
        const QColor grey = ips->item(unknown, 1)->foreground().color();
        EXPECT_EQ(grey, palette.color(QPalette::Disabled, QPalette::Text)) << id;
        EXPECT_NE(grey, palette.color(QPalette::Active, QPalette::Text)) << id;
        // Drawn: the grey row's text against the known row's blue and the
        // look's text colour.
        ips->scrollToItem(ips->item(unknown, 1));
        const QImage shot = ips->viewport()->grab().toImage();
        const QRect cell = ips->visualItemRect(ips->item(unknown, 1)).adjusted(2, 1, -2, -1);
        const QColor drawn = TextColour(shot, cell.intersected(shot.rect()));
        EXPECT_NE(drawn, palette.color(QPalette::Active, QPalette::Text)) << id;
        EXPECT_GE(Looks::ContrastRatio(drawn, palette.color(QPalette::Base)), 1.5) << id << " grey row invisible";
    }
}

TEST(DrawnWindowsTest, CheckWindowMessagesGoThroughTheApplication)
{
    AppRig rig(LinkIni(QString()));
    ASSERT_TRUE(rig.Start());
    IpCheckWindow *check = CheckWindow(rig);
    ASSERT_NE(check, nullptr);
    QTest::mouseClick(check->SaveButton(), Qt::LeftButton);
    EXPECT_EQ(rig.messages, QStringList{"无有效数据 !!!"});
    // With rows, the file question is the application's too.
    check->OutputList()->AppendOutputLines({"[WARN] a"});
    rig.chosenFile = rig.Path("out.log");
    QTest::mouseClick(check->SaveButton(), Qt::LeftButton);
    QFile saved(rig.chosenFile);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), "[WARN] a\r\n");
}

TEST(DrawnWindowsTest, IconAndToolBarButtonTexts)
{
    AppRig rig(LinkIni(QString()));
    ASSERT_TRUE(rig.Start());
    const QImage icon = rig.Frame().windowIcon().pixmap(32, 32).toImage();
    ASSERT_FALSE(icon.isNull());
    QSet<QRgb> colours;
    for (int y = 0; y < icon.height(); ++y)
        for (int x = 0; x < icon.width(); ++x)
            colours.insert(icon.pixel(x, y));
    EXPECT_GE(colours.size(), 4);
    QToolBar *toolBar = rig.Frame().findChild<QToolBar *>();
    toolBar->show();
    QApplication::processEvents();
    QStringList texts;
    for (QToolButton *button : toolBar->findChildren<QToolButton *>())
        if (button->defaultAction() != nullptr)
            texts << button->text();
    EXPECT_EQ(texts, (QStringList{"新建", "打开", "保存", "剪切", "复制", "粘贴", "打印", "关于 Corvane"}));
    // "新建" is live, "打开" is not: they must not look alike.
    QToolButton *live = nullptr;
    QToolButton *dead = nullptr;
    for (QToolButton *button : toolBar->findChildren<QToolButton *>()) {
        if (button->text() == "新建")
            live = button;
        if (button->text() == "打开")
            dead = button;
    }
    ASSERT_TRUE(live && dead);
    ASSERT_TRUE(live->isEnabled());
    ASSERT_FALSE(dead->isEnabled());
    const QImage shot = toolBar->grab().toImage();
    EXPECT_NE(TextColour(shot, live->geometry().adjusted(2, 2, -2, -2)),
              TextColour(shot, dead->geometry().adjusted(2, 2, -2, -2)));
}

TEST(DrawnWindowsTest, AltKeysOpenTheHiddenMenuBarsMenus)
{
    AppRig rig(LinkIni(QString()));
    ASSERT_TRUE(rig.Start());
    rig.Frame().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&rig.Frame()));
    QTest::keyClick(&rig.Frame(), Qt::Key_V, Qt::AltModifier);
    QMenu *shown = nullptr;
    QTRY_VERIFY((shown = qobject_cast<QMenu *>(QApplication::activePopupWidget())) != nullptr);
    EXPECT_EQ(shown->title(), "视图(&V)");
    QStringList entries;
    for (QAction *action : shown->actions())
        entries << action->text();
    EXPECT_TRUE(entries.contains("应用程序外观(&A)")) << entries.join('|').toStdString();
    shown->close();
}

// The comparison of drawn colours every drawn test uses: text drawn in a pen
// colour passes however thin the font draws it (a grey "--" whose strongest
// pixel stops at 0x89 for a pen of 0x80), and another colour does not.
TEST(DrawnWindowsTest, DrawnColoursAllowForAntialiasedGlyphsAndNothingElse)
{
    // A white band with a short stroke: its core, and its fringe halfway.
    auto band = [](const QColor &core, const QColor &fringe) {
        QImage image(40, 12, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int x = 10; x < 20; ++x) {
            image.setPixelColor(x, 6, core);
            image.setPixelColor(x, 5, fringe);
        }
        return image;
    };
    const QColor grey(0x80, 0x80, 0x80);
    const QRect all(0, 0, 40, 12);
    struct Case
    {
        QColor core, fringe;
        bool drawnGrey;
    };
    const Case cases[] = {
        {QColor(0x89, 0x89, 0x89), QColor(0xC0, 0xC0, 0xC0), true},  // fonts-noto-mono's "--"
        {grey, QColor(0xD0, 0xD0, 0xD0), true},                      // a font that reaches the pen
        {Qt::black, QColor(0x80, 0x80, 0x80), false},                // black text is no grey text
        {QColor(0xE0, 0xE0, 0xE0), QColor(0xF0, 0xF0, 0xF0), false}, // too faint to be the pen
        {QColor(0x80, 0x40, 0x40), QColor(0xC0, 0xA0, 0xA0), false}, // another hue
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.core.name().toStdString());
        EXPECT_EQ(bool(DrawnIn(band(c.core, c.fringe), all, grey)), c.drawnGrey);
    }
    EXPECT_FALSE(DrawnIn(band(Qt::white, Qt::white), all, grey)) << "nothing drawn";
}

// A register window as a person follows a chip with it: the watch switched
// on in the tool row over the simulated chip, changed rows drawn highlighted
// and fading, the find box and "changes only" hiding rows from the view, a
// comparison drawing the other value beside the row, export parsed back, and
// rows plotted from their context menu. Screenshots of every look are kept.

#include "AppRig.h"
#include "DrawnPixels.h"
#include "support/TestFiles.h"

#include "SimulatedChip.h"
#include "GridRows.h"
#include "app/ControlPaneDock.h"
#include "app/Looks.h"
#include "app/RegisterWindowTools.h"
#include "app/ValuePlotPane.h"
#include "widgets/PropertyGrid.h"

#include <QAction>
#include <QChartView>
#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QLineSeries>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>

#include <map>
#include "support/QtTestChecks.h"

namespace {

constexpr uint32_t kGpioData = 0x40002000; // counts up at every read
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

int PixelsNear(const QImage &image, const QRect &band, const QColor &colour)
{
    int count = 0;
    for (int y = band.top(); y <= band.bottom(); ++y)
        for (int x = band.left(); x <= band.right(); ++x) {
            const QColor seen = QColor::fromRgb(image.pixel(x, y));
            count += std::abs(seen.red() - colour.red()) + std::abs(seen.green() - colour.green()) +
                         std::abs(seen.blue() - colour.blue()) <
                     60;
        }
    return count;
}

// The first texts of the rows drawn inside the grid's viewport, top to bottom.
QStringList DrawnRows(GridView grid)
{
    QStringList rows;
    GridItem last = nullptr;
    for (int y = 1; y < grid->viewport()->height(); ++y) {
        GridItem item = grid->itemAt(4, y);
        if (item && item != last)
            rows << item->text(0).section(u' ', 0, 0);
        last = item;
    }
    return rows;
}

uint64_t IdOf(GridItem item)
{
    return item->data(0, Qt::UserRole).toULongLong();
}

struct LiveRig
{
    explicit LiveRig(bool online = true)
        : chip("VX21A")
    {
        started = chip.Start();
        chip.PokeWord(kUartCr, 0x21);
        chip.AddFreeRunningCounter(kGpioData);
        QString ini = StandardIni(QStringLiteral("UART_PORT=%1\nUART_BAUND=6\nEXPAND_TYPE=2\nHEX_DEC=1\nREG_WR=1\n"
                                                 "[VX21A]\nWND_0=1\nUART0=1\nGPIO=1\n")
                                      .arg(chip.PortPath()));
        if (online)
            ini.replace("DATA_TYPE=0", "DATA_TYPE=2");
        rig.Prepare(ini);
    }
    bool Start()
    {
        if (!started || !rig.Start())
            return false;
        window = rig.app->RegisterWindow(0);
        grid = window->Grid()->Tree();
        rig.app->ChildFrame(0)->resize(700, 560);
        QApplication::processEvents();
        return window != nullptr;
    }
    template<typename T> T *Tool(const char *name) const { return window->findChild<T *>(QString::fromLatin1(name)); }
    void Click(const char *name) { QTest::mouseClick(Tool<QWidget>(name), Qt::LeftButton); }
    // Opens the tool row's or a row's menu and picks the entry with this text.
    void PutSavedData(const QString &name, const QByteArray &bytes)
    {
        QDir(rig.dir.path()).mkpath(QStringLiteral("data/VX21A"));
        rig.WriteFile(QStringLiteral("data/VX21A/%1.bin").arg(name), bytes);
    }
    void PickFromMenus(const QString &entry)
    {
        window->menuExec = [entry](QMenu &menu, const QPoint &) -> QAction * {
            for (QAction *action : menu.actions())
                if (action->text() == entry)
                    return action;
            return nullptr;
        };
    }
    PropertyGrid::RowMarks Marks(const QStringList &path) const
    {
        return window->Grid()->Marks(IdOf(RowByFirstWord(grid, path)));
    }
    void RightClick(GridItem item)
    {
        grid->scrollToItem(item);
        ::RightClick(grid->viewport(), grid->visualItemRect(item).center());
    }

    SimulatedChip chip;
    bool started = false;
    AppRig rig{QString()};
    RegisterWindowView *window = nullptr;
    GridView grid;
};

} // namespace

TEST(RegisterWindowLiveTest, WatchHighlightsTheChangingRowsAndAChangeFadesAfterAFewRefreshes)
{
    LiveRig live;
    ASSERT_TRUE(live.Start());
    ASSERT_EQ(live.Tool<QComboBox>("rate")->count(), 5);
    live.Tool<QComboBox>("rate")->setCurrentIndex(4); // 20 per second
    live.Click("watch");
    ASSERT_TRUE(live.Tool<QCheckBox>("watch")->isChecked());
    GridItem data = RowByFirstWord(live.grid, {"GPIO", "DATA"});
    QTRY_VERIFY_WITH_TIMEOUT(live.Marks({"GPIO", "DATA"}).bold, 10000);
    // The counter moves at every refresh: its row stays at full strength.
    const QPalette palette = live.grid->palette();
    QTRY_COMPARE_WITH_TIMEOUT(live.Marks({"GPIO", "DATA"}).background,
                              RegisterWindowTools::ChangedBackground(palette, 1.0), 10000);
    EXPECT_TRUE(data->font(0).bold());
    EXPECT_EQ(live.Marks({"UART0", "CR"}), PropertyGrid::RowMarks()) << "nothing changed there";
    EXPECT_TRUE(live.rig.messages.isEmpty()) << live.rig.messages.join('|').toStdString();

    // The drawn row: the highlight behind readable text, in every look.
    for (int id : AllLooks()) {
        live.rig.Frame().SetLook(id);
        QApplication::processEvents();
        const QImage shot = live.grid->viewport()->grab().toImage();
        live.grid->clearSelection();
        const QRect rect = live.grid->visualItemRect(data).adjusted(2, 1, -2, -1);
        const QColor background = Background(shot, rect);
        EXPECT_EQ(background, RegisterWindowTools::ChangedBackground(live.grid->palette(), 1.0)) << "look " << id;
        EXPECT_NE(background, live.grid->palette().color(QPalette::Base)) << "look " << id;
        EXPECT_GE(Looks::ContrastRatio(TextColour(shot, rect), background), 3.0) << "look " << id;
    }

    // A register that changes once is marked, then fades back.
    live.chip.PokeWord(kUartCr, 0x35);
    QTRY_VERIFY_WITH_TIMEOUT(live.Marks({"UART0", "CR"}).bold, 5000);
    EXPECT_TRUE(live.Marks({"UART0", "CR", "MODE"}).bold) << "the field that changed";
    EXPECT_FALSE(live.Marks({"UART0", "CR", "EN"}).bold) << "EN stayed 1";
    QTRY_COMPARE_WITH_TIMEOUT(live.Marks({"UART0", "CR"}), PropertyGrid::RowMarks(), 5000);
    EXPECT_TRUE(RowByFirstWord(live.grid, {"UART0", "CR"})->text(1).endsWith("0x00000035"));
    EXPECT_TRUE(live.Marks({"GPIO", "DATA"}).bold);

    // "Changes only": the rows that changed and the way to them.
    live.Click("changesOnly");
    EXPECT_EQ(DrawnRows(live.grid), QStringList({"GPIO", "DATA", "VALUE~", "PINS"}));
    live.Click("changesOnly");
    live.Click("watch");
    EXPECT_FALSE(live.Tool<QCheckBox>("watch")->isChecked());
    EXPECT_TRUE(live.rig.messages.isEmpty()) << live.rig.messages.join('|').toStdString();
}

TEST(RegisterWindowLiveTest, AReadFromTheMenuRunsBetweenRefreshesAndAFaultStopsTheWatchWithOneMessage)
{
    LiveRig live;
    ASSERT_TRUE(live.Start());
    live.Tool<QComboBox>("rate")->setCurrentIndex(4);
    live.Click("watch");
    QTRY_VERIFY_WITH_TIMEOUT(live.Marks({"GPIO", "DATA"}).bold, 10000);
    // The user reads UART0 from its menu while the watch runs.
    live.chip.PokeWord(kUartCr + 4, 0x80000000);
    live.PickFromMenus(QString::fromUtf8("寄存器读取"));
    live.RightClick(RowByFirstWord(live.grid, {"UART0"}));
    ASSERT_TRUE(live.rig.WaitForActions());
    EXPECT_TRUE(RowByFirstWord(live.grid, {"UART0", "SR"})->text(1).endsWith("0x80000000"));
    EXPECT_TRUE(live.rig.messages.isEmpty()) << live.rig.messages.join('|').toStdString();
    EXPECT_TRUE(live.Tool<QCheckBox>("watch")->isChecked());

    live.chip.InjectWrongStatus(0x15, 1000);
    QTRY_VERIFY_WITH_TIMEOUT(!live.Tool<QCheckBox>("watch")->isChecked(), 10000);
    QTest::qWait(300);
    ASSERT_EQ(live.rig.messages.size(), 1) << live.rig.messages.join('|').toStdString();
    EXPECT_TRUE(live.rig.messages[0].endsWith(" error !\n")) << live.rig.messages[0].toStdString();
    live.chip.ClearFaults();
}

// Nothing stale looks live: a refresh that failed greys the values it could
// not read, as a failed read from the menu does, and the change marks of a
// watch that stopped fade instead of staying.
TEST(RegisterWindowLiveTest, AFailedRefreshGreysTheValuesAndMarksFadeOnceTheWatchStops)
{
    LiveRig live;
    ASSERT_TRUE(live.Start());
    live.Tool<QComboBox>("rate")->setCurrentIndex(4);
    auto grey = [&](const QStringList &path) {
        const QVariant colour = RowByFirstWord(live.grid, path).data(1, Qt::ForegroundRole);
        return colour.isValid() && colour.value<QBrush>().color() == QColor(128, 128, 128);
    };
    auto tip = [&](const QStringList &path) {
        return RowByFirstWord(live.grid, path).data(1, Qt::ToolTipRole).toString();
    };

    // The person stops the watch: the marks fade within about a second.
    live.Click("watch");
    QTRY_VERIFY_WITH_TIMEOUT(live.Marks({"GPIO", "DATA"}).bold, 10000);
    live.Click("watch");
    ASSERT_FALSE(live.Tool<QCheckBox>("watch")->isChecked());
    EXPECT_TRUE(live.Marks({"GPIO", "DATA"}).bold) << "fading, not gone at once";
    QTRY_COMPARE_WITH_TIMEOUT(live.Marks({"GPIO", "DATA"}), PropertyGrid::RowMarks(), 3000);
    EXPECT_FALSE(grey({"GPIO", "DATA"})) << "a watch stopped by the person read everything it showed";

    // A refresh fails: the watch stops with its message; every value it
    // watched turns grey and says why; the marks fade too.
    live.Click("watch");
    QTRY_VERIFY_WITH_TIMEOUT(live.Marks({"GPIO", "DATA"}).bold, 10000);
    for (const QStringList &path : {QStringList{"GPIO", "DATA"}, QStringList{"UART0", "CR"}})
        EXPECT_FALSE(grey(path)) << path.join('.').toStdString();
    live.chip.InjectWrongStatus(0x15, 1000);
    QTRY_VERIFY_WITH_TIMEOUT(!live.Tool<QCheckBox>("watch")->isChecked(), 10000);
    ASSERT_EQ(live.rig.messages.size(), 1);
    for (const QStringList &path : {QStringList{"GPIO", "DATA"}, QStringList{"GPIO", "DATA", "VALUE~"},
                                    QStringList{"UART0", "CR"}, QStringList{"UART0", "CR", "MODE"}}) {
        EXPECT_TRUE(grey(path)) << path.join('.').toStdString();
        EXPECT_TRUE(tip(path).contains(QString::fromUtf8("读取失败"))) << tip(path).toStdString();
    }
    // Drawn grey, as a value kept after a failed read.
    GridItem data = RowByFirstWord(live.grid, {"GPIO", "DATA"});
    live.grid->clearSelection();
    QTRY_COMPARE_WITH_TIMEOUT(live.Marks({"GPIO", "DATA"}), PropertyGrid::RowMarks(), 3000);
    const QImage shot = live.grid->viewport()->grab().toImage();
    const QRect value = live.grid->visualRect(data.Index(1)).adjusted(2, 1, -2, -1);
    EXPECT_TRUE(DrawnIn(shot, value, QColor(128, 128, 128)));
    live.chip.ClearFaults();

    // The next refresh that succeeds makes them live again.
    live.rig.messages.clear();
    live.Click("watch");
    QTRY_VERIFY_WITH_TIMEOUT(!grey({"GPIO", "DATA"}), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!grey({"UART0", "CR"}), 10000);
    live.Click("watch");
    EXPECT_TRUE(live.rig.messages.isEmpty()) << live.rig.messages.join('|').toStdString();
}

TEST(RegisterWindowLiveTest, FindBoxHidesOtherRowsCtrlFFocusesItAndEscapeClearsIt)
{
    LiveRig live(false);
    ASSERT_TRUE(live.Start());
    live.rig.Frame().activateWindow();
    live.grid->setFocus();
    QApplication::processEvents();
    auto *find = live.Tool<QLineEdit>("find");
    const QStringList all = DrawnRows(live.grid);
    ASSERT_EQ(all.size(), 8 + 4);
    QTest::keyClick(live.grid, Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(find->hasFocus());
    struct Case
    {
        const char *text;
        QStringList drawn;
    };
    const QList<Case> cases{
        {"busy", {"UART0", "SR", "BUSY"}},                // a field's name, any case
        {"Pin data", {"GPIO", "DATA", "VALUE~", "PINS"}}, // a register's description: all it holds
        {"gpio", {"GPIO", "DATA", "VALUE~", "PINS"}},     // a peripheral's name
        {"nothing like it", {}},
    };
    for (const Case &c : cases) {
        find->clear();
        QTest::keyClicks(find, QString::fromUtf8(c.text));
        EXPECT_EQ(DrawnRows(live.grid), c.drawn) << c.text;
    }
    QTest::keyClick(find, Qt::Key_Escape);
    EXPECT_TRUE(find->text().isEmpty());
    EXPECT_EQ(DrawnRows(live.grid), all);
}

TEST(RegisterWindowLiveTest, ComparisonWithSavedDataDrawsTheSavedValueBesideTheRow)
{
    LiveRig live(false);
    ASSERT_TRUE(live.Start());
    // Saved after the window opened: the window still shows its rows unread.
    live.PutSavedData("UART0", QByteArray::fromHex("05000000"
                                                   "00000000"));
    live.PickFromMenus(QString::fromUtf8("与保存的数据比较"));
    live.Click("compare");
    const PropertyGrid::RowMarks cr = live.Marks({"UART0", "CR"});
    EXPECT_EQ(cr.note, QString::fromUtf8("≠ 0x00000005"));
    EXPECT_EQ(live.Marks({"UART0", "CR", "EN"}).note, QString::fromUtf8("≠ 0x1"));
    EXPECT_EQ(live.Marks({"UART0", "CR", "MODE"}), PropertyGrid::RowMarks()) << "MODE is 0 on both sides";
    EXPECT_EQ(live.Marks({"UART0", "SR"}), PropertyGrid::RowMarks());
    EXPECT_EQ(live.Marks({"GPIO", "DATA"}), PropertyGrid::RowMarks()) << "no saved data for GPIO";

    for (int id : AllLooks()) {
        live.rig.Frame().SetLook(id);
        live.grid->clearSelection();
        QApplication::processEvents();
        const QImage shot = live.grid->viewport()->grab().toImage();
        GridItem row = RowByFirstWord(live.grid, {"UART0", "CR"});
        const QRect rect = live.grid->visualItemRect(row).adjusted(2, 1, -2, -1);
        const QColor background = Background(shot, rect);
        EXPECT_EQ(background, RegisterWindowTools::ComparedBackground(live.grid->palette())) << "look " << id;
        // The saved value at the row's right end, in its own colour, readable.
        const QRect right(rect.right() - 140, rect.top(), 140, rect.height());
        EXPECT_GT(PixelsNear(shot, right, RegisterWindowTools::OtherValueColour()), 20) << "look " << id;
        EXPECT_GE(Looks::ContrastRatio(RegisterWindowTools::OtherValueColour(), background), 3.0) << "look " << id;
        EXPECT_GE(Looks::ContrastRatio(TextColour(shot, rect), background), 3.0) << "look " << id;
    }

    // Another window's values instead: window 1 shows UART0 still unread
    // (it opens while there is no saved data to show).
    QFile::remove(live.rig.Path("data/VX21A/UART0.bin"));
    QTest::mouseClick(live.rig.Box(1), Qt::LeftButton);
    ASSERT_NE(live.rig.app->RegisterWindow(1), nullptr);
    live.rig.app->RegisterWindow(1)->AddPeripheralRows("UART0");
    live.PickFromMenus(QString::fromUtf8("与 window_1 比较"));
    live.Click("compare");
    EXPECT_EQ(live.Marks({"UART0", "CR"}).note, QString()) << "both windows show zero";
    live.PutSavedData("UART0", QByteArray::fromHex("21000000"));
    live.PickFromMenus(QString::fromUtf8("导入数据"));
    live.RightClick(RowByFirstWord(live.grid, {"UART0"}));
    QTRY_COMPARE(live.Marks({"UART0", "CR"}).note, QString::fromUtf8("≠ 0x00000000"));
    EXPECT_EQ(live.Marks({"UART0", "CR", "MODE"}).note, QString::fromUtf8("≠ 0x0"));

    live.PickFromMenus(QString::fromUtf8("结束比较"));
    live.Click("compare");
    EXPECT_EQ(live.Marks({"UART0", "CR"}), PropertyGrid::RowMarks());

    // Snapshots of another folder (another board, another day), chosen by the
    // folder question; a cancelled question compares nothing.
    QTemporaryDir other;
    PutFile(other.filePath("UART0.bin"), QByteArray::fromHex("07000000"));
    live.rig.chosenFile.clear();
    live.PickFromMenus(QString::fromUtf8("与文件夹中的数据比较..."));
    live.Click("compare");
    EXPECT_EQ(live.Marks({"UART0", "CR"}), PropertyGrid::RowMarks());
    live.rig.chosenFile = other.path();
    live.PickFromMenus(QString::fromUtf8("与文件夹中的数据比较..."));
    live.Click("compare");
    EXPECT_EQ(live.Marks({"UART0", "CR"}).note, QString::fromUtf8("≠ 0x00000007"));
    EXPECT_EQ(live.Marks({"UART0", "CR", "MODE"}).note, QString::fromUtf8("≠ 0x0"));
    EXPECT_EQ(live.Marks({"GPIO", "DATA"}), PropertyGrid::RowMarks()) << "the folder holds no GPIO";
    // The folder's UART0 holds CR only: SR is not compared with invented zeros.
    EXPECT_EQ(live.Marks({"UART0", "SR"}).note, "not in file");
    EXPECT_FALSE(live.Marks({"UART0", "SR"}).background.isValid());
    live.PickFromMenus(QString::fromUtf8("结束比较"));
    live.Click("compare");

    // Without any saved data: one message, no comparison.
    live.rig.messages.clear();
    live.rig.app->RegisterWindow(1)->RemovePeripheralRows("UART0");
    QFile::remove(live.rig.Path("data/VX21A/UART0.bin"));
    live.PickFromMenus(QString::fromUtf8("与保存的数据比较"));
    live.Click("compare");
    EXPECT_EQ(live.rig.messages, QStringList{"No saved data to compare !\n"});
}

TEST(RegisterWindowLiveTest, ExportWritesWhatTheWindowShowsAsCsvAndJson)
{
    LiveRig live(false);
    live.PutSavedData("UART0", QByteArray::fromHex("21000000"
                                                   "00000080"));
    ASSERT_TRUE(live.Start());
    live.PickFromMenus(QString::fromUtf8("导入数据"));
    live.RightClick(RowByFirstWord(live.grid, {"UART0"}));
    ASSERT_TRUE(RowByFirstWord(live.grid, {"UART0", "CR"})->text(1).endsWith("0x00000021"));
    QTest::keyClicks(live.Tool<QLineEdit>("find"), "uart0");

    live.rig.chosenFile = live.rig.Path("rows.csv");
    live.PickFromMenus("CSV...");
    live.Click("export");
    QFile csv(live.rig.chosenFile);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + 2 + 2 + 1) << lines.join('|').toStdString(); // header, CR + 2 fields, SR + 1
    EXPECT_EQ(lines[1].split(',').mid(0, 4), QStringList({"UART0", "CR", "0x40001000", "0x00000021"}));
    EXPECT_EQ(lines[3].split(',').mid(4, 3), QStringList({"MODE", "[4-7]", "0x2"}));
    EXPECT_FALSE(lines.join('\n').contains("GPIO")) << "hidden by the find box";

    live.rig.chosenFile = live.rig.Path("rows.json");
    live.PickFromMenus("JSON...");
    live.Click("export");
    QFile json(live.rig.chosenFile);
    ASSERT_TRUE(json.open(QIODevice::ReadOnly));
    const QJsonArray records = QJsonDocument::fromJson(json.readAll()).array();
    ASSERT_EQ(records.size(), 5);
    EXPECT_EQ(records[3].toObject()["register"].toString(), "SR");
    EXPECT_EQ(records[3].toObject()["value"].toString(), "0x80000000");
    EXPECT_EQ(records[4].toObject()["field"].toString(), "BUSY");
    EXPECT_EQ(records[4].toObject()["fieldValue"].toString(), "0x1");
    EXPECT_TRUE(live.rig.messages.isEmpty()) << live.rig.messages.join('|').toStdString();
}

TEST(RegisterWindowLiveTest, PlotFromTheRowMenuDrawsLinesThatFollowTheWatchAndSaveAsCsv)
{
    LiveRig live;
    ASSERT_TRUE(live.Start());
    ValuePlotPane *plot = live.window->Plot();
    EXPECT_FALSE(plot->isVisible());
    live.PickFromMenus("绘图");
    live.RightClick(RowByFirstWord(live.grid, {"GPIO", "DATA"}));
    live.RightClick(RowByFirstWord(live.grid, {"UART0", "CR", "MODE"}));
    live.RightClick(RowByFirstWord(live.grid, {"UART0"})); // a peripheral offers no plot
    ASSERT_TRUE(plot->isVisible());
    ASSERT_EQ(plot->Series().AllSeries().size(), 2u);
    EXPECT_EQ(plot->Series().AllSeries()[0].name, "GPIO.DATA");
    EXPECT_EQ(plot->Series().AllSeries()[1].name, "UART0.CR.MODE");
    // Below the rows, inside the window, with room for both.
    const QRect drawn(plot->mapTo(live.window, QPoint()), plot->size());
    EXPECT_GE(drawn.height(), 140);
    EXPECT_LE(drawn.bottom(), live.window->height() + 2);
    EXPECT_GE(live.grid->viewport()->height(), 100);
    EXPECT_LT(live.grid->mapTo(live.window, QPoint()).y(), drawn.top());

    live.Tool<QComboBox>("rate")->setCurrentIndex(4);
    live.Click("watch");
    QTRY_VERIFY_WITH_TIMEOUT(plot->Series().AllSeries()[0].points.size() >= 6, 10000);
    const auto &counter = plot->Series().AllSeries()[0].points;
    EXPECT_GT(counter.back().value, counter.front().value);
    EXPECT_GT(counter.back().ms, counter.front().ms);
    // The chart draws one line per series, in the legend by name.
    QChartView *view = plot->ChartView();
    ASSERT_EQ(view->chart()->series().size(), 2);
    EXPECT_EQ(view->chart()->series()[0]->name(), "GPIO.DATA");
    QTRY_VERIFY_WITH_TIMEOUT(static_cast<QLineSeries *>(view->chart()->series()[0])->count() >= 6, 5000);
    const QImage shot = view->grab().toImage();
    const QColor line = static_cast<QLineSeries *>(view->chart()->series()[0])->color();
    EXPECT_GT(PixelsNear(shot, shot.rect(), line), 30) << "the counter's line is drawn";

    // Pause holds the lines still while the watch goes on.
    live.Click("pause");
    QApplication::processEvents();
    const std::size_t held = plot->Series().AllSeries()[0].points.size();
    QTest::qWait(400);
    EXPECT_EQ(plot->Series().AllSeries()[0].points.size(), held);
    live.Click("watch");

    live.rig.chosenFile = live.rig.Path("series.csv");
    live.Click("saveSeries");
    QFile csv(live.rig.chosenFile);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(csv.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 7);
    EXPECT_EQ(lines[0], "time s,wall clock,GPIO.DATA,UART0.CR.MODE");
    EXPECT_EQ(lines.size() - 1, qsizetype(held));
    EXPECT_TRUE(live.rig.messages.isEmpty()) << live.rig.messages.join('|').toStdString();

    live.Click("clearSeries");
    EXPECT_FALSE(plot->isVisible());
    EXPECT_FALSE(plot->findChild<QCheckBox *>("pause")->isChecked()) << "clearing ends the pause";
    EXPECT_FALSE(plot->Series().IsPaused());
}

TEST(RegisterWindowLiveTest, ScreenshotsOfAWatchedComparedAndPlottedWindowInEveryLook)
{
    LiveRig live;
    live.PutSavedData("UART0", QByteArray::fromHex("05000000"
                                                   "00000000"));
    ASSERT_TRUE(live.Start());
    live.rig.app->ChildFrame(0)->resize(760, 620);
    live.PickFromMenus("绘图");
    live.RightClick(RowByFirstWord(live.grid, {"GPIO", "DATA"}));
    live.RightClick(RowByFirstWord(live.grid, {"UART0", "CR", "MODE"}));
    live.PickFromMenus(QString::fromUtf8("与保存的数据比较"));
    live.Click("compare");
    live.Tool<QComboBox>("rate")->setCurrentIndex(3);
    live.Click("watch");
    QTRY_VERIFY_WITH_TIMEOUT(live.window->Plot()->Series().AllSeries()[0].points.size() >= 8, 10000);
    live.chip.PokeWord(kUartCr, 0x35);
    QTRY_VERIFY_WITH_TIMEOUT(RowByFirstWord(live.grid, {"UART0", "CR"})->text(1).endsWith("0x00000035"), 5000);
    live.Click("pause"); // the picture stays as it is in every look
    live.grid->clearSelection();
    for (int id : AllLooks()) {
        live.rig.Frame().SetLook(id);
        QApplication::processEvents();
        const QString path = QDir(BinDir()).filePath(QStringLiteral("corvane-live-%1.png").arg(id));
        EXPECT_TRUE(live.rig.app->ChildFrame(0)->grab().save(path)) << path.toStdString();
    }
    live.Click("watch");
}

TEST(RegisterWindowLiveTest, APeripheralPutIntoAWatchedWindowIsWatchedToo)
{
    LiveRig live;
    live.chip.PokeWord(0x40003000, 0x1); // ADC.CTRL
    ASSERT_TRUE(live.Start());
    live.Tool<QComboBox>("rate")->setCurrentIndex(4);
    live.Click("watch");
    QTRY_VERIFY_WITH_TIMEOUT(live.Marks({"GPIO", "DATA"}).bold, 10000);
    // The user double-clicks ADC's window 0 cell in the peripheral list.
    PeripheralList &list = live.rig.Peripherals();
    live.rig.Frame().Pane().Tabs().setCurrentIndex(0);
    QApplication::processEvents();
    QTreeWidgetItem *adc = list.FindRow("ADC");
    list.scrollToItem(adc);
    const QPoint at(list.columnViewportPosition(1) + 10, list.visualItemRect(adc).center().y());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, at);
    ASSERT_NE(RowByFirstWord(live.grid, {"ADC"}), nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(RowByFirstWord(live.grid, {"ADC", "CTRL"})->text(1).endsWith("0x00000001"), 10000);
    EXPECT_TRUE(live.Tool<QCheckBox>("watch")->isChecked());
    EXPECT_TRUE(live.rig.messages.isEmpty()) << live.rig.messages.join('|').toStdString();
    live.Click("watch");
}

// A narrow window (four side by side) takes its tool row on two or three
// lines rather than cutting a control; a wide one keeps one line. Nothing
// overlaps the rows.
TEST(RegisterWindowLiveTest, ToolRowKeepsEveryControlWholeInANarrowWindow)
{
    LiveRig live(false);
    ASSERT_TRUE(live.Start());
    const char *controls[] = {"watch", "rate", "find", "changesOnly", "compare", "export"};
    struct Case
    {
        int width;
        int lines;
    };
    for (const Case c : {Case{320, 2}, Case{900, 1}, Case{300, 2}, Case{210, 3}, Case{320, 2}}) {
        SCOPED_TRACE(c.width);
        live.rig.app->ChildFrame(0)->resize(c.width, 560);
        QApplication::processEvents();
        int lowest = 0;
        for (const char *name : controls) {
            QWidget *control = live.Tool<QWidget>(name);
            const QRect drawn(control->mapTo(live.window, QPoint()), control->size());
            EXPECT_TRUE(QRect(QPoint(), live.window->size()).contains(drawn)) << name;
            if (QByteArray(name) != "find") {
                EXPECT_GE(control->width(), control->sizeHint().width()) << name << " is cut";
            }
            EXPECT_GE(control->height(), control->sizeHint().height()) << name << " is cut";
            lowest = std::max(lowest, drawn.bottom());
        }
        if (c.lines < 3) {
            EXPECT_GE(live.Tool<QWidget>("find")->width(), 100);
        }
        const int watchY = live.Tool<QWidget>("watch")->y();
        const int changesY = live.Tool<QWidget>("changesOnly")->y();
        const int compareY = live.Tool<QWidget>("compare")->y();
        const int lines = 1 + (changesY > watchY) + (compareY > changesY);
        EXPECT_EQ(lines, c.lines);
        EXPECT_GT(live.grid->mapTo(live.window, QPoint()).y(), lowest) << "rows under the tools";
    }
}

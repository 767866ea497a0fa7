// The window in each language: the texts of the catalogues it shows, and
// View -> Language, which remembers a choice for the next start. The
// language never reaches what the program stores.
#include "AppRig.h"
#include "GridRows.h"

#include "app/AboutBox.h"
#include "app/MemoryWindow.h"
#include "app/ControlPaneDock.h"
#include "app/Looks.h"
#include "app/RegisterWindowTools.h"
#include "widgets/PropertyGrid.h"
#include "app/ValuePlotPane.h"
#include "ipcheck/ui/IpCheckWindow.h"
#include "link/Language.h"

#include <QAbstractItemView>
#include <QDockWidget>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStyleOptionComboBox>
#include <QTabWidget>

namespace {

struct Shown
{
    Language language;
    const char *menu;
    const char *offline;
    const char *nextStart;
};

const Shown kLanguages[] = {
    {Language::Source, "语言(&L)", "Please select online data type !\n",
     "The language chosen is used from the next start of Corvane."},
    {Language::English, "&Language", "Please select online data type !\n",
     "The language chosen is used from the next start of Corvane."},
    {Language::Chinese, "语言(&L)", "请选择在线数据类型 !\n", "所选语言将在 Corvane 下次启动时使用。"},
};

QSettings Profile()
{
    return QSettings(QString::fromUtf8(MainWindow::kCompany), QStringLiteral("Corvane"));
}

TEST(LanguageTest, TheWindowShowsTheLanguageInstalledAndRemembersAChoice)
{
    QByteArray firstIni;
    for (const Shown &shown : kLanguages) {
        SCOPED_TRACE(UiLanguage::Code(shown.language).toStdString());
        Profile().clear();
        ASSERT_TRUE(UiLanguage::Install(*QCoreApplication::instance(), shown.language));
        {
            AppRig rig;
            ASSERT_TRUE(rig.Start());

            // A panel read with the offline data source: the link layer's message.
            rig.Panel().findChild<QLineEdit *>("1021")->setText("20000000");
            rig.Panel().findChild<QLineEdit *>("1024")->setText("10");
            QTest::mouseClick(rig.Panel().findChild<QPushButton *>("1023"), Qt::LeftButton);
            rig.WaitForActions();
            EXPECT_EQ(rig.messages, QStringList{QString::fromUtf8(shown.offline)});
            rig.messages.clear();

            QMenu *menu = rig.Frame().findChild<QMenu *>("LanguageMenu");
            ASSERT_NE(menu, nullptr);
            EXPECT_EQ(menu->title(), QString::fromUtf8(shown.menu));
            QAction *english = menu->findChild<QAction *>("Language_en");
            QAction *chinese = menu->findChild<QAction *>("Language_zh");
            ASSERT_NE(english, nullptr);
            ASSERT_NE(chinese, nullptr);
            EXPECT_EQ(english->text(), "English");
            EXPECT_EQ(chinese->text(), "中文");
            EXPECT_EQ(english->isChecked(), shown.language == Language::English);
            EXPECT_EQ(chinese->isChecked(), shown.language == Language::Chinese);

            // The choice is remembered in the profile, for the next start.
            for (QAction *choice : {chinese, english}) {
                choice->trigger();
                EXPECT_EQ(rig.messages, QStringList{QString::fromUtf8(shown.nextStart)});
                rig.messages.clear();
                EXPECT_EQ(UiLanguage::Remembered(Profile()), choice == chinese ? Language::Chinese : Language::English);
            }
            EXPECT_EQ(UiLanguage::Installed(), shown.language) << "the language changes at the next start";
            rig.Quit();
            const QByteArray ini = [&rig] {
                QFile file(rig.Path("Corvane.ini"));
                return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            }();
            EXPECT_FALSE(ini.isEmpty());
            if (shown.language == Language::Source)
                firstIni = ini;
            else
                EXPECT_EQ(ini, firstIni) << "Corvane.ini as the program leaves it";
        }
    }
    UiLanguage::Install(*QCoreApplication::instance(), Language::Source);
}

// Every text the windows show of their own (captions, list entries, menus,
// column headers, tab and pane titles, hints), as shown, with where it is.
struct ShownText
{
    QString where;
    QString text;
};

QList<ShownText> OwnTexts(QWidget &top)
{
    QList<ShownText> texts;
    auto add = [&texts](const QObject *owner, const QString &text) {
        if (!text.isEmpty())
            texts.append({owner->metaObject()->className() + QStringLiteral(" ") + owner->objectName(), text});
    };
    for (QAbstractButton *button : top.findChildren<QAbstractButton *>())
        add(button, button->text());
    for (QLabel *label : top.findChildren<QLabel *>())
        add(label, label->text());
    for (QComboBox *list : top.findChildren<QComboBox *>())
        if (list->objectName() != "1001") // the chips' names
            for (int i = 0; i < list->count(); ++i)
                add(list, list->itemText(i));
    for (QLineEdit *field : top.findChildren<QLineEdit *>())
        add(field, field->placeholderText());
    for (QMenu *menu : top.findChildren<QMenu *>()) {
        add(menu, menu->title());
        for (QAction *action : menu->actions())
            add(action, action->text());
    }
    for (QTabWidget *tabs : top.findChildren<QTabWidget *>())
        for (int i = 0; i < tabs->count(); ++i)
            add(tabs, tabs->tabText(i));
    for (QDockWidget *dock : top.findChildren<QDockWidget *>())
        add(dock, dock->windowTitle());
    for (QHeaderView *header : top.findChildren<QHeaderView *>())
        if (header->orientation() == Qt::Horizontal && header->model() != nullptr)
            for (int i = 0; i < header->count(); ++i)
                add(header, header->model()->headerData(i, Qt::Horizontal).toString());
    return texts;
}

// Names, units and numbers: the same in every language.
bool IsName(const QString &text)
{
    static const QRegularExpression names(QStringLiteral(
        "^(halt [HL]CPU|DEC|HEX|WND\\d|English|中文|Windows (2000|XP)\\(&.\\)|Office (XP|2003|2007)\\(&.\\)|"
        "Visual Studio 200&[58]|update|CSV\\.\\.\\.|JSON\\.\\.\\.|s|Corvane v.*|xxxxxxxx: 0 "
        ".*|window_\\d|VX21A|UART0)$"));
    static const QRegularExpression hex(QStringLiteral("0x[0-9A-Fa-f]+"));
    return names.match(text).hasMatch() ||
           !QString(text).remove(hex).contains(QRegularExpression(QStringLiteral("[A-Za-z]")));
}

const QRegularExpression kChinese(QStringLiteral("[\\x{3000}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));

// Every text in the language installed: no Chinese in English but the
// language menu's own "中文", and in Chinese nothing but names in Latin letters.
void ExpectLanguage(Language language, const QList<ShownText> &texts)
{
    for (const ShownText &shown : texts) {
        if (shown.text.isEmpty())
            continue;
        const bool chinese = shown.text.contains(kChinese);
        if (language == Language::English)
            EXPECT_TRUE(!chinese || shown.text == "中文")
                << shown.where.toStdString() << ": " << shown.text.toStdString();
        else
            EXPECT_TRUE(chinese || IsName(shown.text)) << shown.where.toStdString() << ": " << shown.text.toStdString();
    }
}

// A text is cut when it needs more room than its control gives it: a
// button's text between its borders, a check box's box and text, a label's
// one line, each entry of a list beside its arrow.
QStringList CutTexts(QWidget &top)
{
    QStringList cut;
    auto shown = [&top](QWidget *widget) { return widget->isVisibleTo(&top) && widget->width() > 0; };
    auto plain = [](QString text) { return text.remove(QRegularExpression(QStringLiteral("&(?!&)"))); };
    for (QAbstractButton *button : top.findChildren<QAbstractButton *>()) {
        if (!shown(button) || button->text().isEmpty() || qobject_cast<QPushButton *>(button) == nullptr)
            continue;
        const int needed = button->fontMetrics().horizontalAdvance(plain(button->text())) + 4;
        if (needed > button->contentsRect().width())
            cut << QStringLiteral("button %1 \"%2\": %3 > %4")
                       .arg(button->objectName(), button->text())
                       .arg(needed)
                       .arg(button->contentsRect().width());
    }
    for (QAbstractButton *box : top.findChildren<QAbstractButton *>())
        if (shown(box) && qobject_cast<QPushButton *>(box) == nullptr && !box->text().isEmpty() &&
            box->sizeHint().width() > box->width())
            cut << QStringLiteral("box %1 \"%2\": %3 > %4")
                       .arg(box->objectName(), box->text())
                       .arg(box->sizeHint().width())
                       .arg(box->width());
    for (QLabel *label : top.findChildren<QLabel *>()) {
        if (!shown(label) || label->wordWrap() || label->text().isEmpty() || label->textFormat() == Qt::RichText)
            continue;
        int needed = 0;
        for (const QString &line : label->text().split(u'\n'))
            needed = std::max(needed, label->fontMetrics().horizontalAdvance(line));
        if (needed > label->contentsRect().width())
            cut << QStringLiteral("label %1 \"%2\": %3 > %4")
                       .arg(label->objectName(), label->text())
                       .arg(needed)
                       .arg(label->contentsRect().width());
    }
    for (QComboBox *list : top.findChildren<QComboBox *>()) {
        if (!shown(list) || list->isEditable())
            continue;
        QStyleOptionComboBox option;
        option.initFrom(list);
        const int room =
            list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, list).width();
        for (int i = 0; i < list->count(); ++i) {
            const int needed = list->fontMetrics().horizontalAdvance(list->itemText(i));
            if (needed > room)
                cut << QStringLiteral("list %1 \"%2\": %3 > %4")
                           .arg(list->objectName(), list->itemText(i))
                           .arg(needed)
                           .arg(room);
        }
    }
    return cut;
}

struct Captions
{
    Language language;
    const char *memoryButton;
    const char *dataSource;
    const char *expand;
    const char *compare;
    const char *pause;
    const char *analyze;
    const char *addressColumn;
    const char *checkTab;
    const char *paneTitle;
    const char *about;
    QStringList peripheralMenu;
    QStringList memoryWindow; // its buttons and its watch box
};

const Captions kCaptions[] = {
    {Language::English,
     "Memory",
     "Source",
     "3 levels",
     "Compare",
     "Pause",
     "Analyze",
     "Address",
     "IP check",
     "Control Panel",
     "Corvane, version " CORVANE_VERSION,
     {"Import data", "Save data", "Register read", "Register write", "Copy address"},
     {"Find", "Save to file", "Load from file", "Watch"}},
    {Language::Chinese,
     "内存窗口",
     "数 据 源",
     "展开3级",
     "比较",
     "暂停",
     "IP分析",
     "地址",
     "寄存器检测界面",
     "控制面板",
     "Corvane，版本 " CORVANE_VERSION,
     {"导入数据", "保存数据", "寄存器读取", "寄存器写入", "复制地址"},
     {"查找", "保存到文件", "从文件载入", "监视"}},
};

bool Shows(const QList<ShownText> &texts, const char *caption)
{
    return std::any_of(texts.begin(), texts.end(),
                       [wanted = QString::fromUtf8(caption)](const ShownText &shown) { return shown.text == wanted; });
}

// The panel, a register window with its plot and menus, the IP check, the
// core window and the about box in English and in Chinese: their own texts
// all in the language (names aside), the catalogues' captions in place, and
// no text cut at the default frame size in any look. Lists chosen in either
// language leave the same Corvane.ini.
TEST(LanguageTest, EveryWindowSpeaksTheLanguageAndCutsNoTextInAnyLook)
{
    QByteArray firstIni;
    for (const Captions &language : kCaptions) {
        SCOPED_TRACE(UiLanguage::Code(language.language).toStdString());
        ASSERT_TRUE(UiLanguage::Install(*QCoreApplication::instance(), language.language));
        {
            // A link chosen and writes from the row menu: the row menu offers
            // every entry. Four register windows beside the pane in a frame of
            // the size it takes on a 1280 x 800 screen.
            AppRig rig(StandardIni(QStringLiteral("REG_WR=1\n[VX21A]\nWND_0=1\nWND_1=1\nWND_2=1\nWND_3=1\nUART0=15\n"))
                           .replace(QStringLiteral("DATA_TYPE=0"), QStringLiteral("DATA_TYPE=2")));
            ASSERT_TRUE(rig.Start());
            rig.Frame().resize(1024, 640);
            RegisterWindowView *window = rig.app->RegisterWindow(0);
            ASSERT_NE(window, nullptr);
            rig.Frame().findChild<QAction *>(QString::number(MainWindow::kCoreWindowCommand))->trigger();
            auto about = std::make_unique<AboutBox>(&rig.Frame());
            about->show();
            QTabWidget &tabs = rig.Frame().Pane().Tabs();
            tabs.setCurrentIndex(1); // the IP check fills its list's columns when first shown
            QApplication::processEvents();
            tabs.setCurrentIndex(0);

            // The menus a right click opens: a peripheral's row, the frame's.
            QList<ShownText> texts;
            QStringList rowMenu;
            window->menuExec = [&rowMenu, &texts](QMenu &menu, const QPoint &) -> QAction * {
                for (QAction *action : menu.actions()) {
                    rowMenu << action->text();
                    texts.append({QStringLiteral("row menu"), action->text()});
                }
                texts.append({QStringLiteral("row menu"), menu.title()});
                return nullptr;
            };
            rig.Frame().frameMenuExec = [&texts](QMenu &menu, const QPoint &) {
                for (QAction *action : menu.actions())
                    texts.append({QStringLiteral("frame menu"), action->text()});
            };
            GridView grid(window->Grid()->Tree());
            RightClick(grid->viewport(), grid->visualItemRect(grid->topLevelItem(0)).center());
            EXPECT_EQ(rowMenu, language.peripheralMenu);
            RightClick(&rig.Panel(), QPoint(10, 10));

            texts += OwnTexts(rig.Frame()) + OwnTexts(*about);
            ExpectLanguage(language.language, texts);
            for (const char *caption :
                 {language.memoryButton, language.dataSource, language.expand, language.compare, language.pause,
                  language.analyze, language.addressColumn, language.checkTab, language.paneTitle, language.about})
                EXPECT_TRUE(Shows(texts, caption)) << caption;

            const QList<int> looks = [] {
                QList<int> ids;
                for (const Looks::MenuEntry &entry : Looks::MainEntries())
                    ids << entry.id;
                for (const Looks::MenuEntry &entry : Looks::Office2007Entries())
                    ids << entry.id;
                return ids << Looks::kWindows7;
            }();
            auto noneCutInAnyLook = [&](const char *what) {
                for (int look : looks) {
                    rig.Frame().SetLook(look);
                    for (int tab = 0; tab < tabs.count(); ++tab) {
                        tabs.setCurrentIndex(tab);
                        QApplication::processEvents();
                        const QStringList cut = CutTexts(rig.Frame()) + CutTexts(*about);
                        EXPECT_TRUE(cut.isEmpty()) << what << ", look " << look << ", tab " << tab << ":\n"
                                                   << cut.join(u'\n').toStdString();
                    }
                }
            };
            noneCutInAnyLook("four register windows");
            // The plot beside the rows of the one register window left.
            for (int slot = 1; slot < 4; ++slot)
                rig.app->ChildFrame(slot)->close();
            rig.Settle();
            rig.Frame().TileRegisterWindows(); // as Window -> Tile does
            window->ShowPlot();
            QApplication::processEvents();
            EXPECT_GT(window->width(), 500);
            noneCutInAnyLook("a register window with its plot");

            // A memory window as the panel's button opens it, beside the register window.
            QTest::mouseClick(rig.Panel().findChild<QPushButton *>(QStringLiteral("1043")), Qt::LeftButton);
            ASSERT_EQ(rig.app->MemoryWindows().size(), 1);
            MemoryWindow *memory = rig.app->MemoryWindows().first();
            QApplication::processEvents();
            QList<ShownText> memoryTexts = OwnTexts(*memory);
            for (QAbstractButton *button : memory->findChildren<QAbstractButton *>())
                memoryTexts.append({QStringLiteral("tool tip"), button->toolTip()});
            ExpectLanguage(language.language, memoryTexts);
            for (const QString &caption : language.memoryWindow)
                EXPECT_TRUE(Shows(memoryTexts, caption.toUtf8().constData())) << caption.toStdString();
            noneCutInAnyLook("a memory window beside a register window");
            rig.Frame().SetLook(Looks::kDefaultLook);
            about.reset();

            // The lists store their entry's place, the same in every language.
            for (const auto &[list, entry] : {std::pair{1007, 2}, {1020, 1}, {1033, 1}, {1032, 1}})
                rig.Pick(list, entry);
            EXPECT_EQ(rig.ReadInt("COMMON", "DATA_TYPE"), 2);
            EXPECT_EQ(rig.ReadInt("COMMON", "EXPAND_TYPE"), 1);
            rig.Quit();
            QFile ini(rig.Path("Corvane.ini"));
            ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
            if (firstIni.isEmpty())
                firstIni = ini.readAll();
            else
                EXPECT_EQ(ini.readAll(), firstIni);
        }
    }
    UiLanguage::Install(*QCoreApplication::instance(), Language::Source);
}

// The command line first, then the profile, then the locale.
TEST(LanguageTest, ChoiceOrder)
{
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(UiLanguage::FromLocale(QLocale::c()), Language::Source);
    EXPECT_EQ(UiLanguage::FromLocale(chinese), Language::Chinese);
    EXPECT_EQ(UiLanguage::FromLocale(english), Language::English);
    EXPECT_EQ(UiLanguage::FromLocale(QLocale(QLocale::German, QLocale::Germany)), Language::English);

    EXPECT_EQ(UiLanguage::Choose(Language::English, Language::Chinese, chinese), Language::English);
    EXPECT_EQ(UiLanguage::Choose(std::nullopt, Language::Chinese, english), Language::Chinese);
    EXPECT_EQ(UiLanguage::Choose(std::nullopt, std::nullopt, chinese), Language::Chinese);
    EXPECT_EQ(UiLanguage::Choose(std::nullopt, std::nullopt, QLocale::c()), Language::Source);

    QString bad;
    EXPECT_EQ(UiLanguage::FromArguments({"corvane", "--language", "zh"}), Language::Chinese);
    EXPECT_EQ(UiLanguage::FromArguments({"corvane", "--language=en"}), Language::English);
    EXPECT_EQ(UiLanguage::FromArguments({"corvane"}), std::nullopt);
    EXPECT_EQ(UiLanguage::FromArguments({"corvane", "--language", "fr"}, &bad), std::nullopt);
    EXPECT_EQ(bad, "fr");
}

} // namespace

// The window in each language: the texts of the catalogues it shows, and
// View -> Language, which remembers a choice for the next start. The
// language never reaches what the program stores.
#include "AppRig.h"

#include "link/Language.h"

#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSettings>

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

#include "link/Language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QSettings>
#include <QTranslator>

#include <memory>

namespace {

// Beside the look, in the group the main frame keeps its layout in.
constexpr char kProfileKey[] = "Workspace/Language";

Language g_installed = Language::Source;
QTranslator *g_translator = nullptr;
// Qt's own texts (the standard buttons of message boxes, the file dialogs,
// a document window's system menu), where Qt's catalogue of the language is
// installed (qt6-translations-l10n); Qt's English is its source.
QTranslator *g_qtTranslator = nullptr;

} // namespace

namespace UiLanguage {

std::optional<Language> FromCode(const QString &code)
{
    if (code == u"en")
        return Language::English;
    if (code == u"zh")
        return Language::Chinese;
    return std::nullopt;
}

QString Code(Language language)
{
    switch (language) {
    case Language::English:
        return QStringLiteral("en");
    case Language::Chinese:
        return QStringLiteral("zh");
    case Language::Source:
        break;
    }
    return QString();
}

Language FromLocale(const QLocale &locale)
{
    if (locale.language() == QLocale::C)
        return Language::Source;
    for (const QString &name : locale.uiLanguages()) {
        if (name.startsWith(u"zh"))
            return Language::Chinese;
        if (name.startsWith(u"en"))
            return Language::English;
    }
    return locale.language() == QLocale::Chinese ? Language::Chinese : Language::English;
}

std::optional<Language> FromArguments(const QStringList &arguments, QString *bad)
{
    std::optional<Language> chosen;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        QString code;
        if (arguments[i] == u"--language" && i + 1 < arguments.size())
            code = arguments[++i];
        else if (arguments[i].startsWith(u"--language="))
            code = arguments[i].mid(int(sizeof("--language=")) - 1);
        else
            continue;
        chosen = FromCode(code);
        if (!chosen && bad != nullptr)
            *bad = code;
    }
    return chosen;
}

std::optional<Language> Remembered(const QSettings &profile)
{
    return FromCode(profile.value(QLatin1String(kProfileKey)).toString());
}

void Remember(QSettings &profile, Language language)
{
    if (language == Language::Source)
        profile.remove(QLatin1String(kProfileKey));
    else
        profile.setValue(QLatin1String(kProfileKey), Code(language));
}

Language Choose(std::optional<Language> fromArguments, std::optional<Language> remembered, const QLocale &locale)
{
    if (fromArguments)
        return *fromArguments;
    if (remembered)
        return *remembered;
    return FromLocale(locale);
}

bool Install(QCoreApplication &app, Language language)
{
    // One translator at a time: a new choice replaces the earlier one.
    for (QTranslator **installed : {&g_translator, &g_qtTranslator}) {
        if (*installed != nullptr) {
            QCoreApplication::removeTranslator(*installed);
            delete *installed;
            *installed = nullptr;
        }
    }
    g_installed = Language::Source;
    if (language == Language::Source)
        return true;
    // The catalogues are built into the program (link/CMakeLists.txt).
    auto translator = std::make_unique<QTranslator>(&app);
    const QString file = language == Language::English ? QStringLiteral("corvane_en") : QStringLiteral("corvane_zh_CN");
    if (!translator->load(file, QStringLiteral(":/i18n")))
        return false;
    g_translator = translator.release();
    QCoreApplication::installTranslator(g_translator);
    g_installed = language;
    if (language == Language::Chinese) {
        auto qt = std::make_unique<QTranslator>(&app);
        if (qt->load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
            g_qtTranslator = qt.release();
            QCoreApplication::installTranslator(g_qtTranslator);
        }
    }
    return true;
}

Language Installed()
{
    return g_installed;
}

} // namespace UiLanguage

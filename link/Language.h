#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

class QCoreApplication;
class QSettings;

// The language the texts are shown in. Source is the catalogues' own texts
// (the windows' Chinese captions, the English messages): what the C and
// POSIX locales get.
enum class Language { Source, English, Chinese };

namespace UiLanguage {

// "en" and "zh" as on the command line (--language) and in the profile.
std::optional<Language> FromCode(const QString &code);
QString Code(Language language);

// The user's locale (LANGUAGE, LC_ALL, LC_MESSAGES, LANG as Qt reads them):
// a Chinese one gives Chinese, C and POSIX the source texts, any other English.
Language FromLocale(const QLocale &locale);

// --language CODE or --language=CODE among the arguments; a code that is
// neither "en" nor "zh" sets *bad to it.
std::optional<Language> FromArguments(const QStringList &arguments, QString *bad = nullptr);

// The per-user profile's remembered choice (the program's "Workspace" group).
std::optional<Language> Remembered(const QSettings &profile);
void Remember(QSettings &profile, Language language);

// The command line first, then the profile, then the locale.
Language Choose(std::optional<Language> fromArguments, std::optional<Language> remembered, const QLocale &locale);

// Installs the translator of the language (none for Source), and for Chinese
// Qt's own where it is installed, in place of the ones installed before;
// false when the language's catalogue is missing from the program.
bool Install(QCoreApplication &app, Language language);
// The language installed (Source before any).
Language Installed();

} // namespace UiLanguage

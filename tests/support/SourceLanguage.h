#pragma once

// The program and corvane-cli show their texts in the language of the
// user's locale. The programs the tests start see the C locale, so they show
// the texts of the sources whatever the machine's locale; a test of a
// language sets LANG (or passes --language) itself.

#include <QProcessEnvironment>

inline void InSourceLanguage(QProcessEnvironment &env)
{
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        env.remove(QString::fromLatin1(name));
}

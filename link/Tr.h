#pragma once

#include <QCoreApplication>
#include <QString>
#include <QtGlobal>

// Every catalogue text is marked QT_TRANSLATE_NOOP("Corvane", "...") where it
// is defined and becomes a QString here, in the language installed at start
// (translations/). With no translator installed, as in the tests and under
// the C locale, the text is its UTF-8 source, character for character.
inline constexpr char kTranslationContext[] = "Corvane";

inline QString Tr(const char *text)
{
    return QCoreApplication::translate(kTranslationContext, text);
}

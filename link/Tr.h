#pragma once

#include <QString>

// The message catalogues and the windows' texts are UTF-8 source text; this is
// the one place such a text becomes a QString, in every layer.
inline QString Tr(const char *text)
{
    return QString::fromUtf8(text);
}

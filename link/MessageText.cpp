#include "link/MessageText.h"
#include "link/Tr.h"

#include <cstdarg>

namespace MessageText {

QString Cut(QString text)
{
    if (text.size() > kBufferSize - 1)
        text.truncate(kBufferSize - 1);
    return text;
}

QString Format(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    // The format is a catalogue text: its translation keeps the same places.
    const QByteArray shown = Tr(format).toUtf8();
    QString text = QString::vasprintf(shown.constData(), args);
    va_end(args);
    return Cut(std::move(text));
}

} // namespace MessageText

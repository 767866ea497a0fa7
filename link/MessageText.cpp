#include "link/MessageText.h"

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
    QString text = QString::vasprintf(format, args);
    va_end(args);
    return Cut(std::move(text));
}

} // namespace MessageText

#pragma once

#include <QString>

// Messages are formatted into a buffer of 300 characters, terminator
// included: a longer text is cut, never overflowed.
namespace MessageText {

inline constexpr int kBufferSize = 300;

QString Format(const char *format, ...) __attribute__((format(printf, 1, 2)));
QString Cut(QString text);

} // namespace MessageText

#pragma once

// Readable Qt values in test failures: gtest finds these through the
// argument's namespace, for the values and for lists of them.

#include <QByteArray>
#include <QString>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

// Printable ASCII as it is, every other byte as \xNN.
inline void PrintTo(const QByteArray &bytes, std::ostream *out)
{
    static const char kDigits[] = "0123456789abcdef";
    *out << '"';
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == '\n')
            *out << "\\n";
        else if (byte == '"' || byte == '\\')
            *out << '\\' << c;
        else if (byte >= 0x20 && byte < 0x7f)
            *out << c;
        else
            *out << "\\x" << kDigits[byte >> 4] << kDigits[byte & 0xf];
    }
    *out << '"';
}

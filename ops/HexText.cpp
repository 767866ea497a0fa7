#include "ops/HexText.h"

namespace HexText {

namespace {

int HexDigit(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

const char kHexDigits[] = "0123456789ABCDEF";

void AppendHex(QString &out, uint32_t value, int digits)
{
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += QLatin1Char(kHexDigits[(value >> shift) & 0xF]);
}

} // namespace

uint32_t ParseHexText(const QString &text, int maxChars)
{
    const QString field = text.left(maxChars);
    uint32_t sum = 0;
    uint32_t weight = 1;
    for (qsizetype i = field.size() - 1; i >= 0; --i) {
        const QChar c = field.at(i);
        if (c == QLatin1Char(' '))
            continue;
        const int digit = HexDigit(c);
        if (digit < 0)
            break;
        sum += uint32_t(digit) * weight;
        weight *= 16;
    }
    return sum;
}

QString DumpText(const uint8_t *bytes, uint32_t length, uint32_t address)
{
    QString out;
    out.reserve(qsizetype(length) * 3 + (qsizetype(length) / 16 + 1) * 12);
    for (uint32_t i = 0; i < length; ++i) {
        if (i % 16 == 0) {
            AppendHex(out, address + i, 8);
            out += QLatin1String(": ");
        }
        AppendHex(out, bytes[i], 2);
        if (i % 16 != 15)
            out += QLatin1Char(' ');
        else if (i + 1 != length)
            out += QLatin1String("\r\n");
    }
    return out;
}

QString PreviewText(const uint8_t *bytes, uint32_t chunkSize)
{
    QString out;
    for (uint32_t j = 0; j < 16; ++j) {
        const uint8_t *w = bytes + 4 * j;
        AppendHex(out, uint32_t(w[0]) | uint32_t(w[1]) << 8 | uint32_t(w[2]) << 16 | uint32_t(w[3]) << 24, 8);
        out += QLatin1Char(' ');
        if ((j + 1) * 4 >= chunkSize)
            break;
        if (j % 4 == 3)
            out += QLatin1String("\r\n");
    }
    return out;
}

} // namespace HexText

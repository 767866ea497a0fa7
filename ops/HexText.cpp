#include "ops/HexText.h"

namespace HexText {

namespace {

const char kHexDigits[] = "0123456789ABCDEF";

void AppendHex(QString &out, uint32_t value, int digits)
{
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        out += QLatin1Char(kHexDigits[(value >> shift) & 0xF]);
}

} // namespace

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

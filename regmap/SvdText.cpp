#include "regmap/SvdText.h"

#include <algorithm>

namespace SvdText {

namespace {

bool IsCSpace(char16_t c)
{
    return c == u' ' || (c >= u'\t' && c <= u'\r');
}

int DigitValue(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'z')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'Z')
        return c - u'A' + 10;
    return 99;
}

} // namespace

std::uint32_t ReadNumber(QStringView text, int base)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && IsCSpace(text[i].unicode()))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // "0x" without a hexadecimal digit after it reads as the number 0.
    if (base == 16 && i + 2 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
        DigitValue(text[i + 2].unicode()) < 16) {
        i += 2;
    }
    std::uint64_t value = 0;
    bool overflow = false;
    for (; i < n; ++i) {
        const int digit = DigitValue(text[i].unicode());
        if (digit >= base)
            break;
        value = value * std::uint64_t(base) + std::uint64_t(digit);
        if (value > 0xFFFFFFFFull) {
            overflow = true;
            value = 0xFFFFFFFFull;
        }
    }
    if (overflow)
        return 0xFFFFFFFFu;
    const std::uint32_t result = std::uint32_t(value);
    return negative ? std::uint32_t(0u - result) : result;
}

std::uint32_t ReadPrefixedNumber(QStringView text)
{
    const QStringView trimmed = text.trimmed();
    if (trimmed.startsWith(u"0x", Qt::CaseInsensitive))
        return ReadNumber(trimmed, 16);
    qsizetype binaryStart = -1;
    if (trimmed.startsWith(u'#'))
        binaryStart = 1;
    else if (trimmed.startsWith(u"0b", Qt::CaseInsensitive))
        binaryStart = 2;
    if (binaryStart < 0)
        return ReadNumber(trimmed, 10);
    std::uint32_t value = 0;
    for (qsizetype i = binaryStart; i < trimmed.size(); ++i) {
        const char16_t c = trimmed[i].unicode();
        if (c != u'0' && c != u'1' && c != u'x' && c != u'X')
            break;
        value = (value << 1) | (c == u'1' ? 1u : 0u);
    }
    return value;
}

QString RemoveSpaceRuns(const QString &text, int runLength)
{
    if (runLength <= 0)
        return text;
    qsizetype longest = 0;
    qsizetype spaces = 0;
    for (const QChar c : text) {
        spaces = c == u' ' ? spaces + 1 : 0;
        longest = std::max(longest, spaces);
    }
    if (longest < runLength)
        return text;
    QString result;
    result.reserve(text.size());
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i] != u' ') {
            result.append(text[i++]);
            continue;
        }
        qsizetype run = 0;
        while (i < text.size() && text[i] == u' ') {
            ++run;
            ++i;
        }
        result.append(QString(run % runLength, u' '));
    }
    return result;
}

} // namespace SvdText

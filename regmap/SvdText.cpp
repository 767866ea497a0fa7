#include "regmap/SvdText.h"

#include <algorithm>

namespace SvdText {

namespace {

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

std::optional<std::uint32_t> ReadSvdNumber(QStringView text, NumberForm form)
{
    QStringView digits = text.trimmed();
    if (digits.startsWith(u'+'))
        digits = digits.sliced(1);
    int base = 10;
    if (digits.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        digits = digits.sliced(2);
    } else if (digits.startsWith(u'#')) {
        base = 2;
        digits = digits.sliced(1);
    } else if (form == NumberForm::EnumeratedValue && digits.startsWith(u"0b", Qt::CaseInsensitive)) {
        // Enumerated values may also write binary as "0b" (vendors do: "0b001").
        base = 2;
        digits = digits.sliced(2);
    }
    int scale = 0;
    if (!digits.isEmpty()) {
        switch (digits.back().unicode()) {
        case u'k':
        case u'K':
            scale = 10;
            break;
        case u'm':
        case u'M':
            scale = 20;
            break;
        case u'g':
        case u'G':
            scale = 30;
            break;
        default:
            break;
        }
        if (scale != 0)
            digits.chop(1);
    }
    if (digits.isEmpty())
        return std::nullopt;
    const bool dontCareDigits = base == 2 && form == NumberForm::EnumeratedValue;
    std::uint64_t value = 0;
    for (const QChar c : digits) {
        const int digit = dontCareDigits && (c == u'x' || c == u'X') ? 0 : DigitValue(c.unicode());
        if (digit >= base)
            return std::nullopt;
        value = value * std::uint64_t(base) + std::uint64_t(digit);
        if (value > 0xFFFFFFFFull)
            return std::nullopt;
    }
    if ((value << scale) > 0xFFFFFFFFull)
        return std::nullopt;
    return std::uint32_t(value << scale);
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

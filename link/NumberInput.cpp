#include "link/NumberInput.h"

namespace NumberInput {

namespace {

int DigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'z')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'Z')
        return u - 'A' + 10;
    return 99;
}

uint64_t Mask(uint32_t bits)
{
    return bits >= 64 ? ~uint64_t(0) : (uint64_t(1) << bits) - 1u;
}

// The C library's blanks.
bool IsCSpace(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || (u >= '\t' && u <= '\r');
}

Number ReadTrailing(QStringView text, const Form &form)
{
    uint64_t sum = 0;
    uint64_t weight = 1;
    for (qsizetype i = text.size() - 1; i >= 0; --i) {
        if (text[i] == u' ' && form.blanksBetween)
            continue;
        const int digit = DigitValue(text[i]);
        if (digit >= form.base)
            break;
        sum += uint64_t(digit) * weight;
        weight *= uint64_t(form.base);
    }
    return Number{sum & Mask(form.bits), false};
}

Number ReadLeading(QStringView text, const Form &form)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    // "0x" without a digit after it reads as the number 0.
    if (form.base == 16 && i + 2 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X') &&
        DigitValue(text[i + 2]) < 16)
        i += 2;
    const uint64_t all = Mask(form.bits);
    uint64_t value = 0;
    for (; i < n; ++i) {
        const int digit = DigitValue(text[i]);
        if (digit >= form.base)
            break;
        if (value > (all - uint64_t(digit)) / uint64_t(form.base))
            return Number{all, false};
        value = value * uint64_t(form.base) + uint64_t(digit);
    }
    return Number{negative ? (0 - value) & all : value, false};
}

std::optional<Number> ReadWhole(QStringView text, const Form &form)
{
    text = text.trimmed();
    if (form.nameAfter && text.endsWith(u')')) {
        const qsizetype open = text.lastIndexOf(QStringView(u" ("));
        if (open > 0)
            text = text.left(open).trimmed();
    }
    int base = form.base;
    if (text.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        text = text.mid(2);
    } else if (form.binaryPrefixes && text.startsWith(u"0b", Qt::CaseInsensitive)) {
        base = 2;
        text = text.mid(2);
    } else if (form.binaryPrefixes && text.startsWith(u'#')) {
        base = 2;
        text = text.mid(1);
    }
    const uint64_t all = Mask(form.bits);
    Number number;
    bool digits = false;
    for (const QChar c : text) {
        if (c == u' ' && form.blanksBetween)
            continue;
        const int digit = DigitValue(c);
        if (digit >= base)
            return std::nullopt;
        digits = true;
        // Past the width the digits are still read, to tell a number too
        // wide from a text that is none.
        if (number.value > (all - uint64_t(digit)) / uint64_t(base))
            number.tooWide = true;
        number.value = number.value * uint64_t(base) + uint64_t(digit);
    }
    if (!digits)
        return std::nullopt;
    return number;
}

} // namespace

std::optional<Number> Read(QStringView text, const Form &form)
{
    if (form.boxChars > 0)
        text = text.left(form.boxChars);
    switch (form.reading) {
    case Reading::Trailing:
        return ReadTrailing(text, form);
    case Reading::Leading:
        return ReadLeading(text, form);
    case Reading::Whole:
        break;
    }
    return ReadWhole(text, form);
}

std::optional<uint64_t> Value(QStringView text, const Form &form)
{
    const std::optional<Number> number = Read(text, form);
    if (!number || number->tooWide)
        return std::nullopt;
    return number->value;
}

uint64_t Lenient(QStringView text, const Form &form)
{
    return Read(text, form).value_or(Number()).value;
}

} // namespace NumberInput

#include "regmap/SvdText.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <type_traits>

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

template<typename View> std::optional<std::uint32_t> ReadNumber(View text, NumberForm form)
{
    View digits = text.trimmed();
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
        switch (QChar(digits.back()).unicode()) {
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
    for (const auto c : digits) {
        const char16_t unit = QChar(c).unicode();
        const int digit = dontCareDigits && (unit == u'x' || unit == u'X') ? 0 : DigitValue(unit);
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

} // namespace

std::optional<std::uint32_t> ReadSvdNumber(QAnyStringView text, NumberForm form)
{
    // The document hands out Latin-1 views of ASCII files and UTF-16 views of others.
    return text.visit([form](auto view) {
        if constexpr (std::is_same_v<decltype(view), QUtf8StringView>)
            return ReadNumber(QStringView(view.toString()), form);
        else
            return ReadNumber(view, form);
    });
}

namespace {

const char16_t *FirstSpaceRun(const char16_t *begin, const char16_t *end, int runLength)
{
    const char16_t *p = begin;
    while (p < end) {
#if defined(__SSE2__)
        // Two spaces in a row are rare in a text: skip to the next pair eight
        // units at a time.
        const __m128i space = _mm_set1_epi16(short(u' '));
        while (runLength >= 2 && p + 9 <= end) {
            const __m128i here = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p)), space);
            const __m128i next = _mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 1)), space);
            const int pairs = _mm_movemask_epi8(_mm_and_si128(here, next));
            if (pairs != 0) {
                p += __builtin_ctz(unsigned(pairs)) / 2;
                break;
            }
            p += 8;
        }
#endif
        if (*p != u' ') {
            ++p;
            continue;
        }
        const char16_t *q = p;
        while (q < end && *q == u' ')
            ++q;
        if (q - p >= runLength)
            return p;
        p = q;
    }
    return nullptr;
}

} // namespace

bool HasSpaceRun(QStringView text, int runLength)
{
    if (runLength <= 0)
        return false;
    return FirstSpaceRun(text.utf16(), text.utf16() + text.size(), runLength) != nullptr;
}

QString RemoveSpaceRuns(const QString &text, int runLength)
{
    if (runLength <= 0)
        return text;
    const char16_t *const begin = reinterpret_cast<const char16_t *>(text.constData());
    const char16_t *const end = begin + text.size();
    // Most texts have no run that long: found out in one pass, no copy made.
    const char16_t *const firstRun = FirstSpaceRun(begin, end, runLength);
    if (firstRun == nullptr)
        return text;
    QString result(text.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    const qsizetype kept = firstRun - begin;
    std::copy(begin, firstRun, out);
    out += kept;
    for (const char16_t *p = firstRun; p < end;) {
        if (*p != u' ') {
            *out++ = *p++;
            continue;
        }
        const char16_t *q = p;
        while (q < end && *q == u' ')
            ++q;
        out = std::fill_n(out, (q - p) % runLength, u' ');
        p = q;
    }
    result.truncate(out - reinterpret_cast<char16_t *>(result.data()));
    return result;
}

} // namespace SvdText

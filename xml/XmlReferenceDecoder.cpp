#include "xml/XmlReferenceDecoder.h"

#include <cstdint>
#include <string_view>

namespace {

// The ';' of a numeric reference must come within this many characters after
// the '#' (or the 'x' of a hexadecimal one).
constexpr qsizetype kNumericReach = 7;

struct NamedReference
{
    std::u16string_view name; // without '&', with ';'
    char16_t character;
};

constexpr NamedReference kNamed[] = {
    {u"lt;", u'<'}, {u"amp;", u'&'}, {u"gt;", u'>'}, {u"apos;", u'\''}, {u"quot;", u'"'},
};

template<typename CharT> bool StartsWith(const CharT *text, qsizetype length, std::u16string_view name)
{
    if (length < qsizetype(name.size()))
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (char16_t(text[i]) != name[i])
            return false;
    }
    return true;
}

void AppendAsIs(QString &out, const char16_t *text, qsizetype length)
{
    out.append(reinterpret_cast<const QChar *>(text), length);
}

void AppendAsIs(QString &out, const char *text, qsizetype length)
{
    out.append(QLatin1StringView(text, length));
}

int DigitValue(char16_t c, int base)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (base == 16 && c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (base == 16 && c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

} // namespace

void XmlReferenceDecoder::AppendDecoded(QString &out, const char16_t *text, qsizetype length)
{
    Append(out, text, length);
}

void XmlReferenceDecoder::AppendDecoded(QString &out, const char *text, qsizetype length)
{
    Append(out, text, length);
}

template<typename CharT> void XmlReferenceDecoder::Append(QString &out, const CharT *text, qsizetype length)
{
    qsizetype copied = 0; // text[copied, i) is waiting to be appended as is
    for (qsizetype i = 0; i < length; ++i) {
        if (text[i] != u'&')
            continue;
        const CharT *rest = text + i + 1;
        const qsizetype restLength = length - i - 1;
        qsizetype consumed = 0;
        char16_t named = 0;
        for (const NamedReference &ref : kNamed) {
            if (StartsWith(rest, restLength, ref.name)) {
                named = ref.character;
                consumed = qsizetype(ref.name.size()) + 1;
                break;
            }
        }
        if (named == 0 && restLength > 0 && rest[0] == u'#') {
            QString decoded;
            consumed = DecodeNumeric(decoded, text + i, length - i);
            if (consumed > 0) {
                AppendAsIs(out, text + copied, i - copied);
                out.append(decoded);
                copied = i + consumed;
                i = copied - 1;
            }
            continue;
        }
        if (named == 0)
            continue;
        AppendAsIs(out, text + copied, i - copied);
        out.append(QChar(named));
        copied = i + consumed;
        i = copied - 1;
    }
    AppendAsIs(out, text + copied, length - copied);
}

// text starts with "&#". Returns the characters taken, 0 when not decoded.
// Numbers beyond the 16-bit range become a surrogate pair; values that are no
// character at all (0, above U+10FFFF) are left as written.
template<typename CharT> qsizetype XmlReferenceDecoder::DecodeNumeric(QString &out, const CharT *text, qsizetype length)
{
    qsizetype lead = 1; // the '#', or the 'x' after it
    int base = 10;
    if (length > 2 && text[2] == u'x') {
        lead = 2;
        base = 16;
    }
    std::uint32_t value = 0;
    qsizetype i = lead + 1;
    for (; i < length && i <= lead + kNumericReach; ++i) {
        if (text[i] == u';')
            break;
        const int digit = DigitValue(char16_t(text[i]), base);
        if (digit < 0)
            return 0;
        value = value * std::uint32_t(base) + std::uint32_t(digit);
    }
    if (i >= length || i > lead + kNumericReach || text[i] != u';' || i == lead + 1)
        return 0;
    if (value == 0 || value > 0x10FFFF)
        return 0;
    if (value > 0xFFFF) {
        const char32_t codePoint = value;
        out.append(QString::fromUcs4(&codePoint, 1));
    } else {
        out.append(QChar(char16_t(value)));
    }
    return i + 1;
}

#include "regmap/RowText.h"

#include "regmap/SvdText.h"

#include <cmath>

namespace RowText {

namespace {

QString LineFeedUnlessBreak(const QString &description)
{
    const bool startsWithBreak =
        !description.isEmpty() && (description.front() == u'\r' || description.front() == u'\n');
    return startsWithBreak ? description : u'\n' + description;
}

} // namespace

uint32_t ReadUnsigned(QStringView text, int base)
{
    return SvdText::ReadNumber(text, base);
}

bool HasHexPrefix(QStringView text)
{
    return text.contains(u"0x") || text.contains(u"0X");
}

std::optional<uint32_t> ReadTyped(QStringView text, bool hexBase)
{
    text = text.trimmed();
    if (text.endsWith(u')')) {
        const qsizetype open = text.lastIndexOf(QStringView(u" ("));
        if (open > 0)
            text = text.left(open).trimmed();
    }
    int base = hexBase ? 16 : 10;
    if (text.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        text = text.mid(2);
    } else if (text.startsWith(u"0b", Qt::CaseInsensitive)) {
        base = 2;
        text = text.mid(2);
    } else if (text.startsWith(u'#')) {
        base = 2;
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    uint64_t value = 0;
    for (const QChar c : text) {
        const int digit = c.isDigit()                                    ? c.digitValue()
                          : (c.toLower() >= u'a' && c.toLower() <= u'f') ? c.toLower().unicode() - u'a' + 10
                                                                         : 99;
        if (digit >= base)
            return std::nullopt;
        value = value * uint64_t(base) + uint64_t(digit);
        if (value > 0xFFFFFFFFu)
            return std::nullopt;
    }
    return uint32_t(value);
}

uint32_t ReadAuto(QStringView text)
{
    return ReadUnsigned(text, HasHexPrefix(text) ? 16 : 10);
}

QString Word(uint32_t word)
{
    return QString::asprintf("0x%08X", word);
}

QString SizedWord(uint32_t value, uint32_t bits)
{
    if (bits == 0 || bits >= 32)
        return Word(value);
    return QString::asprintf("0x%0*X", int((bits + 3) / 4 + ((bits + 3) / 4) % 2), value & RegisterMask(bits));
}

uint32_t RegisterMask(uint32_t bits)
{
    return bits == 0 || bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1u;
}

uint32_t RegisterShift(uint32_t offset, uint32_t bits)
{
    return bits == 0 || bits >= 32 ? 0u : (offset & 3u) * 8u;
}

QString EnumSuffix(uint32_t value, const QList<SvdEnumValue> &choices)
{
    for (const SvdEnumValue &choice : choices) {
        if (choice.value == value)
            return QStringLiteral(" (%1)").arg(choice.name);
    }
    return {};
}

QString PeripheralDescription(uint32_t base, uint32_t span)
{
    return QString::asprintf("0x%08X 0x%08X", base, span);
}

QString RegisterDescription(uint32_t address, uint32_t offset, const QString &description)
{
    return QString::asprintf("0x%08X 0x%08X", address, offset) + LineFeedUnlessBreak(description);
}

QString FieldDescription(uint32_t bitOffset, uint32_t bitWidth, const QString &description)
{
    return FieldBits(bitOffset, bitWidth) + LineFeedUnlessBreak(description);
}

QString FieldBits(uint32_t low, uint32_t width)
{
    return width == 1 ? QString::asprintf("[%u]", low) : QString::asprintf("[%u-%u]", low, low + width - 1);
}

uint32_t FieldMask(uint32_t width)
{
    return (1u << (width % 32)) - 1u;
}

uint32_t FieldValue(uint32_t word, uint32_t low, uint32_t width)
{
    if (width == 32)
        return word;
    return (word >> (low % 32)) & FieldMask(width);
}

int BuildColumn(int lastWidth)
{
    return int(std::trunc((lastWidth - 35) / 7.0 + 0.5));
}

int RealignColumn(int width, int dotsPerInch)
{
    if (dotsPerInch <= 0)
        dotsPerInch = 96;
    return int(std::trunc(((width - 35) / 7.0 + 0.5) * 96 / dotsPerInch));
}

QString Caption(const QString &name, const QString &valueText, int column)
{
    if (name.size() < column)
        return name + QString(column - name.size(), u' ') + valueText;
    return name + u' ' + valueText;
}

} // namespace RowText

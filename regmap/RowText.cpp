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
    const QString bits = bitWidth == 1 ? QString::asprintf("[%u]", bitOffset)
                                       : QString::asprintf("[%u-%u]", bitOffset, bitOffset + bitWidth - 1);
    return bits + LineFeedUnlessBreak(description);
}

uint32_t FirstNumber(const QString &description)
{
    return ReadUnsigned(QStringView(description).left(10), 16);
}

uint32_t SecondNumber(const QString &description)
{
    return ReadUnsigned(QStringView(description).mid(11, 10), 16);
}

FieldBits ReadFieldBits(const QString &description)
{
    const qsizetype close = description.indexOf(u']');
    const QStringView bits = QStringView(description).left(close < 0 ? description.size() : close);
    FieldBits result;
    result.low = ReadUnsigned(bits.mid(1), 10);
    const qsizetype dash = bits.indexOf(u'-');
    if (dash >= 0) {
        const uint32_t high = ReadUnsigned(bits.mid(dash + 1), 10);
        result.width = high - result.low + 1;
    }
    return result;
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

qsizetype CaptionValueIndex(const QString &caption)
{
    return caption.indexOf(u"0x");
}

uint32_t CaptionValue(const QString &caption)
{
    const qsizetype at = CaptionValueIndex(caption);
    return at < 0 ? 0 : ReadUnsigned(QStringView(caption).mid(at, 10), 16);
}

QString CaptionPrefix(const QString &caption)
{
    const qsizetype at = CaptionValueIndex(caption);
    return at < 0 ? caption : caption.left(at);
}

QString DecodeField(uint32_t word, const QString &fieldDescription, const QString &currentText)
{
    const FieldBits bits = ReadFieldBits(fieldDescription);
    if (bits.width == 32)
        return Word(word);
    // Shift counts and widths wrap at 32 like the processor's shift.
    const uint32_t mask = (1u << (bits.width % 32)) - 1u;
    const uint32_t value = (word >> (bits.low % 32)) & mask;
    return HasHexPrefix(currentText) ? QString::asprintf("0x%X", value) : QString::asprintf("%u", value);
}

} // namespace RowText

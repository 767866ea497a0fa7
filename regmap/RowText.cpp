#include "regmap/RowText.h"

#include "regmap/RowBits.h"

#include <algorithm>
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

bool HasHexPrefix(QStringView text)
{
    return text.contains(u"0x") || text.contains(u"0X");
}

QString Word(uint32_t word)
{
    return QString::asprintf("0x%08X", word);
}

QString Hex(uint64_t value)
{
    return QString::asprintf("0x%llX", static_cast<unsigned long long>(value));
}

QString Decimal(uint64_t value)
{
    return QString::asprintf("%llu", static_cast<unsigned long long>(value));
}

QString FieldNumber(uint64_t value, uint32_t width, bool hex)
{
    if (!hex)
        return Decimal(value);
    return width >= 32 ? SizedWord(value, width) : Hex(value);
}

QString SizedWord(uint64_t value, uint32_t bits)
{
    const RegisterBits reg{bits, 0};
    const uint32_t digits = (reg.ValueBits() + 3) / 4 + ((reg.ValueBits() + 3) / 4) % 2;
    return QString::asprintf("0x%0*llX", int(digits), static_cast<unsigned long long>(value & reg.Mask()));
}

QString EnumSuffix(uint64_t value, const QList<SvdEnumValue> &choices)
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

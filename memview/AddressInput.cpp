#include "memview/AddressInput.h"

#include "memview/ChipAddressMap.h"

namespace AddressInput {

std::optional<uint32_t> Parse(const QString &text, const ChipAddressMap *map)
{
    if (map)
        if (const std::optional<uint32_t> named = map->AddressOf(text))
            return named;
    QString digits = text;
    digits.remove(u' ');
    if (digits.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        digits.remove(0, 2);
    if (digits.isEmpty() || digits.size() > 8)
        return std::nullopt;
    uint32_t value = 0;
    for (const QChar c : digits) {
        const int digit = QStringLiteral("0123456789abcdef").indexOf(c.toLower());
        if (digit < 0)
            return std::nullopt;
        value = value << 4 | uint32_t(digit);
    }
    return value;
}

} // namespace AddressInput

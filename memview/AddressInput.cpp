#include "memview/AddressInput.h"

#include "link/NumberInput.h"
#include "memview/ChipAddressMap.h"

namespace AddressInput {

std::optional<uint32_t> Parse(const QString &text, const ChipAddressMap *map)
{
    if (map)
        if (const std::optional<uint32_t> named = map->AddressOf(text))
            return named;
    if (const std::optional<uint64_t> value = NumberInput::Value(text, NumberInput::kAddress))
        return uint32_t(*value);
    return std::nullopt;
}

} // namespace AddressInput

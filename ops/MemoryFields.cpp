#include "ops/MemoryFields.h"

#include "link/NumberInput.h"

namespace MemoryFields {

uint32_t Number(const QString &text)
{
    return uint32_t(NumberInput::Lenient(text, NumberInput::kPanelField));
}

std::optional<uint32_t> Word(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    return uint32_t(NumberInput::Lenient(text, NumberInput::kPanelWord));
}

} // namespace MemoryFields

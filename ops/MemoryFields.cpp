#include "ops/MemoryFields.h"

#include "ops/HexText.h"

namespace MemoryFields {

uint32_t Number(const QString &text)
{
    return HexText::ParseHexText(text);
}

std::optional<uint32_t> Word(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    return HexText::ParseHexText(text, HexText::kDataWordChars);
}

} // namespace MemoryFields

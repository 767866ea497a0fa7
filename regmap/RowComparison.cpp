#include "regmap/RowComparison.h"

#include "regmap/RowText.h"
#include "regmap/RowValues.h"

#include <map>

RowComparison RowComparison::AgainstImage(const RegisterRow &peripheral, const QByteArray &image)
{
    return Compare(peripheral, [&](uint32_t offset) { return RowValues::ImageWord(image, offset); });
}

RowComparison RowComparison::AgainstRows(const RegisterRow &peripheral, const RegisterRow &other)
{
    std::map<uint32_t, uint32_t> words;
    for (const auto &reg : other.Children())
        words.emplace(RowValues::WordOffset(*reg), RowValues::Number(*reg));
    return Compare(peripheral, [&](uint32_t offset) -> std::optional<uint32_t> {
        const auto word = words.find(offset);
        return word == words.end() ? std::nullopt : std::optional<uint32_t>(word->second);
    });
}

RowComparison RowComparison::Compare(const RegisterRow &peripheral, const OtherWord &otherWord)
{
    RowComparison comparison;
    auto add = [&](const RegisterRow &row, uint32_t other, QString otherText) {
        const uint32_t current = RowValues::Number(row);
        if (current == other)
            return;
        comparison.m_index.emplace(row.Id(), comparison.m_differences.size());
        comparison.m_differences.push_back({&row, current, other, std::move(otherText)});
    };
    for (const auto &reg : peripheral.Children()) {
        const std::optional<uint32_t> word = otherWord(RowValues::WordOffset(*reg));
        if (!word)
            continue;
        add(*reg, *word, RowText::Word(*word));
        for (const auto &child : reg->Children()) {
            if (child->RowKind() == RegisterRow::Kind::Value) {
                add(*child, *word,
                    RowText::HasHexPrefix(child->Value()) ? RowText::Word(*word) : QString::number(*word));
            } else {
                const QString text = RowValues::FieldText(*child, *word);
                add(*child, RowText::ReadAuto(text), text);
            }
        }
    }
    return comparison;
}

const RowComparison::Difference *RowComparison::Find(uint64_t rowId) const
{
    const auto at = m_index.find(rowId);
    return at == m_index.end() ? nullptr : &m_differences[at->second];
}

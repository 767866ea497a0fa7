#include "regmap/RowBits.h"
#include "regmap/RowComparison.h"

#include "regmap/PeripheralImage.h"
#include "regmap/RowText.h"

#include <algorithm>
#include <map>

RowComparison RowComparison::AgainstImage(const RegisterRow &peripheral, const QByteArray &image)
{
    return Compare(peripheral, [&](const RegisterRow &reg) -> std::optional<uint64_t> {
        if (uint64_t(PeripheralImage::WordOffset(reg)) + PeripheralImage::ValueBytes(reg) > uint64_t(image.size()))
            return std::nullopt;
        return PeripheralImage::RegisterWords(reg, image);
    });
}

RowComparison RowComparison::AgainstRows(const RegisterRow &peripheral, const RegisterRow &other)
{
    std::map<uint32_t, uint64_t> words;
    for (const auto &reg : other.Children())
        words.emplace(PeripheralImage::WordOffset(*reg), reg->Number());
    return Compare(peripheral, [&](const RegisterRow &reg) -> std::optional<uint64_t> {
        const auto word = words.find(PeripheralImage::WordOffset(reg));
        return word == words.end() ? std::nullopt : std::optional<uint64_t>(word->second);
    });
}

RowComparison RowComparison::Compare(const RegisterRow &peripheral, const OtherWord &otherWord)
{
    RowComparison comparison;
    auto add = [&](const RegisterRow &row, uint64_t other, QString otherText) {
        const uint64_t current = row.Number();
        if (current == other)
            return;
        comparison.m_index.emplace(row.Id(), comparison.m_differences.size());
        comparison.m_differences.push_back({&row, current, other, std::move(otherText)});
    };
    for (const auto &reg : peripheral.Children()) {
        const std::optional<uint64_t> word = otherWord(*reg);
        if (!word) {
            comparison.m_notInOther.insert(reg->Id());
            for (const auto &child : reg->Children())
                comparison.m_notInOther.insert(child->Id());
            continue;
        }
        // A register of a word or less is compared as its word, a wider one whole.
        const uint32_t wordBits = std::max<uint32_t>(32, reg->Traits().bits);
        add(*reg, *word, RowText::SizedWord(*word, wordBits));
        for (const auto &child : reg->Children()) {
            if (child->RowKind() == RegisterRow::Kind::Value) {
                add(*child, *word,
                    child->Form() == NumberForm::Decimal ? RowText::Decimal(*word)
                                                         : RowText::SizedWord(*word, wordBits));
            } else {
                const RegisterRowTraits &traits = child->Traits();
                const uint64_t other = FieldSpan::Of(traits).ValueIn(*word);
                const NumberForm form = PeripheralImage::FieldForm(*child);
                const QString text = form == NumberForm::Word
                                         ? RowText::SizedWord(other, std::max<uint32_t>(32, traits.width))
                                     : form == NumberForm::Decimal ? RowText::Decimal(other)
                                                                   : RowText::Hex(other);
                add(*child, other, text);
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

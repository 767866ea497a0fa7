#include "regmap/RowComparison.h"

#include "regmap/PeripheralImage.h"
#include "regmap/RowText.h"

#include <map>

RowComparison RowComparison::AgainstImage(const RegisterRow &peripheral, const QByteArray &image)
{
    return Compare(peripheral, [&](uint32_t offset) -> std::optional<uint32_t> {
        if (uint64_t(offset) + 4 > uint64_t(image.size()))
            return std::nullopt;
        return PeripheralImage::Word(image, offset);
    });
}

RowComparison RowComparison::AgainstRows(const RegisterRow &peripheral, const RegisterRow &other)
{
    std::map<uint32_t, uint32_t> words;
    for (const auto &reg : other.Children())
        words.emplace(PeripheralImage::WordOffset(*reg), reg->Number());
    return Compare(peripheral, [&](uint32_t offset) -> std::optional<uint32_t> {
        const auto word = words.find(offset);
        return word == words.end() ? std::nullopt : std::optional<uint32_t>(word->second);
    });
}

RowComparison RowComparison::Compare(const RegisterRow &peripheral, const OtherWord &otherWord)
{
    RowComparison comparison;
    auto add = [&](const RegisterRow &row, uint32_t other, QString otherText) {
        const uint32_t current = row.Number();
        if (current == other)
            return;
        comparison.m_index.emplace(row.Id(), comparison.m_differences.size());
        comparison.m_differences.push_back({&row, current, other, std::move(otherText)});
    };
    for (const auto &reg : peripheral.Children()) {
        const std::optional<uint32_t> word = otherWord(PeripheralImage::WordOffset(*reg));
        if (!word) {
            comparison.m_notInOther.insert(reg->Id());
            for (const auto &child : reg->Children())
                comparison.m_notInOther.insert(child->Id());
            continue;
        }
        add(*reg, *word, RowText::Word(*word));
        for (const auto &child : reg->Children()) {
            if (child->RowKind() == RegisterRow::Kind::Value) {
                add(*child, *word,
                    child->Form() == NumberForm::Decimal ? QString::number(*word) : RowText::Word(*word));
            } else {
                const RegisterRowTraits &traits = child->Traits();
                const uint32_t other = RowText::FieldValue(*word, traits.low, traits.width);
                const NumberForm form = PeripheralImage::FieldForm(*child);
                const QString text = form == NumberForm::Word      ? RowText::Word(other)
                                     : form == NumberForm::Decimal ? QString::asprintf("%u", other)
                                                                   : QString::asprintf("0x%X", other);
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

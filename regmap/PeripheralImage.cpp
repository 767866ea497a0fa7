#include "regmap/PeripheralImage.h"

#include "link/ChipProfile.h"
#include "link/LinkCycle.h"
#include "regmap/RowBits.h"
#include "regmap/RowText.h"

#include <algorithm>
#include <cstring>

namespace PeripheralImage {

namespace {

// Whether the register's rows already show the words as filled values.
bool AlreadyShows(const RegisterRow &reg, uint64_t words)
{
    const uint64_t value = RegisterValue(reg, words);
    if (reg.Number() != value || reg.LastWord() != uint32_t(words))
        return false;
    for (const auto &child : reg.Children()) {
        const RegisterRow::Kind kind = child->RowKind();
        const uint64_t expected =
            kind == RegisterRow::Kind::Value ? value : FieldSpan::Of(child->Traits()).ValueIn(value);
        if (child->Number() != expected || child->IsModified())
            return false;
        if (kind == RegisterRow::Kind::Value && child->Form() == NumberForm::Hex)
            return false;
    }
    return true;
}

// The words (by index from the base) that hold a register.
std::pair<uint32_t, uint32_t> WordsOf(const RegisterRow &reg)
{
    const uint32_t first = WordOffset(reg) / 4;
    return {first, first + (ValueBytes(reg) + 3) / 4};
}

} // namespace

std::vector<bool> LeftOutWords(const RegisterRow &peripheral)
{
    const RegisterRowTraits &traits = peripheral.Traits();
    const uint32_t words = uint32_t((uint64_t(traits.span) + 3) / 4);
    std::vector<bool> leftOut;
    for (const ChipProfile::RefusedWindow &window : ChipProfile::RefusedReads(traits.chipModel)) {
        const uint64_t base = traits.base;
        if (uint64_t(window.last) < base || uint64_t(window.first) >= base + uint64_t(words) * 4)
            continue;
        const uint64_t first = window.first > base ? (window.first - base) / 4 : 0;
        const uint64_t last = std::min<uint64_t>(words - 1, (uint64_t(window.last) - base) / 4);
        leftOut.resize(words, false);
        for (uint64_t word = first; word <= last; ++word)
            leftOut[word] = true;
    }
    for (const auto &reg : peripheral.Children()) {
        if (!reg->Traits().readHasSideEffect)
            continue;
        const auto [first, end] = WordsOf(*reg);
        for (uint32_t word = first; word < end && word < words; ++word) {
            leftOut.resize(words, false);
            leftOut[word] = true;
        }
    }
    return leftOut;
}

std::optional<QString> ReadRefusal(const RegisterRow &reg)
{
    const QString &chip = reg.Peripheral().Traits().chipModel;
    const uint32_t word = reg.Traits().address - (reg.Traits().offset & 3u);
    if (std::optional<QString> refusal = ChipProfile::CheckReadAddress(chip, word))
        return refusal;
    return ChipProfile::CheckReadAddress(chip, word + 3);
}

bool WordReadChangesChip(const RegisterRow &reg)
{
    const RegisterRow *peripheral = reg.Parent();
    if (!peripheral)
        return reg.Traits().readHasSideEffect;
    for (const auto &other : peripheral->Children())
        if (other->Traits().readHasSideEffect && WordOffset(*other) == WordOffset(reg))
            return true;
    return false;
}

std::vector<Run> ReadRuns(uint32_t span, const std::vector<bool> &leftOut)
{
    if (leftOut.empty())
        return {{0, span}};
    std::vector<Run> runs;
    const auto words = uint32_t(leftOut.size());
    for (uint32_t word = 0; word < words;) {
        if (leftOut[word]) {
            ++word;
            continue;
        }
        uint32_t end = word;
        while (end < words && !leftOut[end])
            ++end;
        const uint32_t start = word * 4;
        runs.push_back({start, std::min(end * 4, span) - start});
        word = end;
    }
    return runs;
}

bool Read(LinkCycle &cycle, uint32_t base, uint32_t span, const std::vector<bool> &leftOut, QByteArray &image)
{
    image.resize(qsizetype(span), '\0');
    const auto *buffer = reinterpret_cast<const char *>(cycle.Buffer().data());
    for (const Run &run : ReadRuns(span, leftOut)) {
        if (!cycle.Read(base + run.offset, run.length))
            return false;
        std::memcpy(image.data() + run.offset, buffer, run.length);
    }
    return true;
}

uint32_t Word(const QByteArray &image, uint32_t offset)
{
    uint32_t word = 0;
    for (uint32_t i = 0; i < 4; ++i)
        if (uint64_t(offset) + i < uint64_t(image.size()))
            word |= uint32_t(uint8_t(image[qsizetype(offset + i)])) << (8 * i);
    return word;
}

uint64_t Bytes(const QByteArray &image, uint32_t offset, uint32_t bytes)
{
    uint64_t value = 0;
    for (uint32_t i = 0; i < bytes && i < 8; ++i)
        if (uint64_t(offset) + i < uint64_t(image.size()))
            value |= uint64_t(uint8_t(image[qsizetype(offset + i)])) << (8 * i);
    return value;
}

uint32_t WordOffset(const RegisterRow &reg)
{
    return reg.Traits().offset & ~3u;
}

uint32_t ValueBytes(const RegisterRow &reg)
{
    return std::max<uint32_t>(4, (RegisterBits::Of(reg.Traits()).ValueBits() + 7) / 8);
}

uint64_t RegisterWords(const RegisterRow &reg, const QByteArray &image)
{
    return Bytes(image, WordOffset(reg), ValueBytes(reg));
}

uint64_t RegisterValue(const RegisterRow &reg, uint64_t words)
{
    const RegisterBits bits = RegisterBits::Of(reg.Traits());
    return (words >> bits.Shift()) & bits.Mask();
}

NumberForm FieldForm(const RegisterRow &field)
{
    if (field.Traits().width >= 32)
        return NumberForm::Word;
    return field.Form() == NumberForm::Decimal ? NumberForm::Decimal : NumberForm::Hex;
}

void FillFields(RegisterRowTree &tree, RegisterRow *reg, uint64_t value)
{
    for (const auto &child : reg->Children()) {
        if (child->RowKind() != RegisterRow::Kind::Field)
            continue;
        const RegisterRowTraits &traits = child->Traits();
        tree.SetFilledValue(child.get(), FieldSpan::Of(traits).ValueIn(value), FieldForm(*child));
    }
}

void FillRegister(RegisterRowTree &tree, RegisterRow *reg, uint64_t words, const ValueSource &source)
{
    const uint64_t value = RegisterValue(*reg, words);
    tree.SetRegisterValue(reg, value, uint32_t(words));
    tree.SetSource(reg, source);
    for (const auto &child : reg->Children())
        if (child->RowKind() == RegisterRow::Kind::Value)
            tree.SetFilledValue(child.get(), value, NumberForm::Word);
    FillFields(tree, reg, value);
}

void Fill(RegisterRowTree &tree, RegisterRow *peripheral, const QByteArray &image, const ValueSource &source,
          Registers which)
{
    for (const auto &reg : peripheral->Children()) {
        // A register the image does not hold keeps what it shows.
        if (uint64_t(WordOffset(*reg)) + ValueBytes(*reg) > uint64_t(image.size()))
            continue;
        const uint64_t word = RegisterWords(*reg, image);
        if (which == Registers::LeaveLeftOut && reg->Traits().readHasSideEffect)
            continue;
        // The chip was never asked for it: what the image holds there is not its value.
        if (source.kind == ValueSource::Kind::Chip && ReadRefusal(*reg))
            continue;
        if (which == Registers::LeaveLeftOut && AlreadyShows(*reg, word)) {
            if (reg->Source().kind != source.kind || reg->Source().stale)
                tree.SetSource(reg.get(), source);
            continue;
        }
        FillRegister(tree, reg.get(), word, source);
    }
}

QByteArray Of(const RegisterRow &peripheral, const QByteArray &around)
{
    QByteArray image = around;
    auto setBytes = [&](uint32_t offset, uint64_t value, uint32_t bytes) {
        for (uint32_t i = 0; i < bytes; ++i)
            if (uint64_t(offset) + i < uint64_t(image.size()))
                image[qsizetype(offset + i)] = char(uint8_t(value >> (8 * i)));
    };
    std::vector<uint32_t> narrowWords; // words a narrow register has already been merged into
    for (const auto &reg : peripheral.Children()) {
        const uint32_t offset = WordOffset(*reg);
        const uint64_t value = reg->Number();
        const RegisterBits bits = RegisterBits::Of(reg->Traits());
        if (bits.ValueBits() >= 32) {
            setBytes(offset, value, ValueBytes(*reg));
            continue;
        }
        const bool merged = std::find(narrowWords.begin(), narrowWords.end(), offset) != narrowWords.end();
        const uint32_t aroundWord = merged ? Word(image, offset) : reg->LastWord();
        const uint32_t shift = bits.Shift();
        const auto mask = uint32_t(bits.InWords());
        setBytes(offset, (aroundWord & ~mask) | (uint32_t(value << shift) & mask), 4);
        narrowWords.push_back(offset);
    }
    return image;
}

std::vector<bool> CoveredWords(const RegisterRow &peripheral)
{
    std::vector<bool> covered((uint64_t(peripheral.Traits().span) + 3) / 4, false);
    for (const auto &reg : peripheral.Children()) {
        const auto [first, end] = WordsOf(*reg);
        for (uint32_t word = first; word < end && word < covered.size(); ++word)
            covered[word] = true;
    }
    return covered;
}

uint32_t HighestWordEnd(const RegisterRow &peripheral)
{
    uint64_t highest = 0;
    for (const auto &reg : peripheral.Children())
        highest = std::max<uint64_t>(highest, uint64_t(WordOffset(*reg)) + (ValueBytes(*reg) + 3) / 4 * 4);
    return uint32_t(std::min<uint64_t>(highest, 0xFFFFFFFFu));
}

} // namespace PeripheralImage

#include "regmap/RowValues.h"

#include "regmap/RowText.h"

namespace RowValues {

QString RegisterName(const RegisterRow &reg)
{
    return reg.Name().section(u' ', 0, 0);
}

QString ShownName(const RegisterRow &row)
{
    return row.RowKind() == RegisterRow::Kind::Register ? RegisterName(row) : row.Name();
}

QString DescriptionText(const RegisterRow &row)
{
    const QString &description = row.Description();
    switch (row.RowKind()) {
    case RegisterRow::Kind::Peripheral:
        return QString();
    case RegisterRow::Kind::Register:
        return description.mid(21);
    case RegisterRow::Kind::Field:
        return description.mid(description.indexOf(u']') + 1);
    case RegisterRow::Kind::Value:
        break;
    }
    return description;
}

uint32_t Number(const RegisterRow &row)
{
    if (row.RowKind() == RegisterRow::Kind::Register)
        return RowText::CaptionValue(row.Name());
    return RowText::ReadAuto(row.Value());
}

uint32_t RegisterAddress(const RegisterRow &reg)
{
    return RowText::FirstNumber(reg.Description());
}

uint32_t WordOffset(const RegisterRow &reg)
{
    return RowText::SecondNumber(reg.Description()) & ~3u;
}

uint32_t ImageWord(const QByteArray &image, uint32_t offset)
{
    uint32_t word = 0;
    for (uint32_t i = 0; i < 4; ++i)
        if (uint64_t(offset) + i < uint64_t(image.size()))
            word |= uint32_t(uint8_t(image[qsizetype(offset + i)])) << (8 * i);
    return word;
}

QString FieldText(const RegisterRow &field, uint32_t word)
{
    return RowText::DecodeField(word, field.Description(), field.Value());
}

QString FieldBitsText(const RegisterRow &field)
{
    const QString &description = field.Description();
    return description.left(description.indexOf(u']') + 1);
}

} // namespace RowValues

#include "regmap/RegisterRow.h"

#include "regmap/RowText.h"

#include <algorithm>

RegisterRow::RegisterRow(uint64_t id, Kind kind, QString name, QString description, bool editable)
    : m_id(id)
    , m_kind(kind)
    , m_name(std::move(name))
    , m_description(std::move(description))
    , m_editable(editable)
{
    if (kind == Kind::Register || kind == Kind::Value)
        m_shown.form = m_baseline.form = NumberForm::Word;
}

RegisterRow *RegisterRow::AddChild(std::unique_ptr<RegisterRow> child)
{
    child->m_parent = this;
    child->m_index = int(m_children.size());
    m_children.push_back(std::move(child));
    return m_children.back().get();
}

const RegisterRow &RegisterRow::Peripheral() const
{
    const RegisterRow *row = this;
    while (row->m_parent)
        row = row->m_parent;
    return *row;
}

const ValueSource &RegisterRow::Source() const
{
    if ((m_kind == Kind::Value || m_kind == Kind::Field) && m_parent)
        return m_parent->m_source;
    return m_source;
}

QString RegisterRow::FormText(uint64_t number, NumberForm form) const
{
    switch (form) {
    case NumberForm::Word:
        // A value row writes its register's width; a field of a whole word or more its own.
        if (m_kind == Kind::Field)
            return RowText::SizedWord(number, std::max<uint32_t>(m_traits.width, 32));
        return RowText::SizedWord(number, m_kind == Kind::Value && m_parent ? m_parent->m_traits.bits : m_traits.bits);
    case NumberForm::Hex:
        return RowText::Hex(number);
    case NumberForm::Decimal:
        return RowText::Decimal(number);
    }
    return QString();
}

QString RegisterRow::Render(const Shown &shown) const
{
    if (shown.typed)
        return *shown.typed;
    QString text = FormText(shown.number, shown.form);
    if (m_kind == Kind::Field)
        text += RowText::EnumSuffix(shown.number, m_traits.choices);
    return text;
}

QString RegisterRow::Name() const
{
    if (m_kind != Kind::Register)
        return m_name;
    return RowText::Caption(m_name, NumberText(), m_captionColumn);
}

QString RegisterRow::Value() const
{
    if (m_kind == Kind::Peripheral || m_kind == Kind::Register)
        return QString();
    return Render(m_shown);
}

bool RegisterRow::IsNeverRead() const
{
    return m_kind != Kind::Peripheral && Source().kind == ValueSource::Kind::NotRead && !IsModified();
}

QString RegisterRow::ShownName() const
{
    if (m_kind == Kind::Register && IsNeverRead())
        return RowText::Caption(m_name, QString::fromUtf8(RowText::kNotRead), m_captionColumn);
    return Name();
}

QString RegisterRow::ShownValue() const
{
    if (m_kind != Kind::Register && IsNeverRead())
        return QString::fromUtf8(RowText::kNotRead);
    return Value();
}

QString RegisterRow::NumberText() const
{
    return FormText(m_shown.number, m_shown.form);
}

QString RegisterRow::Baseline() const
{
    if (m_kind == Kind::Peripheral || m_kind == Kind::Register)
        return QString();
    return Render(m_baseline);
}

bool RegisterRow::IsModified() const
{
    if (m_kind == Kind::Peripheral || m_kind == Kind::Register)
        return false;
    return m_shown.number != m_baseline.number;
}

QString RegisterRow::Description() const
{
    switch (m_kind) {
    case Kind::Peripheral:
        return RowText::PeripheralDescription(m_traits.base, m_traits.span);
    case Kind::Register: {
        QString text = RowText::RegisterDescription(m_traits.address, m_traits.offset, m_description);
        if (m_traits.readHasSideEffect)
            text += QString::fromUtf8(RowText::kReadClearsNote);
        return text;
    }
    case Kind::Field:
        return RowText::FieldDescription(m_traits.low, m_traits.width, m_description);
    case Kind::Value:
        break;
    }
    return m_description;
}

QString RegisterRow::FieldBitsText() const
{
    return RowText::FieldBits(m_traits.low, m_traits.width);
}

QString RegisterRow::ChoiceName() const
{
    for (const SvdEnumValue &choice : m_traits.choices)
        if (choice.value == m_shown.number)
            return choice.name;
    return QString();
}

RegisterRow *RegisterRow::EditedRow()
{
    if (m_kind == Kind::Register && !m_children.empty() && m_children.front()->m_kind == Kind::Value)
        return m_children.front().get();
    return this;
}

#include "regmap/RegisterRow.h"

#include "regmap/RowText.h"

RegisterRow::RegisterRow(uint64_t id, QString name, QString description, bool editable)
    : m_id(id)
    , m_name(std::move(name))
    , m_description(std::move(description))
    , m_editable(editable)
{}

RegisterRow::Kind RegisterRow::RowKind() const
{
    if (!m_parent)
        return Kind::Peripheral;
    if (!m_children.empty())
        return Kind::Register;
    return m_name == QLatin1String(RowText::kValueRowName) ? Kind::Value : Kind::Field;
}

RegisterRow *RegisterRow::AddChild(std::unique_ptr<RegisterRow> child)
{
    child->m_parent = this;
    child->m_index = int(m_children.size());
    m_children.push_back(std::move(child));
    return m_children.back().get();
}

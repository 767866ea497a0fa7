#include "regmap/RegisterRowTree.h"

RegisterRow *RegisterRowTree::FindTopRow(const QString &name) const
{
    for (const auto &row : m_rows)
        if (row->Name() == name)
            return row.get();
    return nullptr;
}

RegisterRow *RegisterRowTree::FindById(uint64_t id) const
{
    for (const auto &row : m_rows)
        if (RegisterRow *found = FindIn(row.get(), id))
            return found;
    return nullptr;
}

RegisterRow *RegisterRowTree::FindIn(RegisterRow *row, uint64_t id)
{
    if (row->Id() == id)
        return row;
    for (const auto &child : row->Children())
        if (RegisterRow *found = FindIn(child.get(), id))
            return found;
    return nullptr;
}

std::unique_ptr<RegisterRow> RegisterRowTree::MakeRow(QString name, QString description, bool editable, QString value)
{
    auto row = std::make_unique<RegisterRow>(m_nextId++, std::move(name), std::move(description), editable);
    row->m_baseline = value;
    row->m_value = std::move(value);
    return row;
}

RegisterRow *RegisterRowTree::AppendTopRow(std::unique_ptr<RegisterRow> row)
{
    row->m_parent = nullptr;
    row->m_index = int(m_rows.size());
    m_rows.push_back(std::move(row));
    RegisterRow *added = m_rows.back().get();
    if (m_listener)
        m_listener->TopRowAppended(*added);
    return added;
}

bool RegisterRowTree::Contains(const RegisterRow *top, const RegisterRow *row) const
{
    for (; row; row = row->Parent())
        if (row == top)
            return true;
    return false;
}

void RegisterRowTree::RemoveTopRow(RegisterRow *row)
{
    if (!row || row->Parent())
        return;
    if (m_listener)
        m_listener->TopRowRemoving(*row);
    if (Contains(row, m_selected))
        Select(nullptr);
    m_rows.erase(m_rows.begin() + row->Index());
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i]->m_index = int(i);
}

void RegisterRowTree::Clear()
{
    m_selected = nullptr;
    m_rows.clear();
    if (m_listener)
        m_listener->RowsCleared();
}

void RegisterRowTree::Changed(const RegisterRow *row)
{
    if (m_listener)
        m_listener->RowChanged(*row);
}

void RegisterRowTree::SetFilledValue(RegisterRow *row, const QString &value)
{
    row->m_value = value;
    row->m_baseline = value;
    Changed(row);
}

void RegisterRowTree::SetEditedValue(RegisterRow *row, const QString &value)
{
    row->m_value = value;
    Changed(row);
}

void RegisterRowTree::SetBaseline(RegisterRow *row, const QString &baseline)
{
    row->m_baseline = baseline;
    Changed(row);
}

void RegisterRowTree::SetName(RegisterRow *row, const QString &name)
{
    row->m_name = name;
    Changed(row);
}

void RegisterRowTree::SetDescription(RegisterRow *row, const QString &description)
{
    row->m_description = description;
    Changed(row);
}

void RegisterRowTree::SetExpanded(RegisterRow *row, bool expanded)
{
    row->m_expanded = expanded;
    Changed(row);
}

void RegisterRowTree::SetHeaderTitles(const QString &left, const QString &right)
{
    m_leftTitle = left;
    m_rightTitle = right;
    if (m_listener)
        m_listener->HeaderTitlesChanged();
}

void RegisterRowTree::Select(RegisterRow *row)
{
    m_selected = row;
    if (m_listener)
        m_listener->SelectionChanged();
}

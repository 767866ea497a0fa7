#include "regmap/RegisterRowTree.h"

#include "regmap/RowText.h"

#include <algorithm>
#include <utility>

RegisterRow *RegisterRowTree::FindTopRow(const QString &name) const
{
    for (const auto &row : m_rows)
        if (row->Name() == name)
            return row.get();
    return nullptr;
}

namespace {

void IdSpan(const RegisterRow &row, uint64_t &low, uint64_t &high)
{
    low = std::min(low, row.Id());
    high = std::max(high, row.Id());
    for (const auto &child : row.Children())
        IdSpan(*child, low, high);
}

void Place(RegisterRow *row, uint64_t first, std::vector<RegisterRow *> &rows)
{
    rows[std::size_t(row->Id() - first)] = row;
    for (const auto &child : row->Children())
        Place(child.get(), first, rows);
}

} // namespace

RegisterRow *RegisterRowTree::FindById(uint64_t id) const
{
    auto run = std::upper_bound(m_byId.begin(), m_byId.end(), id,
                                [](uint64_t wanted, const IdRun &r) { return wanted < r.first; });
    if (run == m_byId.begin())
        return nullptr;
    --run;
    return id - run->first < run->rows.size() ? run->rows[std::size_t(id - run->first)] : nullptr;
}

void RegisterRowTree::IndexRows(RegisterRow *top)
{
    uint64_t low = top->Id();
    uint64_t high = top->Id();
    IdSpan(*top, low, high);
    IdRun run{low, std::vector<RegisterRow *>(std::size_t(high - low + 1), nullptr)};
    Place(top, low, run.rows);
    const auto at = std::upper_bound(m_byId.begin(), m_byId.end(), low,
                                     [](uint64_t first, const IdRun &r) { return first < r.first; });
    m_byId.insert(at, std::move(run));
}

void RegisterRowTree::UnindexRows(const RegisterRow *top)
{
    uint64_t low = top->Id();
    uint64_t high = top->Id();
    IdSpan(*top, low, high);
    const auto at = std::lower_bound(m_byId.begin(), m_byId.end(), low,
                                     [](const IdRun &r, uint64_t first) { return r.first < first; });
    if (at != m_byId.end() && at->first == low)
        m_byId.erase(at);
}

std::unique_ptr<RegisterRow> RegisterRowTree::MakeRow(RegisterRow::Kind kind, QString name, QString description,
                                                      bool editable, RegisterRowTraits traits)
{
    auto row = std::make_unique<RegisterRow>(m_nextId++, kind, std::move(name), std::move(description), editable);
    row->m_traits = std::move(traits);
    return row;
}

RegisterRow *RegisterRowTree::AppendTopRow(std::unique_ptr<RegisterRow> row)
{
    row->m_parent = nullptr;
    row->m_index = int(m_rows.size());
    m_rows.push_back(std::move(row));
    RegisterRow *added = m_rows.back().get();
    IndexRows(added);
    m_reshaped = true;
    if (m_listener && m_resetDepth == 0)
        m_listener->TopRowAppended(*added);
    return added;
}

RegisterRow *RegisterRowTree::AppendPeripheral(const SvdPeripheral &svd, const BuildOptions &options)
{
    RegisterRowTraits peripheralTraits;
    peripheralTraits.base = svd.baseAddress;
    peripheralTraits.span = svd.span;
    peripheralTraits.chipModel = options.chipModel;
    auto peripheral = MakeRow(RegisterRow::Kind::Peripheral, svd.name, QString(), false, peripheralTraits);
    const NumberForm fieldForm = options.hex ? NumberForm::Hex : NumberForm::Decimal;
    for (const SvdRegister &reg : svd.registers) {
        RegisterRowTraits traits;
        traits.address = reg.address;
        traits.offset = reg.addressOffset;
        traits.bits = reg.size;
        traits.access = reg.access;
        traits.resetValue = reg.resetValue;
        traits.resetMask = reg.resetMask;
        traits.readAction = reg.readAction;
        traits.readHasSideEffect = reg.readHasSideEffect;
        auto regRow = MakeRow(RegisterRow::Kind::Register, reg.name, reg.description, false, std::move(traits));
        regRow->m_captionColumn = options.captionColumn;
        regRow->AddChild(MakeRow(RegisterRow::Kind::Value, QLatin1String(RowText::kValueRowName),
                                 QString::fromUtf8(RowText::kValueRowDescription), !reg.readOnly));
        for (const SvdField &field : reg.fields) {
            RegisterRowTraits fieldTraits;
            fieldTraits.low = field.bitOffset;
            fieldTraits.width = field.bitWidth;
            fieldTraits.access = field.access;
            fieldTraits.choices = field.enumValues;
            RegisterRow *fieldRow = regRow->AddChild(MakeRow(RegisterRow::Kind::Field, field.name, field.description,
                                                             !reg.readOnly && !field.readOnly, std::move(fieldTraits)));
            fieldRow->m_shown.form = fieldRow->m_baseline.form = fieldForm;
        }
        regRow->m_expanded = options.expandLevel >= 2;
        peripheral->AddChild(std::move(regRow));
    }
    peripheral->m_expanded = options.expandLevel != 0;
    return AppendTopRow(std::move(peripheral));
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
    const bool tell = m_listener && m_resetDepth == 0;
    if (tell)
        m_listener->TopRowRemoving(*row);
    if (Contains(row, m_selected))
        Select(nullptr);
    UnindexRows(row);
    m_reshaped = true;
    m_rows.erase(m_rows.begin() + row->Index());
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        m_rows[i]->m_index = int(i);
    if (tell)
        m_listener->TopRowRemoved();
}

void RegisterRowTree::Clear()
{
    BeginReset();
    m_selected = nullptr;
    m_reshaped = true;
    m_rows.clear();
    m_byId.clear();
    EndReset();
}

void RegisterRowTree::BeginReset()
{
    if (m_resetDepth++ > 0)
        return;
    m_reshaped = false;
    if (m_listener)
        m_listener->RowsClearing();
}

void RegisterRowTree::EndReset()
{
    if (--m_resetDepth > 0)
        return;
    m_lastResetReshaped = m_reshaped;
    if (!m_listener)
        return;
    m_listener->RowsCleared();
    if (std::exchange(m_heldTitles, false))
        m_listener->HeaderTitlesChanged();
    // The view's selection went with its rows: it takes the tree's again.
    if (std::exchange(m_heldSelection, false) || m_selected)
        m_listener->SelectionChanged();
}

void RegisterRowTree::Changed(const RegisterRow *row)
{
    if (m_listener && m_resetDepth == 0)
        m_listener->RowChanged(*row);
}

void RegisterRowTree::SetFilledValue(RegisterRow *row, uint64_t number, NumberForm form)
{
    row->m_shown = {number, form, std::nullopt};
    row->m_baseline = row->m_shown;
    Changed(row);
}

void RegisterRowTree::SetRegisterValue(RegisterRow *reg, uint64_t value, uint32_t word)
{
    reg->m_shown = {value, NumberForm::Word, std::nullopt};
    reg->m_baseline = reg->m_shown;
    reg->m_lastWord = word;
    Changed(reg);
}

void RegisterRowTree::SetEditedValue(RegisterRow *row, uint64_t number, NumberForm form,
                                     const std::optional<QString> &typed)
{
    row->m_shown = {number, form, typed};
    Changed(row);
}

void RegisterRowTree::SetSource(RegisterRow *reg, const ValueSource &source)
{
    reg->m_source = source;
    Changed(reg);
}

void RegisterRowTree::MarkStale(RegisterRow *reg)
{
    if (reg->m_source.kind == ValueSource::Kind::NotRead || reg->m_source.stale)
        return;
    reg->m_source.stale = true;
    Changed(reg);
}

void RegisterRowTree::AcceptValue(RegisterRow *row)
{
    row->m_baseline = row->m_shown;
    Changed(row);
}

void RegisterRowTree::RevertValue(RegisterRow *row)
{
    row->m_shown = row->m_baseline;
    Changed(row);
}

void RegisterRowTree::SetCaptionColumn(RegisterRow *reg, int column)
{
    if (reg->m_captionColumn == column)
        return;
    reg->m_captionColumn = column;
    Changed(reg);
}

void RegisterRowTree::SetExpanded(RegisterRow *row, bool expanded)
{
    row->m_expanded = expanded;
    Changed(row);
}

void RegisterRowTree::SetHexBase(bool hex)
{
    if (hex == m_hexBase)
        return;
    m_hexBase = hex;
    if (m_listener && m_resetDepth == 0)
        m_listener->NumberBaseChanged();
}

void RegisterRowTree::SetHeaderTitles(const QString &left, const QString &right)
{
    m_leftTitle = left;
    m_rightTitle = right;
    if (m_resetDepth > 0)
        m_heldTitles = true;
    else if (m_listener)
        m_listener->HeaderTitlesChanged();
}

void RegisterRowTree::Select(RegisterRow *row)
{
    m_selected = row;
    if (m_resetDepth > 0)
        m_heldSelection = true;
    else if (m_listener)
        m_listener->SelectionChanged();
}

#include "widgets/EditableListCtrl.h"

#include <QHeaderView>
#include <QMouseEvent>

EditableListCtrl::EditableListCtrl(QWidget *parent)
    : QTableWidget(parent)
{
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setSectionsClickable(true);
    horizontalHeader()->setHighlightSections(false);
    connect(this, &QTableWidget::itemChanged, this, &EditableListCtrl::OnItemChanged);
}

void EditableListCtrl::InsertColumn(int column, const QString &heading, Qt::Alignment alignment, int width)
{
    column = std::clamp(column, 0, columnCount());
    insertColumn(column);
    auto *header = new QTableWidgetItem(heading);
    header->setTextAlignment(alignment | Qt::AlignVCenter);
    setHorizontalHeaderItem(column, header);
    setColumnWidth(column, width);
    for (size_t row = 0; row < m_rows.size(); ++row) {
        auto &cells = m_rows[row].cells;
        cells.insert(cells.begin() + column, CellRecord{});
        Apply(int(row), column);
    }
}

void EditableListCtrl::RemoveAllRows()
{
    m_rows.clear();
    setRowCount(0);
}

int EditableListCtrl::InsertRow(int index, const QString &text)
{
    index = std::clamp(index, 0, rowCount());
    m_rows.insert(m_rows.begin() + index, RowRecord{true, std::vector<CellRecord>(size_t(columnCount()))});
    insertRow(index);
    for (int column = 0; column < columnCount(); ++column)
        Apply(index, column);
    SetCellText(index, 0, text);
    return index;
}

void EditableListCtrl::SetCheckState(int row, int column, CheckState state)
{
    if (!IsCell(row, column))
        return;
    m_rows[size_t(row)].cells[size_t(column)].check = state;
    Apply(row, column);
}

int EditableListCtrl::GetCheckState(int row, int column) const
{
    if (!IsCell(row, column))
        return kNoSuchCell;
    switch (m_rows[size_t(row)].cells[size_t(column)].check) {
    case CheckState::None:
        return kNoCheckBox;
    case CheckState::Unchecked:
        return kUnchecked;
    case CheckState::Checked:
        return kChecked;
    }
    return kNoCheckBox;
}

void EditableListCtrl::SetRowEnabled(int row, bool enabled)
{
    if (row < 0 || row >= int(m_rows.size()))
        return;
    m_rows[size_t(row)].enabled = enabled;
    for (int column = 0; column < columnCount(); ++column)
        Apply(row, column);
}

bool EditableListCtrl::IsRowEnabled(int row) const
{
    return row >= 0 && row < int(m_rows.size()) && m_rows[size_t(row)].enabled;
}

void EditableListCtrl::SetCellText(int row, int column, const QString &text)
{
    if (!IsCell(row, column))
        return;
    m_applying = true;
    item(row, column)->setText(text);
    item(row, column)->setToolTip(text);
    m_applying = false;
}

QString EditableListCtrl::CellText(int row, int column) const
{
    return IsCell(row, column) ? item(row, column)->text() : QString();
}

void EditableListCtrl::SetCellColors(int row, int column, const QColor &text, const QColor &background)
{
    if (!IsCell(row, column))
        return;
    CellRecord &cell = m_rows[size_t(row)].cells[size_t(column)];
    cell.text = text;
    cell.background = background;
    Apply(row, column);
}

QColor EditableListCtrl::CellTextColor(int row, int column) const
{
    return IsCell(row, column) ? m_rows[size_t(row)].cells[size_t(column)].text : QColor();
}

QColor EditableListCtrl::CellBackgroundColor(int row, int column) const
{
    return IsCell(row, column) ? m_rows[size_t(row)].cells[size_t(column)].background : QColor();
}

void EditableListCtrl::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        emit RowDoubleClicked(rowAt(event->position().toPoint().y()));
}

bool EditableListCtrl::IsCell(int row, int column) const
{
    return row >= 0 && row < int(m_rows.size()) && column >= 0 && column < columnCount();
}

void EditableListCtrl::Apply(int row, int column)
{
    const RowRecord &rowRecord = m_rows[size_t(row)];
    const CellRecord &cell = rowRecord.cells[size_t(column)];
    m_applying = true;
    QTableWidgetItem *cellItem = item(row, column);
    if (cellItem == nullptr) {
        cellItem = new QTableWidgetItem;
        setItem(row, column, cellItem);
    }
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (cell.check == CheckState::None) {
        cellItem->setData(Qt::CheckStateRole, QVariant());
    } else {
        cellItem->setCheckState(cell.check == CheckState::Checked ? Qt::Checked : Qt::Unchecked);
        if (rowRecord.enabled)
            flags |= Qt::ItemIsUserCheckable;
    }
    cellItem->setFlags(flags);
    const QColor text = rowRecord.enabled ? cell.text : palette().color(QPalette::Disabled, QPalette::Text);
    cellItem->setData(Qt::ForegroundRole, text.isValid() ? QVariant(text) : QVariant());
    cellItem->setData(Qt::BackgroundRole, cell.background.isValid() ? QVariant(cell.background) : QVariant());
    m_applying = false;
}

void EditableListCtrl::OnItemChanged(QTableWidgetItem *changed)
{
    if (m_applying)
        return;
    const int row = changed->row();
    const int column = changed->column();
    if (!IsCell(row, column))
        return;
    CellRecord &cell = m_rows[size_t(row)].cells[size_t(column)];
    const QVariant state = changed->data(Qt::CheckStateRole);
    if (cell.check == CheckState::None || !state.isValid())
        return;
    const CheckState now = state.value<Qt::CheckState>() == Qt::Checked ? CheckState::Checked : CheckState::Unchecked;
    if (now == cell.check)
        return;
    if (!m_rows[size_t(row)].enabled) {
        Apply(row, column); // a grey row keeps its check box as it was
        return;
    }
    cell.check = now;
    emit CheckBoxClicked(row, column);
}

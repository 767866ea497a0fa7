#include "app/CoreRegisterModel.h"

#include "link/Tr.h"

#include "app/AppMessages.h"

#include <QFont>
#include <QFontDatabase>

CoreRegisterModel::CoreRegisterModel(std::function<bool()> hex, QObject *parent)
    : QAbstractItemModel(parent)
    , m_hex(std::move(hex))
{}

void CoreRegisterModel::SetRows(std::vector<CoreRegisterRows::Row> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int CoreRegisterModel::RowOf(CoreRegister id) const
{
    for (std::size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].id == id)
            return int(i);
    return -1;
}

const CoreRegisterRows::Row *CoreRegisterModel::RowAt(const QModelIndex &index) const
{
    if (!index.isValid())
        return nullptr;
    if (index.internalId() == 0)
        return index.row() < int(m_rows.size()) ? &m_rows[std::size_t(index.row())] : nullptr;
    const std::size_t parentRow = std::size_t(index.internalId() - 1);
    if (parentRow >= m_rows.size() || index.row() >= int(m_rows[parentRow].fields.size()))
        return nullptr;
    return &m_rows[parentRow].fields[std::size_t(index.row())];
}

QModelIndex CoreRegisterModel::index(int row, int column, const QModelIndex &parent) const
{
    if (row < 0 || column < 0 || column >= ColumnCount || row >= rowCount(parent))
        return {};
    return createIndex(row, column, parent.isValid() ? quintptr(parent.row() + 1) : quintptr(0));
}

QModelIndex CoreRegisterModel::parent(const QModelIndex &child) const
{
    if (!child.isValid() || child.internalId() == 0)
        return {};
    return createIndex(int(child.internalId() - 1), 0, quintptr(0));
}

int CoreRegisterModel::rowCount(const QModelIndex &parent) const
{
    if (!parent.isValid())
        return int(m_rows.size());
    if (parent.internalId() != 0 || parent.column() != 0 || parent.row() >= int(m_rows.size()))
        return 0;
    return int(m_rows[std::size_t(parent.row())].fields.size());
}

int CoreRegisterModel::columnCount(const QModelIndex &) const
{
    return ColumnCount;
}

QVariant CoreRegisterModel::data(const QModelIndex &index, int role) const
{
    const CoreRegisterRows::Row *row = RowAt(index);
    if (!row)
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        switch (index.column()) {
        case NameColumn:
            return row->name;
        case ValueColumn:
            return CoreRegisterRows::ValueText(*row, m_hex());
        case MeaningColumn:
            return row->meaning;
        }
    }
    if (role == Qt::FontRole && index.column() == ValueColumn)
        return QFontDatabase::systemFont(QFontDatabase::FixedFont);
    return {};
}

QVariant CoreRegisterModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char *const kTitles[ColumnCount] = {CoreWindowText::kNameTitle, CoreWindowText::kValueTitle,
                                                     CoreWindowText::kMeaningTitle};
    return section >= 0 && section < ColumnCount ? Tr(kTitles[section]) : QVariant();
}

Qt::ItemFlags CoreRegisterModel::flags(const QModelIndex &index) const
{
    const CoreRegisterRows::Row *row = RowAt(index);
    if (!row)
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == ValueColumn && row->writable && row->state == CoreRegisterRows::State::Read)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool CoreRegisterModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    const CoreRegisterRows::Row *row = RowAt(index);
    if (role != Qt::EditRole || !row || !(flags(index) & Qt::ItemIsEditable) || !row->id)
        return false;
    const QString text = value.toString();
    if (text == CoreRegisterRows::ValueText(*row, m_hex()))
        return false; // unchanged: nothing to write
    if (writeRequested)
        writeRequested(*row->id, text);
    return false; // the grid shows the value read back, not the one typed
}

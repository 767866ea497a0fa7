#include "ipcheck/ui/LogListModel.h"

#include "link/Tr.h"

LogListModel::LogListModel(QObject *parent)
    : QAbstractTableModel(parent)
{}

std::optional<QColor> LogListModel::TagColor(const QString &text)
{
    static const struct
    {
        const char *tag;
        QColor color;
    } kTags[] = {
        {"[ERROR]", QColor(235, 51, 36)},
        {"[WARN]", QColor(234, 63, 247)},
        {"[Suggestion]", QColor(0, 35, 245)},
    };
    for (const auto &entry : kTags) {
        if (text.contains(QLatin1StringView(entry.tag)))
            return entry.color;
    }
    return std::nullopt;
}

void LogListModel::AppendRows(const QStringList &rows)
{
    QStringList added;
    added.reserve(rows.size());
    for (const QString &row : rows) {
        if (!row.isEmpty())
            added << row;
    }
    if (added.isEmpty())
        return;
    const int first = int(m_rows.size());
    beginInsertRows(QModelIndex(), first, first + int(added.size()) - 1);
    m_rows += added;
    endInsertRows();
}

void LogListModel::RemoveAllRows()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

int LogListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int LogListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant LogListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return QVariant();
    const QString &text = m_rows[index.row()];
    if (role == Qt::DisplayRole)
        return text;
    if (role == Qt::ForegroundRole) {
        if (const std::optional<QColor> color = TagColor(text))
            return *color;
    }
    return QVariant();
}

QVariant LogListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal && section == 0)
        return Tr(QT_TRANSLATE_NOOP("Corvane", "trace info"));
    return QAbstractTableModel::headerData(section, orientation, role);
}

#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>

#include <optional>

// The rows of the log list: one column of texts. Rows that carry one of the
// analyzer's tags are given the tag's text colour, looking for "[ERROR]",
// "[WARN]" and "[Suggestion]" in that order, anywhere, case-sensitive.
class LogListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit LogListModel(QObject *parent = nullptr);

    static std::optional<QColor> TagColor(const QString &text);

    // New last rows in order; empty texts add no row.
    void AppendRows(const QStringList &rows);
    void RemoveAllRows();
    const QStringList &Rows() const { return m_rows; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QStringList m_rows;
};

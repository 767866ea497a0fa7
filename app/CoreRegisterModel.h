#pragma once

#include "ops/CoreRegisterRows.h"

#include <QAbstractItemModel>

#include <functional>

// The core registers as a two-level grid model: a register per top row,
// xPSR's and CONTROL's fields under theirs. Columns: name, value in the
// chosen base, the field's meaning. A writable register's value takes an
// edit, handed to `writeRequested` as the typed text; the grid keeps what
// was read until the next read says otherwise.
class CoreRegisterModel : public QAbstractItemModel
{
    Q_OBJECT

public:
    enum Column { NameColumn, ValueColumn, MeaningColumn, ColumnCount };

    // `hex` tells the base at the moment a value is drawn.
    explicit CoreRegisterModel(std::function<bool()> hex, QObject *parent = nullptr);

    // New rows, by a model reset.
    void SetRows(std::vector<CoreRegisterRows::Row> rows);
    const std::vector<CoreRegisterRows::Row> &Rows() const { return m_rows; }
    // The top row of a register, or -1.
    int RowOf(CoreRegister id) const;

    // A committed edit of a writable register: its id and the text typed.
    std::function<void(CoreRegister, const QString &)> writeRequested;

    QModelIndex index(int row, int column, const QModelIndex &parent = {}) const override;
    QModelIndex parent(const QModelIndex &child) const override;
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;

private:
    // Top rows carry id 0; a field carries its register's row + 1.
    const CoreRegisterRows::Row *RowAt(const QModelIndex &index) const;

    std::function<bool()> m_hex;
    std::vector<CoreRegisterRows::Row> m_rows;
};

#pragma once

#include "regmap/RegisterRowTree.h"
#include "regmap/RowTreeListener.h"
#include "widgets/PropertyModel.h"

#include <QHash>

#include <optional>

// A register window's rows as an item model: the typed rows of its tree,
// followed through the tree's listener. The view asks only for the rows it
// shows; nothing is copied out of the rows, and ids are looked up in the tree.
// Column 1 shows every value in the window's number base, a value never read
// as "—", a value loaded from a file in italics and an old one in grey, with
// where it came from in its tooltip.
class RegisterRowModel : public PropertyModel, public RowTreeListener
{
    Q_OBJECT

public:
    enum Column { Name, Value, Address, Offset, Bits, Access, Reset, Description, ColumnCount };

    explicit RegisterRowModel(const RegisterRowTree &tree, QObject *parent = nullptr);

    // A register edited and not yet written (values written from the row
    // menu): its changed values are drawn bold in the pending colour, with
    // the chip's last word in their tooltips (none when it was never read).
    // The mark goes with the write, or when the rows are filled again.
    void MarkPending(const RegisterRow &reg, std::optional<uint64_t> chipWord);
    void ClearPending(const RegisterRow &reg);
    bool IsPending(const RegisterRow &row) const;

    // The value as column 1 draws it; for editing, the number alone.
    static QString ValueText(const RegisterRow &row, bool hex, bool forEditing = false);
    const RegisterRow *RowAt(const QModelIndex &index) const;

    // PropertyModel
    QModelIndex IndexOf(uint64_t id, int column = 0) const override;
    QModelIndex index(int row, int column, const QModelIndex &parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex &index) const override;
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // RowTreeListener
    void RowsClearing() override;
    void RowsCleared() override;
    void TopRowAppended(const RegisterRow &row) override;
    void TopRowRemoving(const RegisterRow &row) override;
    void TopRowRemoved() override;
    void RowChanged(const RegisterRow &row) override;
    void HeaderTitlesChanged() override;
    void NumberBaseChanged() override;

private:
    QModelIndex IndexOfRow(const RegisterRow *row, int column) const;
    QString ColumnText(const RegisterRow &row, int column) const;
    QString SourceText(const RegisterRow &row) const;

    const RegisterRowTree &m_tree;
    // Registers edited and not yet written: the chip's last word, if known.
    QHash<uint64_t, std::optional<uint64_t>> m_pending;
};

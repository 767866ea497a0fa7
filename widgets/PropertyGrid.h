#pragma once

#include "widgets/PropertyModel.h"

#include <QStringList>
#include <QWidget>

#include <cstdint>

class QLabel;
class QModelIndex;
class QTreeView;

// A property grid: a tree view over a PropertyModel with a name and a value
// column (and whatever further columns the model has, each of which the user
// can show or hide from the header's menu) under a header with two titles,
// in-place editing of editable values (F2, Enter or a click on the value;
// Enter commits, Escape cancels), modified values in bold, the rows' marks,
// and a description area below that shows the selected row's name and
// description. Rows are addressed by the model's ids; the grid keeps no
// meaning of its own.
class PropertyGrid : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kDescriptionRows = 5;
    using RowMarks = PropertyModel::RowMarks;

    explicit PropertyGrid(QWidget *parent = nullptr);

    // The rows; the grid does not own the model.
    void SetModel(PropertyModel *model);
    PropertyModel *Model() const { return m_model; }
    QModelIndex Index(uint64_t id, int column = 0) const;

    void SetRowMarks(uint64_t id, const RowMarks &marks);
    RowMarks Marks(uint64_t id) const;
    void SetRowHidden(uint64_t id, bool hidden);
    bool IsRowHidden(uint64_t id) const;

    void SetHeaderTitles(const QString &left, const QString &right);
    QString LeftTitle() const;
    QString RightTitle() const;
    // The columns past the value column the user has chosen to see.
    QList<int> ShownExtraColumns() const;
    void SetShownExtraColumns(const QList<int> &columns);

    // The name column's width as asked (by the owner, or by the user's drag);
    // the grid draws it narrower where the value would not fit beside it.
    int NameColumnWidth() const;
    void SetNameColumnWidth(int width);
    // Whether the user dragged the divider (or the owner restored a dragged
    // width): the name column then keeps that width across resizes instead
    // of taking the room the value does not need.
    bool NameColumnDragged() const { return m_nameDragged; }
    void SetNameColumnDragged(bool dragged);
    void SetCaptionFont(const QFont &font);

    uint64_t SelectedId() const;
    void Select(uint64_t id);
    // Opens the in-place editor of an editable row's value.
    bool EditValue(uint64_t id);
    // Ends an open in-place edit, keeping the text typed so far.
    void EndEdit();

    QTreeView *Tree() const { return m_tree; }
    QString DescriptionText() const;

signals:
    void ValueEdited(uint64_t id, const QString &text);
    void ValueChosen(uint64_t id, quint64 value);
    // The user tried to edit a value that takes no edit (F2, Enter, Space or
    // a click on it).
    void EditRefused(uint64_t id);
    void ButtonReleased(Qt::MouseButton button, const QPoint &gridPosition);
    // A right click (or the menu key) over the rows, after the row under
    // the pointer became the selected one.
    void ContextMenuRequested(const QPoint &gridPosition);
    // The user dragged the divider to this width.
    void NameColumnChanged(int width);
    // The user opened or closed a row.
    void RowExpansionChanged(uint64_t id, bool expanded);
    void GridWidthChanged(int width);
    // The user showed or hid a column from the header's menu.
    void ColumnsChosen();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void ShowDescription();
    // Opens the value's editor, or says it takes none when it has a value.
    bool TryEdit(const QModelIndex &index);
    void FollowExpansion(const QModelIndex &first, const QModelIndex &last);
    void ExpandInserted(const QModelIndex &parent, int first, int last);
    void ShowHeaderMenu(const QPoint &at);
    void FitValueColumn();
    // Refits once the event loop turns: rows opened or added change how
    // wide the names are.
    void FitSoon();

    QTreeView *m_tree = nullptr;
    PropertyModel *m_model = nullptr;
    QLabel *m_descriptionName = nullptr;
    QLabel *m_description = nullptr;
    bool m_updating = false;
    // The name column's width as asked; a grid too narrow for it and the
    // value column draws it narrower.
    int m_valueFloor = 0; // the value column's width before it stretches
    int m_nameWidth = 160;
    bool m_nameDragged = false;
    bool m_fitPosted = false;
};

#pragma once

#include <QColor>
#include <QHash>
#include <QStringList>
#include <QWidget>

#include <cstdint>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;

// A property grid: a tree with a name and a value column under a header
// with two titles, in-place editing of editable values, values that differ
// from their baseline drawn in bold, and a description area below that
// shows the selected row's name and description. Rows are addressed by the
// caller's ids; the grid keeps no meaning of its own.
class PropertyGrid : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kDescriptionRows = 5;

    explicit PropertyGrid(QWidget *parent = nullptr);

    struct RowData
    {
        uint64_t id = 0;
        QString name;
        QString value;
        QString description;
        bool editable = false;
        bool modified = false;
        bool expanded = false;
        // Values the in-place editor offers besides free entry.
        QStringList choices;
    };

    // How a row is drawn beyond its texts: a background, bold texts, and a
    // note drawn at the right end of the row (another value to set beside
    // the row's own).
    struct RowMarks
    {
        QColor background; // invalid: the grid's own
        bool bold = false;
        QString note;
        QColor noteColour;
        bool operator==(const RowMarks &) const = default;
    };

    // parentId 0 adds a top-level row at the end.
    void AddRow(uint64_t parentId, const RowData &row);
    void UpdateRow(const RowData &row);
    void RemoveRow(uint64_t id);
    void Clear();
    bool HasRow(uint64_t id) const { return m_items.contains(id); }
    // Marks stay with the row through updates until set again.
    void SetRowMarks(uint64_t id, const RowMarks &marks);
    RowMarks Marks(uint64_t id) const;
    void SetRowHidden(uint64_t id, bool hidden);
    bool IsRowHidden(uint64_t id) const;
    QTreeWidgetItem *Item(uint64_t id) const { return m_items.value(id); }

    void SetHeaderTitles(const QString &left, const QString &right);
    QString LeftTitle() const;
    QString RightTitle() const;

    int NameColumnWidth() const;
    void SetNameColumnWidth(int width);
    void SetCaptionFont(const QFont &font);

    uint64_t SelectedId() const;
    void Select(uint64_t id);
    // Opens the in-place editor of an editable row's value.
    bool EditValue(uint64_t id);
    // Ends an open in-place edit, keeping the text typed so far.
    void EndEdit();

    QTreeWidget *Tree() const { return m_tree; }
    QString DescriptionText() const;

signals:
    void ValueEdited(uint64_t id, const QString &text);
    void ButtonReleased(Qt::MouseButton button, const QPoint &gridPosition);
    // A right click (or the menu key) over the rows, after the row under
    // the pointer became the selected one.
    void ContextMenuRequested(const QPoint &gridPosition);
    void NameColumnChanged(int width);
    void GridWidthChanged(int width);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void Apply(QTreeWidgetItem *item, const RowData &row);
    void ApplyMarks(QTreeWidgetItem *item);
    void ShowDescription();

    QTreeWidget *m_tree = nullptr;
    QLabel *m_descriptionName = nullptr;
    QLabel *m_description = nullptr;
    QHash<uint64_t, QTreeWidgetItem *> m_items;
    QHash<uint64_t, RowMarks> m_marks;
    bool m_updating = false;
};

#pragma once

#include <QColor>
#include <QTableWidget>

#include <vector>

// A report-view list whose every cell carries a record (check box state,
// text colour, background colour) and whose every row carries an enabled
// flag. Check boxes are drawn in their cells; a click on the check box of an
// enabled row toggles it and reports CheckBoxClicked. A row that is not
// enabled ignores clicks on its check boxes and is drawn in grey text; it can
// still be selected and double-clicked.
class EditableListCtrl : public QTableWidget
{
    Q_OBJECT

public:
    enum class CheckState { None, Unchecked, Checked };
    // GetCheckState's answers.
    static constexpr int kNoSuchCell = -1;
    static constexpr int kNoCheckBox = 0;
    static constexpr int kUnchecked = 1;
    static constexpr int kChecked = 2;

    explicit EditableListCtrl(QWidget *parent = nullptr);

    // Column heading, alignment and width in pixels.
    void InsertColumn(int column, const QString &heading, Qt::Alignment alignment, int width);

    void RemoveAllRows();
    // A new row at index (appended when beyond the end) with text in column 0;
    // enabled, no check boxes, default colours. Returns the row's index.
    int InsertRow(int index, const QString &text);

    void SetCheckState(int row, int column, CheckState state);
    int GetCheckState(int row, int column) const;
    void SetRowEnabled(int row, bool enabled);
    bool IsRowEnabled(int row) const;
    void SetCellText(int row, int column, const QString &text);
    QString CellText(int row, int column) const;
    // An invalid colour means the list's default.
    void SetCellColors(int row, int column, const QColor &text, const QColor &background);
    QColor CellTextColor(int row, int column) const;
    QColor CellBackgroundColor(int row, int column) const;

signals:
    void CheckBoxClicked(int row, int column);
    // The row under a double-click, -1 below the last row.
    void RowDoubleClicked(int row);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    struct CellRecord
    {
        CheckState check = CheckState::None;
        QColor text;
        QColor background;
    };
    struct RowRecord
    {
        bool enabled = true;
        std::vector<CellRecord> cells;
    };

    bool IsCell(int row, int column) const;
    // Brings the cell's item in line with its record.
    void Apply(int row, int column);
    void OnItemChanged(QTableWidgetItem *item);

    std::vector<RowRecord> m_rows;
    bool m_applying = false;
};

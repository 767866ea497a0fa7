#pragma once

#include "ops/SnapshotCapture.h"
#include "regmap/WindowMask.h"

#include <QTreeWidget>

class RegisterWindows;
class Workspace;

// The peripheral list of the control panel: one row per peripheral of the
// chip's SVD file, ticked when a register window shows it, with a "✔" in
// column k + 1 for each window k. Every change of a mark writes the
// peripheral's AssignmentMask at once.
class PeripheralList : public QTreeWidget, public PeripheralListRows
{
    Q_OBJECT

public:
    static constexpr char kMark[] = "✔";

    PeripheralList(Workspace &workspace, RegisterWindows &windows, QWidget *parent = nullptr);

    // The columns and the list's looks (the panel's set-up).
    void SetUp();
    void SetColumnWidths();
    // Lists the current chip's peripherals with their marks.
    void Fill();
    // Register window k has closed.
    void RemoveSlot(int slot);

    // The gestures, callable directly: a click on a row's check box (the
    // state seen is the one before the click) and a double click on a cell.
    void CheckBoxClicked(QTreeWidgetItem *item);
    void CellDoubleClicked(QTreeWidgetItem *item, int column);
    // Marks the peripheral for register window `slot` and adds its rows
    // there, unless that window shows it already; false for no such row or
    // window, or when the file did not take the mark.
    bool ShowInWindow(const QString &name, int slot);

    // PeripheralListRows, as the snapshot capture reads the list.
    int RowCount() const override { return topLevelItemCount(); }
    QString RowName(int row) const override { return topLevelItem(row)->text(0); }
    bool IsTicked(int row) const override { return Ticked(topLevelItem(row)); }
    bool IsMarked(int row, int slot) const override { return !topLevelItem(row)->text(slot + 1).isEmpty(); }

    QTreeWidgetItem *Row(int index) const { return topLevelItem(index); }
    QTreeWidgetItem *FindRow(const QString &name) const;

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool OnCheckBox(QTreeWidgetItem *item, const QPoint &position);
    QString Chip() const;
    WindowMask Mask(const QString &name) const;
    // False when the file did not take it (the configuration has said why):
    // the list then shows what the file holds, unchanged.
    bool WriteMask(const QString &name, WindowMask mask);
    // Takes window slot's mark off a row; the row stays ticked while another
    // window shows it. False, and nothing changed, when the write failed.
    bool ClearMark(QTreeWidgetItem *item, int slot);
    // Puts window slot's mark on a row and the peripheral's rows in the window.
    bool AddMark(QTreeWidgetItem *item, int slot);
    static bool Ticked(const QTreeWidgetItem *item) { return item->checkState(0) == Qt::Checked; }
    static void SetTicked(QTreeWidgetItem *item, bool on) { item->setCheckState(0, on ? Qt::Checked : Qt::Unchecked); }

    Workspace &m_workspace;
    RegisterWindows &m_windows;
};

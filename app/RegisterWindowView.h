#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class PropertyGrid;
class QAction;
class QLabel;
class QMenu;
class QSplitter;
class RegisterWindow;
class RegisterWindowTools;
class ValuePlotPane;
class Workspace;

// The register window: the property grid that shows the rows of one slot's
// register window logic and forwards the user's clicks and edits to it, the
// tool row above it (watch, find, changes, comparison, export) and the plot
// pane below it, shown once a row is plotted.
class RegisterWindowView : public QWidget
{
    Q_OBJECT

public:
    RegisterWindowView(Workspace &workspace, int slot, QWidget *parent = nullptr);
    ~RegisterWindowView() override;

    int Slot() const { return m_slot; }
    // The form's first showing: header, font, rows of the chip.
    void OnInitialUpdate();

    void RebuildGrid();
    void AddPeripheralRows(const QString &name);
    void RemovePeripheralRows(const QString &name);
    void ApplyNumberBase();
    void ApplyExpandLevel(int level);

    // The logic behind the window.
    RegisterWindow *Logic() const;
    PropertyGrid *Grid() const { return m_grid; }
    RegisterWindowTools *Tools() const { return m_tools; }
    ValuePlotPane *Plot() const { return m_plot; }
    // Shows the plot pane under the rows, a third of the height.
    void ShowPlot();

    // Shows one of the context menus (310, 315, 316) at a point of the grid
    // and runs the command picked.
    void ShowContextMenu(int menuId, const QPoint &gridPosition);
    // The line under the rows that says why an edit was not taken; hidden
    // while it has nothing to say.
    QLabel *StatusLine() const { return m_status; }

    // How a context menu (also the tool row's) is shown; tests pick an entry instead.
    std::function<QAction *(QMenu &, const QPoint &)> menuExec;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void ScheduleReshape();
    void SaveColumns();
    void SaveNameWidth();
    // The selected row's value (as drawn, without a name) or its register's address to the clipboard.
    void CopySelected(bool address);
    void RestoreColumns();
    void ShowStatus(const QString &text);

    struct Impl;
    Workspace &m_workspace;
    int m_slot;
    PropertyGrid *m_grid = nullptr;
    QSplitter *m_split = nullptr;
    ValuePlotPane *m_plot = nullptr;
    std::unique_ptr<Impl> m_impl;
    RegisterWindowTools *m_tools = nullptr;
    QLabel *m_status = nullptr;
    bool m_reshapePending = false;
};

#pragma once

#include <QWidget>

#include <functional>
#include <memory>

class CCorvaneApp;
class PropertyGrid;
class QAction;
class QMenu;
class RegisterWindow;

// The register window: the property grid that shows the rows of one slot's
// register window logic and forwards the user's clicks and edits to it.
class CRegWnd : public QWidget
{
    Q_OBJECT

public:
    CRegWnd(CCorvaneApp &app, int slot, QWidget *parent = nullptr);
    ~CRegWnd() override;

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

    // Shows one of the context menus (310, 315, 316) at a point of the grid
    // and runs the command picked.
    void ShowContextMenu(int menuId, const QPoint &gridPosition);
    // How a context menu is shown; tests pick an entry instead.
    std::function<QAction *(QMenu &, const QPoint &)> menuExec;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Impl;
    CCorvaneApp &m_app;
    int m_slot;
    PropertyGrid *m_grid = nullptr;
    std::unique_ptr<Impl> m_impl;
};

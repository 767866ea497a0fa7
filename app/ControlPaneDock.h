#pragma once

#include <QDockWidget>

class CCheckipWnd;
class CCorvaneApp;
class CCtrlWnd;
class QScrollArea;
class QTabWidget;

// The one dockable pane, "Control Panel": a tab control with the control
// panel in front and the IP check window beside it.
class COutputWnd : public QDockWidget
{
    Q_OBJECT

public:
    static constexpr char kTitle[] = "Control Panel";
    static constexpr char kControlTab[] = "交互控制界面";
    static constexpr char kCheckTab[] = "寄存器检测界面";

    COutputWnd(CCorvaneApp &app, QWidget *parent = nullptr);

    CCtrlWnd &Panel() const { return *m_panel; }
    QTabWidget &Tabs() const { return *m_tabs; }
    CCheckipWnd *CheckWindow() const { return m_check; }
    // The forms' initial update.
    void InitialUpdate();

private:
    QTabWidget *m_tabs = nullptr;
    CCtrlWnd *m_panel = nullptr;
    CCheckipWnd *m_check = nullptr;
};

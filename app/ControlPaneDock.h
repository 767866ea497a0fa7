#pragma once

#include <QDockWidget>

class IpCheckWindow;
class ControlPanel;
class QScrollArea;
class QTabWidget;
class RegisterWindows;
class Workspace;

// The one dockable pane, "Control Panel": a tab control with the control
// panel in front and the IP check window beside it.
class ControlPaneDock : public QDockWidget
{
    Q_OBJECT

public:
    static constexpr char kTitle[] = QT_TRANSLATE_NOOP("Corvane", "Control Panel");
    static constexpr char kControlTab[] = QT_TRANSLATE_NOOP("Corvane", "交互控制界面");
    static constexpr char kCheckTab[] = QT_TRANSLATE_NOOP("Corvane", "寄存器检测界面");

    ControlPaneDock(Workspace &workspace, RegisterWindows &windows, QWidget *parent = nullptr);

    ControlPanel &Panel() const { return *m_panel; }
    QTabWidget &Tabs() const { return *m_tabs; }
    IpCheckWindow *CheckWindow() const { return m_check; }
    // The forms' initial update.
    void InitialUpdate();

private:
    QTabWidget *m_tabs = nullptr;
    ControlPanel *m_panel = nullptr;
    IpCheckWindow *m_check = nullptr;
};

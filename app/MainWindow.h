#pragma once

#include "app/Version.h"

#include <QList>
#include <QMainWindow>
#include <QRect>

#include <functional>

class RegisterWindowFrame;
class CorvaneApplication;
class ControlPanel;
class ControlPaneDock;
class QActionGroup;
class QMdiArea;
class QToolBar;

// The main window: the document area with the register windows side by
// side, the "Control Panel" pane, the hidden menu bar and tool bar, the
// visual looks, the about box and the updater command.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    static constexpr char kTitle[] = "Corvane v" CORVANE_VERSION;
    static constexpr int kAboutCommand = 100;
    static constexpr int kUpdateCommand = 105;
    static constexpr int kMemoryWindowCommand = 32771; // "内存窗口", Ctrl+M
    static constexpr char kCompany[] = "应用程序向导生成的本地应用程序";
    static constexpr char kWorkspace[] = "Workspace";
    static constexpr char kLookKey[] = "ApplicationLook";

    MainWindow(CorvaneApplication &app, int look);
    ~MainWindow() override;

    ControlPanel &Panel() const;
    ControlPaneDock &Pane() const { return *m_pane; }
    QMdiArea &DocumentArea() const { return *m_area; }

    // The initial update of the forms inside the frame.
    void InitialUpdate();

    // Takes a new register window's frame into the document area.
    void AddRegisterWindow(RegisterWindowFrame *frame);
    // The slot named by "window_" in the caption, or -1.
    int ActiveWindowSlot() const;

    void TileRegisterWindows();
    // The places of n windows: width W = frame width - pane width - 8,
    // the i-th at x = area.left + i * W / n (integer divisions).
    static QList<QRect> TileLayout(const QRect &area, int paneWidth, int frameWidth, int count);
    // n windows side by side over `width` pixels from the area's left.
    static QList<QRect> TileLayout(const QRect &area, int width, int count);

    void SetLook(int id);
    // The frame's menu (panes, tool bar, looks, about, update), as a right
    // click on the empty document area or the pane's title opens it.
    void ShowFrameMenu(const QPoint &globalPosition);
    // How the frame's menu is shown; tests pick an entry instead.
    std::function<void(QMenu &, const QPoint &)> frameMenuExec;
    int CurrentLook() const { return m_look; }

    // The window's system commands: 100 the about box, 105 the updater.
    void SystemCommand(int id);
    void ShowAboutBox();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    QMenu *createPopupMenu() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildMenus();
    void AddLanguageMenu(QMenu *view);
    void BuildToolBar();
    void UpdateCaption();
    void RestoreLayout();
    void DefaultGeometry();

    CorvaneApplication &m_app;
    QMdiArea *m_area = nullptr;
    ControlPaneDock *m_pane = nullptr;
    QToolBar *m_toolBar = nullptr;
    QActionGroup *m_lookGroup = nullptr;
    QMenu *m_looksMenu = nullptr;
    QAction *m_memoryWindow = nullptr;
    QList<QAction *> m_documentOnly;
    int m_look = 0;
};

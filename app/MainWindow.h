#pragma once

#include "app/RegisterWindows.h"
#include "app/UserProfile.h"
#include "app/Version.h"
#include "app/Workspace.h"

#include <QList>
#include <QMainWindow>
#include <QRect>

#include <array>
#include <functional>

class RegisterWindowFrame;
class ControlPanel;
class CoreWindow;
class MemoryWindow;
class ControlPaneDock;
class QActionGroup;
class QMdiArea;
class QToolBar;

// The main window: the document area with the register windows side by
// side and the memory windows over them, the "Control Panel" pane, the
// hidden menu bar and tool bar, the visual looks, the about box and the
// updater command. It keeps the register window of each slot and offers
// its document windows to the others as RegisterWindows.
class MainWindow : public QMainWindow, public RegisterWindows
{
    Q_OBJECT

public:
    static constexpr char kTitle[] = "Corvane v" CORVANE_VERSION;
    static constexpr int kAboutCommand = 100;
    static constexpr int kUpdateCommand = 105;
    static constexpr int kMemoryWindowCommand = 32771; // "内存窗口", Ctrl+M
    static constexpr int kCoreWindowCommand = 32772;   // "内核窗口", Ctrl+K
    static constexpr const char *kCompany = UserProfile::kCompany;
    static constexpr char kWorkspace[] = "Workspace";
    static constexpr char kLookKey[] = "ApplicationLook";

    MainWindow(Workspace &workspace, int look);
    ~MainWindow() override;

    // RegisterWindows
    RegisterWindowView *Window(int slot) const override;
    void OpenWindow(int slot) override;
    int ActiveSlot() const override { return ActiveWindowSlot(); }
    Shown ShowPeripheral(const QString &name) override;
    void ApplyNumberBase() override;
    void TileWindows() override { TileRegisterWindows(); }
    void OpenMemoryWindow(std::optional<uint32_t> address) override { AddMemoryWindow(address); }
    void OpenCoreWindow() override { AddCoreWindow(); }

    // The frame of a slot's register window; null while the slot is closed.
    RegisterWindowFrame *Frame(int slot) const;
    // Opens a new memory window at the address (0x20000000 when none is
    // given), beside the register windows; any number may be open. It takes
    // the lowest number no open one has, or `number` when that is free.
    MemoryWindow *AddMemoryWindow(std::optional<uint32_t> address = std::nullopt, int number = 0);
    // The open memory windows, in the order they were opened.
    QList<MemoryWindow *> MemoryWindows() const;
    // The core window, opened once; asking again brings it forward.
    CoreWindow *AddCoreWindow();
    CoreWindow *FindCoreWindow() const;

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
    // A register window's frame has gone: the others are laid out again and
    // the panel hears that the slot is closed, unless everything closes.
    void FrameGone(int slot);

    Workspace &m_workspace;
    std::array<RegisterWindowFrame *, Workspace::kSlotCount> m_frames{};
    bool m_ending = false; // the frame goes: its register windows go with it
    QMdiArea *m_area = nullptr;
    ControlPaneDock *m_pane = nullptr;
    QToolBar *m_toolBar = nullptr;
    QActionGroup *m_lookGroup = nullptr;
    QMenu *m_looksMenu = nullptr;
    QAction *m_memoryWindow = nullptr;
    QAction *m_coreWindow = nullptr;
    QList<QAction *> m_documentOnly;
    int m_look = 0;
};

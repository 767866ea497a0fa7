#pragma once

#include "app/InstanceLock.h"
#include "app/PortLists.h"
#include "app/UserProfile.h"
#include "app/WidgetUser.h"
#include "app/Workspace.h"

#include <QList>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class CoreWindow;
class RegisterWindowFrame;
class MainWindow;
class MemoryWindow;
class RegisterWindowView;
class TargetActionRunner;

// How the application finds its installation; tests point it at a folder
// of their own instead of the executable's.
struct AppOptions
{
    QString exeDir; // empty: the executable's own folder
    bool showMainWindow = true;
    // The serial ports the panel lists; empty: the system's.
    std::function<QList<SerialPortEntry>()> serialPorts;
};

// The application: start-up in its fixed order, building the workspace and
// the main window on it and wiring them, and the process-wide values
// (executable folder, configuration path, dots per inch). The windows never
// see it: they get the workspace and the frame's RegisterWindows.
class CorvaneApplication : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSlotCount = Workspace::kSlotCount;
    static constexpr const char *kAppName = UserProfile::kAppName;
    static constexpr int kConfigLockWaitMs = Workspace::kConfigLockWaitMs;

    explicit CorvaneApplication(AppOptions options = {});
    ~CorvaneApplication() override;

    // Start-up; false when the application may not run.
    bool InitInstance();

    const QString &ExeDir() const { return m_exeDir; }
    const QString &ConfigPath() const { return m_configPath; }
    int Dpi() const { return m_dpi; }
    int Scaled(int pixelsAt96) const { return pixelsAt96 * m_dpi / 96; }

    // What the windows share; null before start-up.
    Workspace *Shared() const { return m_workspace.get(); }
    ConfigFile &Config() { return m_workspace->Config(); }
    TargetLinks &Links() { return m_workspace->Links(); }
    WidgetUser &User() { return m_user; }
    UserContext &Context() { return m_workspace->Context(); }
    TargetActionRunner &Actions() { return m_workspace->Actions(); }
    RegisterWindowTable &WindowTable() { return m_workspace->WindowTable(); }
    MainWindow *MainFrame() const { return m_mainFrame.get(); }

    // The frame of each slot and the register window it shows.
    RegisterWindowFrame *ChildFrame(int slot) const;
    RegisterWindowView *RegisterWindow(int slot) const;
    // Opens the register window of a free slot.
    void OpenRegisterWindow(int slot);
    // A new memory window, as the frame opens it.
    MemoryWindow *OpenMemoryWindow(std::optional<uint32_t> address = std::nullopt, int number = 0);
    // The open memory windows, in the order they were opened.
    QList<MemoryWindow *> MemoryWindows() const;
    // Opens the core window, or brings the open one forward.
    CoreWindow *OpenCoreWindow();
    CoreWindow *FindCoreWindow() const;

    bool Closing() const { return m_workspace && m_workspace->Closing(); }
    void SetClosing();

private:
    AppOptions m_options;
    QString m_exeDir;
    QString m_configPath;
    int m_dpi = 96;
    InstanceLock m_lock;
    WidgetUser m_user;
    std::unique_ptr<Workspace> m_workspace;
    std::unique_ptr<MainWindow> m_mainFrame;
};

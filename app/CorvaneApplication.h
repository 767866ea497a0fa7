#pragma once

#include "app/InstanceLock.h"
#include "app/PortLists.h"
#include "app/WidgetUser.h"
#include "link/ConfigFile.h"
#include "link/TargetLinks.h"
#include "regmap/RegisterWindowTable.h"

#include <QObject>
#include <QString>

#include <array>
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

// The application object: start-up in its fixed order, the process-wide
// values (executable folder, configuration path, dots per inch), the one
// table of register window slots (the frames here, their logic windows in
// WindowTable()) and the closing flag.
class CorvaneApplication : public QObject
{
    Q_OBJECT

public:
    static constexpr int kSlotCount = RegisterWindowTable::kSlots;
    static constexpr char kAppName[] = "Corvane";
    // Longest wait of a configuration write for another writer's lock.
    static constexpr int kConfigLockWaitMs = 100;

    explicit CorvaneApplication(AppOptions options = {});
    ~CorvaneApplication() override;

    // Start-up; false when the application may not run.
    bool InitInstance();

    const QString &ExeDir() const { return m_exeDir; }
    const QString &ConfigPath() const { return m_configPath; }
    int Dpi() const { return m_dpi; }
    int Scaled(int pixelsAt96) const { return pixelsAt96 * m_dpi / 96; }

    ConfigFile &Config() { return *m_config; }
    TargetLinks &Links() { return *m_links; }
    WidgetUser &User() { return m_user; }
    UserContext &Context() { return m_context; }
    // Runs the user's target actions off the windows' thread, one at a time.
    TargetActionRunner &Actions();
    MainWindow *MainFrame() const { return m_mainFrame.get(); }

    // The frame of each slot and the register window it shows.
    RegisterWindowFrame *ChildFrame(int slot) const;
    RegisterWindowView *RegisterWindow(int slot) const;
    void EnterChildFrame(int slot, RegisterWindowFrame *frame);
    // The logic windows of the same slots, as the operations see them.
    RegisterWindowTable &WindowTable() { return m_windowTable; }

    // Opens the register window of a free slot.
    void OpenRegisterWindow(int slot);
    // A frame of slot k has gone: lays out the rest and, unless the whole
    // application is closing, tells the panel that the slot is closed.
    void ChildFrameDestroyed(int slot);

    // Opens a new memory window at the address (0x20000000 when none is
    // given), beside the register windows; any number may be open. It takes
    // the lowest number no open one has, or `number` when that is free.
    MemoryWindow *OpenMemoryWindow(std::optional<uint32_t> address = std::nullopt, int number = 0);
    // The open memory windows, in the order they were opened.
    QList<MemoryWindow *> MemoryWindows() const;
    // Opens the core window, or brings the open one forward.
    CoreWindow *OpenCoreWindow();
    CoreWindow *FindCoreWindow() const;

    bool Closing() const { return m_closing; }
    void SetClosing() { m_closing = true; }

private:
    AppOptions m_options;
    QString m_exeDir;
    QString m_configPath;
    int m_dpi = 96;
    InstanceLock m_lock;
    std::unique_ptr<ConfigFile> m_config;
    WidgetUser m_user;
    UserContext m_context{m_user.Context()};
    std::unique_ptr<TargetLinks> m_links;
    std::array<RegisterWindowFrame *, kSlotCount> m_childFrames{};
    RegisterWindowTable m_windowTable;
    std::unique_ptr<TargetActionRunner> m_actions; // ends before the links and the windows' logic
    bool m_closing = false;
    std::unique_ptr<MainWindow> m_mainFrame;
};

#pragma once

#include "app/PanelControlIds.h"
#include "app/TargetActionRunner.h"
#include "ipcheck/IpCheckSelections.h"
#include "link/UserInterfaces.h"
#include "ops/Operation.h"

#include <QWidget>

#include <array>
#include <functional>
#include <optional>

class PeripheralList;
class PopupComboBox;
class QCheckBox;
class QComboBox;
class QFileSystemWatcher;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class RegisterWindows;
class Workspace;

// The control panel form: every choice of the user, written to the
// configuration file the moment it changes; the buttons of the target
// operations; the window check boxes; the peripheral list.
class ControlPanel : public QWidget, public PanelSelections, public IpCheckSelections, public DumpView
{
    Q_OBJECT

public:
    static constexpr int kChipModelLength = 49;
    static constexpr int kProbeTextLength = 39;

    ControlPanel(Workspace &workspace, RegisterWindows &windows, QWidget *parent = nullptr);

    // The initial update: fills and selects every list from the file.
    void Setup();

    // PanelSelections
    QString ChipModel() const override;
    int DataSourceEntry() const override;
    QString ProbeText() const override;
    // The other selectors the register windows read.
    int NumberBaseEntry() const override; // 0 DEC, 1 HEX
    int RegisterWriteModeEntry() const override;
    // IpCheckSelections: the texts of the serial port and UART speed lists.
    QString UartPortText() const override;
    QString UartSpeedText() const override;

    // DumpView
    void SetDumpText(const QString &text) override;

    // Register window k closed while the application runs.
    void CloseSlot(int slot);
    // The user ticked window box k.
    void WindowBoxClicked(int slot);
    // Opens register window k as its ticked box does: the box ticked, the
    // choice written, the window opened.
    void OpenSlot(int slot);
    // The user picked entry `index` of the chip selector.
    void ChipChanged(int index);
    // Applies the selected data source: writes it and shows its controls.
    void ApplyDataSource();
    void ApplyExpandLevel();
    // "数据读取": captures the assigned peripherals and reloads the windows.
    void CaptureSnapshots();
    // Shows whether the selected target is halted, as the halt record says.
    void ShowHaltState();
    // Whether a target action of the panel runs at this moment.
    bool IsRunningAction() const;
    // "内存窗口": a new memory window.
    void OpenMemoryWindow();

    PeripheralList &Peripherals() { return *m_peripherals; }
    // The serial port enumeration, replaced by tests.
    std::function<QList<struct SerialPortEntry>()> portSource;
    // Called on a chip change so the IP check can prepare its inputs.
    std::function<void()> chipChangedHook;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect Dlu(int x, int y, int width, int height) const;
    QLabel *AddLabel(const QString &text, int x, int y, int width, int height,
                     std::optional<PanelControlId> id = std::nullopt);
    QComboBox *AddList(PanelControlId id, const QStringList &entries, int x, int y, int width);
    QPushButton *AddButton(PanelControlId id, const QString &text, int x, int y, int width, int height);
    QLineEdit *AddField(PanelControlId id, int x, int y, int width, int height);
    void AddGroup(int x, int y, int width, int height);
    void BuildControls();
    void ConnectControls();

    void RefreshProbeList();
    void RefreshSerialPortList();
    void SelectStored(QComboBox *list, int index);
    void WriteCommon(const char *key, int value);
    void WriteCommonText(const char *key, const QString &text);
    // The typed GDB server, stored once it is a whole "host:port".
    void CommitGdbServer();
    static bool IsServerAddress(const QString &text);
    OperationEnv Env();
    // Starts the action named by its button off the windows' thread; nothing
    // while another runs.
    void RunOperation(const QString &name, TargetActionRunner::Action operation, bool withProgress,
                      TargetActionRunner::Done done = {});
    // The progress of the long file transfers, with its cancel.
    void ShowProgress();
    // The buttons and the busy mark as the runner stands.
    void ShowRunning();

    Workspace &m_workspace;
    RegisterWindows &m_windows;
    QComboBox *m_chip = nullptr;
    QComboBox *m_dataSource = nullptr;
    PopupComboBox *m_probes = nullptr;
    PopupComboBox *m_ports = nullptr;
    QComboBox *m_jlinkSpeed = nullptr;
    QComboBox *m_uartSpeed = nullptr;
    QComboBox *m_expand = nullptr;
    QComboBox *m_registerWrite = nullptr;
    QComboBox *m_numberBase = nullptr;
    QLabel *m_portLabel = nullptr;
    QLabel *m_speedLabel = nullptr;
    QLabel *m_registerWriteLabel = nullptr;
    QPlainTextEdit *m_dump = nullptr;
    QLineEdit *m_readAddress = nullptr;
    QLineEdit *m_readLength = nullptr;
    QLineEdit *m_writeAddress = nullptr;
    QLineEdit *m_writeData = nullptr;
    QLineEdit *m_gdbServer = nullptr;
    QString m_refusedServer;       // the last server text refused, told once
    QLabel *m_haltState = nullptr; // also the busy mark while an action runs
    TargetActionRunner *m_runner = nullptr;
    QFileSystemWatcher *m_recordWatcher = nullptr;
    std::array<QCheckBox *, 4> m_windowBoxes{};
    PeripheralList *m_peripherals = nullptr;
};

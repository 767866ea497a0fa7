#pragma once

#include "link/ConfigFile.h"
#include "link/UserInterfaces.h"
#include "ops/CoreOps.h"
#include "ops/FaultReport.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class CoreRegisterModel;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTimer;
class QTreeView;
class TargetActionRunner;

// What the core window works with, handed in by whoever opens it.
struct CoreWindowEnv
{
    ConfigFile &config;
    // The panel's chip and number base, the message boxes, the file dialog.
    UserContext &user;
    // Every link cycle runs here, off the windows' thread.
    TargetActionRunner &runner;
    // Opens a memory window at an address (the fault tab's PC link).
    std::function<void(uint32_t)> openMemoryAt;
};

// The HCPU's core registers as a grid (R0 to FPSCR, xPSR's and CONTROL's
// fields as children) and the fault report of the same halted read, on
// demand and with the watch. A running core is never halted unasked: the
// window says it runs and offers "halt, read, keep halted". The firmware's
// ELF file, remembered per chip, puts function and line beside the stacked
// PC and LR.
class CoreWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kWatchIntervalMs = 1000;

    explicit CoreWindow(CoreWindowEnv env, QWidget *parent = nullptr);
    ~CoreWindow() override;

    // Reads the registers and the fault report; halting only when asked.
    void Read(CoreOps::Halting halting = CoreOps::Halting::RefuseRunning);
    // Writes a register (the text in the grid's base, or 0x...) and reads all again.
    void Write(CoreRegister id, const QString &text);
    void SetWatching(bool on);
    // The ELF file field's path for the current chip, stored under it.
    void SetElfPath(const QString &path);
    // Shows the ELF file remembered for the chip selected now.
    void FollowChip();

    // The deadlines of the core's debug registers; tests shorten them.
    CoreOps::Options &Options() { return m_options; }

    CoreRegisterModel &Model() const { return *m_model; }
    QTreeView *Grid() const { return m_grid; }
    QTabWidget *Tabs() const { return m_tabs; }
    QLabel *Status() const { return m_status; }
    QPushButton *ReadButton() const { return m_read; }
    QPushButton *HaltReadButton() const { return m_haltRead; }
    QCheckBox *WatchBox() const { return m_watch; }
    QLineEdit *ElfField() const { return m_elf; }
    QLabel *PcLink() const { return m_pcLink; }
    QPlainTextEdit *FaultText() const { return m_faultText; }
    // The stacked PC of the report shown, when it has one.
    std::optional<uint32_t> FaultingPc() const { return m_faultingPc; }
    // Reads and writes asked for and not yet back.
    int Outstanding() const { return m_outstanding; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    struct Reading;

    // On the runner's thread: everything one read shows.
    static void ReadAll(OperationEnv &env, CoreOps::Options options, const QString &elf, Reading &reading);
    void BuildControls();
    void Queue(const QString &name, std::function<void(OperationEnv &, Reading &)> work);
    void Show(const Reading &reading);
    void ShowFault(const std::optional<FaultReport::Report> &report);
    void ChooseElf();
    QString Chip() const;
    bool Hex() const;

    CoreWindowEnv m_env;
    CoreOps::Options m_options;
    CoreRegisterModel *m_model = nullptr;
    QTreeView *m_grid = nullptr;
    QTabWidget *m_tabs = nullptr;
    QLabel *m_status = nullptr;
    QPushButton *m_read = nullptr;
    QPushButton *m_haltRead = nullptr;
    QCheckBox *m_watch = nullptr;
    QTimer *m_watchTimer = nullptr;
    QLineEdit *m_elf = nullptr;
    QLabel *m_pcLink = nullptr;
    QPlainTextEdit *m_faultText = nullptr;
    QString m_elfChip; // the chip the field's path belongs to
    std::optional<uint32_t> m_faultingPc;
    int m_outstanding = 0;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};

#pragma once

#include "memview/ChipAddressMap.h"
#include "memview/GoToHistory.h"
#include "memview/LinkWorker.h"
#include "memview/MemoryFind.h"
#include "memview/MemoryView.h"
#include "memview/MemoryWatch.h"
#include "ops/Operation.h"

#include <QWidget>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class MemoryHexArea;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QToolButton;
class RegisterWindows;
class Workspace;

// A memory window: a document beside the register windows showing target
// memory in rows, with the address box and its history, the unit and row
// width, the watch, find, and saving a range to a file or loading one.
// Every transfer runs on a worker thread of the window through the link
// cycle; the window's thread only posts work and takes the results.
class MemoryWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr uint32_t kDefaultAddress = 0x20000000;
    static constexpr uint32_t kDefaultFindLength = 0x10000;
    // The open-mark of memory window %d in section COMMON: the address it
    // went to last, in hexadecimal. Start-up reopens the marked windows
    // (numbers 1 to kReopenLimit); closing one while the application runs
    // removes its mark, closing the application keeps them.
    static constexpr char kOpenMark[] = "MEM_WND_%d";
    static constexpr int kReopenLimit = 16;

    MemoryWindow(Workspace &workspace, RegisterWindows &windows, int number, uint32_t address,
                 QWidget *parent = nullptr);
    // The address a window's open-mark names; nothing for no mark.
    static std::optional<uint32_t> MarkedAddress(const ConfigFile &config, int number);
    ~MemoryWindow() override;

    int Number() const { return m_number; }
    QString Title() const;
    MemoryView &View() { return m_view; }
    MemoryHexArea *Hex() const { return m_hex; }
    MemoryWatch &Watch() { return m_watch; }
    const GoToHistory &History() const { return m_history; }
    // Work posted and not yet back: reads, writes, a find or a file transfer.
    int Outstanding() const { return m_outstanding; }

    // The address box's text: a name or a hexadecimal address; false (with
    // its message) for anything else.
    bool GoToText(const QString &text);
    // Goes to the address, remembered for back and forward.
    // The view moved to `address` without a history step: drawn, read, remembered.
    void Show(uint32_t address);
    // The progress of a long transfer, for its worker.
    std::function<void(qint64, qint64)> ProgressReport();
    void GoTo(uint32_t address);
    void Back();
    void Forward();
    // Reads everything shown again.
    void Refresh();
    // Ctrl+G and Ctrl+F.
    void FocusAddress();
    void FocusFind();
    // Starts a find with the find row's inputs; stops the one that runs.
    void Find();
    // Cancels the find, save or load that runs.
    void CancelFind();
    void SaveRange();
    void LoadFile();
    // The peripheral in the register window last active (a new one when none is open).
    void OpenPeripheral(const QString &name);
    // Writes the open-mark with the cursor's address when it changed.
    void Remember();
    // The window closes (or the application quits): the watch stops, a find
    // or file transfer is cancelled, waits for the link are given up, and
    // the writes still queued are written if the link is free within
    // kCloseWrites, else refused with one message. Returns within that time
    // plus the running link cycle's own deadlines; nothing reaches the
    // target for the window afterwards.
    void SettleWork();
    static constexpr std::chrono::milliseconds kCloseWrites{500};

    QSize sizeHint() const override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // What the jobs learn of the window's end, shared with them.
    struct Ending
    {
        std::atomic<bool> closing{false};
        // Writes still queued may wait for the link until then.
        std::atomic<std::chrono::steady_clock::rep> writesUntil{0};
        bool WritesGiveUp() const;
        std::mutex mutex;
        QStringList unwritten; // "0x20000001 = 22"
    };

    void BuildControls();
    void ConnectControls();
    // The rules, the SVD names and the completions follow the panel's chip.
    void FollowChip();
    // A change of data source, port, probe or server makes every byte shown
    // stale: the rows are read again through the new link, the old messages go.
    void FollowLink();
    QString LinkIdentity() const;
    // A name in the address boxes that the chip's SVD file no longer has is cleared.
    void ClearNamesNotInMap();
    void RequestRows();
    void RowsRead(const MemoryBlock &block, const QString &failure);
    void WriteUnit(uint32_t address, int size, uint32_t before, uint32_t after, bool undo);
    void Undo();
    void StartOrStopWatch(bool on);
    void ShowCursorPlace();
    void ShowMessages(const QStringList &messages);
    void SetBusyWith(const QString &status, bool cancellable);
    // A save or load through the panel's operation on the long worker, with
    // the progress bar and its cancel.
    void RunTransfer(const QString &status, std::function<void(OperationEnv &)> transfer, const QString &chip,
                     const QString &path, bool refreshAfter);
    void EndBusy(const QString &status);
    void Post(LinkWorker &worker, LinkWorker::Job job, int kind = 0);
    // A job's result handed to the window's thread.
    template<typename F> void Deliver(F &&done);
    std::optional<uint32_t> RangeFirst(uint32_t fallback);
    std::optional<uint64_t> RangeLength(uint64_t fallback);
    int Rate() const;
    bool Online();

    Workspace &m_workspace;
    RegisterWindows &m_windows;
    const int m_number;
    MemoryView m_view;
    std::shared_ptr<const ChipAddressMap> m_map;
    GoToHistory m_history;
    MemoryWatch m_watch;
    bool m_restartingWatch = false;
    int m_outstanding = 0;
    QString m_readFailure;                       // the last read's message, as shown
    std::shared_ptr<std::atomic<bool>> m_cancel; // of the find, save or load that runs
    std::shared_ptr<Ending> m_ending = std::make_shared<Ending>();
    bool m_settled = false;
    QString m_linkIdentity;
    // Where the last find left off, to go on from there.
    struct FindPlace
    {
        QByteArray pattern;
        uint64_t end = 0;
        uint32_t next = 0;
    };
    std::optional<FindPlace> m_findPlace;

    MemoryHexArea *m_hex = nullptr;
    QComboBox *m_address = nullptr;
    QToolButton *m_back = nullptr;
    QToolButton *m_forward = nullptr;
    QComboBox *m_unit = nullptr;
    QComboBox *m_rowWidth = nullptr;
    QCheckBox *m_watchBox = nullptr;
    QComboBox *m_rate = nullptr;
    QLineEdit *m_find = nullptr;
    QComboBox *m_findKind = nullptr;
    QLineEdit *m_rangeFirst = nullptr;
    QLineEdit *m_rangeLength = nullptr;
    QPushButton *m_findButton = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_load = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_message = nullptr;
    QProgressBar *m_progress = nullptr;
    QPushButton *m_cancelButton = nullptr;

    // Last: they go first, so no job outlives what it reports to.
    std::unique_ptr<LinkWorker> m_worker;     // rows and writes, in order
    std::unique_ptr<LinkWorker> m_longWorker; // finds and files
};

#pragma once

#include "app/MemoryActionsController.h"
#include "app/MemoryWindowControls.h"
#include "memview/ChipAddressMap.h"
#include "memview/GoToHistory.h"
#include "memview/MemoryRowIo.h"
#include "memview/MemoryView.h"
#include "memview/MemoryWatch.h"
#include "ops/Operation.h"

#include <QWidget>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class MemoryHexArea;
class RegisterWindows;
class Workspace;

// A memory window: a document beside the register windows showing target
// memory in rows, with the address box and its history, the unit and row
// width, the watch, find, and saving a range to a file or loading one.
// Its rows are read and written by its MemoryRowIo; find and the file
// transfers are target actions of the workspace's one runner, so they show
// in the busy mark; the window's thread only posts work and takes results.
class MemoryWindow : public QWidget
{
    Q_OBJECT

public:
    static constexpr uint32_t kDefaultAddress = 0x20000000;
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
    MemoryHexArea *Hex() const { return m_ui.hex; }
    MemoryWatch &Watch() { return m_watch; }
    const GoToHistory &History() const { return m_history; }
    // Work posted and not yet back: reads, writes, a find or a file transfer.
    int Outstanding() const { return m_rows.Outstanding() + (m_actions.Running() ? 1 : 0); }

    // The address box's text: a name or a hexadecimal address; false (with
    // its message) for anything else.
    bool GoToText(const QString &text);
    // Goes to the address, remembered for back and forward.
    void GoTo(uint32_t address);
    // The view moved to `address` without a history step: drawn, read, remembered.
    void Show(uint32_t address);
    void Back();
    void Forward();
    // Reads everything shown again.
    void Refresh();
    // Ctrl+G and Ctrl+F.
    void FocusAddress();
    void FocusFind();
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
    void ConnectControls();
    // The rules, the SVD names and the completions follow the panel's chip.
    void FollowChip();
    // A change of data source, port, probe or server makes every byte shown
    // stale: the rows are read again through the new link, the old messages go.
    void FollowLink();
    // A name in the address boxes that the chip's SVD file no longer has is cleared.
    void ClearNamesNotInMap();
    void RequestRows();
    void RowsRead(const QString &failure);
    void WriteUnit(uint32_t address, int size, uint32_t before, uint32_t after);
    void Undo();
    void StartOrStopWatch(bool on);
    void ShowCursorPlace();

    Workspace &m_workspace;
    RegisterWindows &m_windows;
    const int m_number;
    MemoryView m_view;
    MemoryWindowControls m_ui;
    std::shared_ptr<const ChipAddressMap> m_map;
    GoToHistory m_history;
    MemoryWatch m_watch;
    bool m_restartingWatch = false;
    QString m_readFailure; // the last read's message, as shown
    bool m_settled = false;
    QString m_linkIdentity;
    MemoryActionsController m_actions;
    MemoryRowIo m_rows; // last: it settles first, so no job outlives what it reports to
};

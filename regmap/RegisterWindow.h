#pragma once

#include "regmap/RegisterRowTree.h"
#include "regmap/RegisterWindowEnv.h"

#include <QString>

#include <cstdint>
#include <optional>

class LinkCycle;
class RegisterWindowTable;
class XmlDocument;

struct PeripheralSpan
{
    bool found = false;
    uint32_t base = 0;
    uint32_t span = 0;
};

// The logic of one register window: its rows, filled from the chip's SVD
// file, from snapshot files and from the chip, and edited by the user. The
// rows hold every number the window knows; nothing is kept beside them.
// A view shows Tree() and forwards the user's clicks and edits here.
class RegisterWindow
{
public:
    enum class Menu { None = 0, All = 310, Transfer = 315, Files = 316 };
    enum Command { WriteCommand = 311, ReadCommand = 312, ExportCommand = 313, ImportCommand = 314 };

    // Takes the table's next slot and enters itself there; leaves on destruction.
    RegisterWindow(const RegisterWindowEnv &env, RegisterWindowTable &table);
    ~RegisterWindow();
    RegisterWindow(const RegisterWindow &) = delete;
    RegisterWindow &operator=(const RegisterWindow &) = delete;

    int Slot() const { return m_slot; }
    QString Title() const; // "window_<slot>", the document's title
    RegisterRowTree &Tree() { return m_tree; }
    const RegisterRowTree &Tree() const { return m_tree; }

    // --- Grid
    // The form's first showing: header titles, then the rows of the chip.
    void Open();
    void RebuildGrid();
    void AddPeripheralRows(const QString &name);
    void RemovePeripheralRows(const QString &name);
    PeripheralSpan FindPeripheralSpan(const QString &name) const;
    QString DecodeField(uint32_t word, const RegisterRow &fieldRow) const;
    void ApplyNumberBase();
    // Peripherals expanded unless level 0, registers expanded at level 2.
    void ApplyExpandLevel(int level);
    void RealignCaptions(int column);
    // The grid got width cx: a narrow grid halves its name column.
    void GridResized(int cx);
    // The name column settled (the short timer after a repaint): clamp it to
    // 160..400 and realign the captions when it changed.
    void NameColumnSettled();

    // --- Snapshot files
    bool LoadSnapshot(const QString &name, const QString &path);
    bool SaveSnapshot(const QString &name, const QString &path);
    void ImportSnapshot();
    void ExportSnapshot();
    QString DefaultSnapshotPath(const QString &name) const;
    // Fills a peripheral's rows from an image of its range, as a load does,
    // without a file and without messages (a watch's refresh); registers
    // read with side effects keep their rows. False when the window does not
    // show the peripheral.
    bool FillPeripheral(const QString &name, const QByteArray &image);

    // --- Register read and write, on the selected row
    void ReadSelection();
    void WriteSelection();
    // Reads a peripheral this window shows from the chip into its snapshot
    // file on the open cycle: the register read of a peripheral row and the
    // panel's capture both read this way. The file's path when it was
    // replaced; otherwise the cycle has shown the one message and is closed.
    // The cycle stays open on success, for the caller's next transfer.
    std::optional<QString> CapturePeripheral(LinkCycle &cycle, const QString &name) const;

    // --- Editing and commands
    RegisterRow *SelectedRow() const;
    bool SelectedIsRegister() const { return m_selectedIsRegister; }
    void SetSelection(RegisterRow *row, bool isRegister);
    bool TrackSelection();
    void LeftButtonReleased() { TrackSelection(); }
    // The menu a right click opens for the grid's selected row.
    Menu RightButtonReleased();
    void RunCommand(int command);
    // The user changed an editable row's value in place to `typed`.
    void ApplyEdit(RegisterRow *row, const QString &typed);

private:
    void AddRowsFrom(XmlDocument &document, const QString &name);
    QString ChipModel() const;
    int NumberBase() const;
    int RegisterWriteMode() const;
    void ShowNote(const QString &text) const;
    void ShowFailure(const QString &text) const;
    QString SnapshotPathOf(const QString &name, bool temporary, bool *usable) const;
    QString ChosenSnapshotPath(const QString &name, const char *title, const char *unusableFormat);
    std::optional<QString> CheckFits(const RegisterRow &peripheral) const;
    void FillRegister(RegisterRow *reg, uint32_t word);
    void ReadPeripheral(LinkCycle &cycle, const QString &name);
    // Reads the span of the peripheral into the transfer buffer, except the
    // words of registers whose reading changes the chip: those keep the bytes
    // of the peripheral's snapshot file (zero without one). False once the
    // cycle has reported a failed read.
    bool ReadPeripheralImage(LinkCycle &cycle, const QString &name, const PeripheralSpan &span) const;
    void ReadRegister(LinkCycle &cycle, RegisterRow *reg);
    void WritePeripheral(LinkCycle &cycle, const QString &name);
    void WriteRegister(LinkCycle &cycle, RegisterRow *reg);

    RegisterWindowEnv m_env;
    RegisterWindowTable &m_table;
    int m_slot;
    RegisterRowTree m_tree;
    uint64_t m_selectedId = 0;
    bool m_selectedIsRegister = false;
};

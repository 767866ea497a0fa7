#pragma once

#include "regmap/RegisterMap.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

class LinkCycle;
class RegisterWindowTable;
class XmlDocument;

// The logic of one register window: a register map in one of the window
// slots, its selected row, its context menus and commands, and the in-place
// edits that may write to the chip at once. A view shows Tree() and forwards
// the user's clicks and edits here.
class RegisterWindow : public RegisterMap
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

    // --- Grid
    // The form's first showing: header titles, then the rows of the chip.
    void Open();
    void RebuildGrid();
    void RemovePeripheralRows(const QString &name);
    // The grid got width cx: a narrow grid halves its name column.
    void GridResized(int cx);

    // --- Snapshot files and transfers of the selected row
    void ImportSnapshot();
    void ExportSnapshot();
    void ReadSelection();
    void WriteSelection();

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
    // The user picked `value` from a field's choices.
    void ApplyChoice(RegisterRow *row, uint64_t value);

private:
    int RegisterWriteMode() const;
    // The edit made by `edit`, then the immediate write when the window writes at once.
    void ApplyEditWith(RegisterRow *row, const std::function<bool(RegisterRow *)> &edit);
    QString ChosenSnapshotPath(const QString &name, const char *title, const char *unusableFormat);

    RegisterWindowTable &m_table;
    int m_slot;
    uint64_t m_selectedId = 0;
    bool m_selectedIsRegister = false;
};

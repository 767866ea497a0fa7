#pragma once

#include "ops/Operation.h"
#include "regmap/RegisterTransfer.h"

#include <QString>

#include <optional>
#include <vector>

class RegisterWindowTable;

// The control panel's peripheral list as the capture reads it: one row per
// peripheral, ticked when some register window shows it, and a mark in the
// column of every window slot that does.
class PeripheralListRows
{
public:
    virtual ~PeripheralListRows() = default;
    virtual int RowCount() const = 0;
    virtual QString RowName(int row) const = 0;
    virtual bool IsTicked(int row) const = 0;
    virtual bool IsMarked(int row, int slot) const = 0;
};

// "数据读取": reads every ticked peripheral's register range into its
// snapshot file in <home>/data/<chip>/, then has every window that shows it
// load the file. The data source and the probe come from the panel's
// selectors; without a link source only the reload runs.
namespace SnapshotCapture {

// What the capture reads, taken from the list and the windows (on the rows'
// thread) so that its link cycle can run on another.
struct Plan
{
    struct Item
    {
        QString name;
        // None: no window knows the peripheral's range.
        std::optional<RegisterTransfer> transfer;
    };
    bool online = false;
    int dataSource = 0;
    QString probe;
    std::vector<Item> items;
};

Plan PlanFor(const PanelSelections &panel, const PeripheralListRows &list, const RegisterWindowTable &windows);
// The link cycle: every planned peripheral into its file, on any thread.
// False when a message ended it (the windows are then not reloaded).
bool Capture(OperationEnv &env, const Plan &plan);
// Every window that shows a ticked peripheral loads its file (rows' thread).
void Reload(OperationEnv &env, const QString &home, const PeripheralListRows &list, RegisterWindowTable &windows);

// The three in a row, on the rows' thread.
void Run(OperationEnv &env, const QString &home, const PeripheralListRows &list, RegisterWindowTable &windows);

} // namespace SnapshotCapture

#pragma once

#include "ops/Operation.h"

#include <QString>

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

void Run(OperationEnv &env, const QString &home, const PeripheralListRows &list, RegisterWindowTable &windows);

} // namespace SnapshotCapture

#pragma once

// The snapshot capture's surroundings: the register window rig with a list
// of peripheral rows standing in for the control panel's peripheral list.

#include "support/RegwinRig.h"

#include "ops/SnapshotCapture.h"

struct ListRow
{
    QString name;
    int marks; // bit k: column k + 1 carries the mark
    bool ticked;
};

struct ListStub : PeripheralListRows
{
    int RowCount() const override { return int(rows.size()); }
    QString RowName(int row) const override { return rows[row].name; }
    bool IsTicked(int row) const override { return rows[row].ticked; }
    bool IsMarked(int row, int slot) const override { return rows[row].marks & (1 << slot); }
    QList<ListRow> rows;
};

struct CaptureRig : RegwinRig
{
    using RegwinRig::RegwinRig;
    OperationEnv env{config, links, context, {}};
    ListStub list;

    void Capture() { SnapshotCapture::Run(env, home.path(), list, table); }
    QStringList ProbeReads() { return probe.CallLog().filter("JLINK_ReadMemEx"); }
};

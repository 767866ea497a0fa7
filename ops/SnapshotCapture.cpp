#include "ops/SnapshotCapture.h"

#include "link/LinkCycle.h"
#include "link/LinkMessages.h"
#include "link/MessageText.h"
#include "link/SettingValues.h"
#include "regmap/RegisterWindow.h"
#include "regmap/RegisterWindowMessages.h"
#include "regmap/RegisterWindowTable.h"
#include "regmap/RowText.h"
#include "regmap/SnapshotFiles.h"

namespace {

constexpr int kProbeTextSize = 40;

// The slot whose window knows the row's base and span: the first marked
// one, else the one used for the ticked row before.
int SlotFor(const PeripheralListRows &list, int row, int previous)
{
    for (int slot = 0; slot < RegisterWindowTable::kSlots; ++slot)
        if (list.IsMarked(row, slot))
            return slot;
    return previous;
}

// Reads every ticked row into its file; false when a message ended it.
bool CaptureRows(LinkCycle &cycle, const PeripheralListRows &list, RegisterWindowTable &windows)
{
    int slot = 0;
    for (int row = 0; row < list.RowCount(); ++row) {
        if (!list.IsTicked(row))
            continue;
        slot = SlotFor(list, row, slot);
        const QString name = list.RowName(row);
        const RegisterWindow *window = windows.At(slot);
        if (!window) {
            // A slot without a window knows no peripheral.
            cycle.Fail(MessageText::Format(RegisterWindowMessages::kNoSpan, name.toUtf8().constData()));
            cycle.Close();
            return false;
        }
        if (!window->CapturePeripheral(cycle, name))
            return false;
    }
    return true;
}

void Reload(LinkCycle &cycle, const QString &home, const PeripheralListRows &list, RegisterWindowTable &windows)
{
    const QString chip = cycle.ChipModel();
    for (int row = 0; row < list.RowCount(); ++row) {
        if (!list.IsTicked(row))
            continue;
        const QString name = list.RowName(row);
        const QString path = SnapshotFiles::DefaultPath(home, chip, name);
        const bool usable = SnapshotFiles::IsPlainFileName(chip) && SnapshotFiles::IsPlainFileName(name);
        for (int slot = 0; slot < RegisterWindowTable::kSlots; ++slot) {
            RegisterWindow *window = list.IsMarked(row, slot) ? windows.At(slot) : nullptr;
            if (!window)
                continue;
            if (usable)
                window->LoadSnapshot(name, path);
            else
                cycle.Fail(MessageText::Format(RegisterWindowMessages::kSnapshotOpen, path.toUtf8().constData()));
        }
    }
}

} // namespace

namespace SnapshotCapture {

void Run(OperationEnv &env, const QString &home, const PeripheralListRows &list, RegisterWindowTable &windows)
{
    LinkCycle cycle(env.config, env.links, env.user);
    const int entry = env.user.panel.DataSourceEntry();
    const bool online =
        entry == Stored(DataSource::JLink) || entry == Stored(DataSource::Uart) || entry == Stored(DataSource::Gdb);
    cycle.PrefaceWith(online ? entry : Stored(DataSource::Offline));
    if (online) {
        // The capture takes the probe from the panel's box, not JLINK_PORT;
        // each override reaches only the link that uses it.
        const QString probe = env.user.panel.ProbeText().left(kProbeTextSize - 1);
        cycle.SetProbeSerialNumber(RowText::ReadUnsigned(probe, 10));
        cycle.SetUartRefusalFormat(LinkMessages::kUartRefusalLine);
        if (!cycle.Open())
            return;
        if (!CaptureRows(cycle, list, windows))
            return;
        cycle.Close();
    }
    Reload(cycle, home, list, windows);
}

} // namespace SnapshotCapture

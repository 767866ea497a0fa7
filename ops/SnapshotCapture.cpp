#include "ops/SnapshotCapture.h"

#include "link/LinkCycle.h"
#include "link/LinkMessages.h"
#include "link/MessageText.h"
#include "link/NumberInput.h"
#include "link/SettingValues.h"
#include "regmap/RegisterWindow.h"
#include "regmap/RegisterWindowMessages.h"
#include "regmap/RegisterWindowTable.h"
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

void ReloadRows(MessagePresenter &messages, const QString &chip, const QString &home, const PeripheralListRows &list,
                RegisterWindowTable &windows)
{
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
                messages.ShowFailure(
                    MessageText::Format(RegisterWindowMessages::kSnapshotOpen, path.toUtf8().constData()));
        }
    }
}

} // namespace

namespace SnapshotCapture {

Plan PlanFor(const PanelSelections &panel, const PeripheralListRows &list, const RegisterWindowTable &windows)
{
    Plan plan;
    const int entry = panel.DataSourceEntry();
    plan.online =
        entry == Stored(DataSource::JLink) || entry == Stored(DataSource::Uart) || entry == Stored(DataSource::Gdb);
    plan.dataSource = plan.online ? entry : Stored(DataSource::Offline);
    // The capture takes the probe from the panel's box, not JLINK_PORT.
    plan.probe = panel.ProbeText().left(kProbeTextSize - 1);
    int slot = 0;
    for (int row = 0; row < list.RowCount(); ++row) {
        if (!list.IsTicked(row))
            continue;
        slot = SlotFor(list, row, slot);
        Plan::Item item{list.RowName(row), std::nullopt};
        // A slot without a window knows no peripheral.
        if (const RegisterWindow *window = windows.At(slot))
            item.transfer = window->PlanCapture(item.name);
        plan.items.push_back(std::move(item));
    }
    return plan;
}

bool Capture(OperationEnv &env, const Plan &plan)
{
    LinkCycle cycle(env.config, env.links, env.user);
    cycle.PrefaceWith(plan.dataSource);
    if (!plan.online)
        return true;
    // Each override reaches only the link that uses it.
    cycle.SetProbeSerialNumber(uint32_t(NumberInput::Lenient(plan.probe, NumberInput::kProbeSerial)));
    cycle.SetUartRefusalFormat(LinkMessages::kUartRefusalLine);
    if (!cycle.Open())
        return false;
    for (const Plan::Item &item : plan.items) {
        if (!item.transfer) {
            cycle.Fail(MessageText::Format(RegisterWindowMessages::kNoSpan, item.name.toUtf8().constData()));
            cycle.Close();
            return false;
        }
        if (!item.transfer->Capture(cycle))
            return false;
    }
    cycle.Close();
    return true;
}

void Reload(OperationEnv &env, const QString &home, const PeripheralListRows &list, RegisterWindowTable &windows)
{
    ReloadRows(env.user.messages, env.user.panel.ChipModel(), home, list, windows);
}

void Run(OperationEnv &env, const QString &home, const PeripheralListRows &list, RegisterWindowTable &windows)
{
    if (Capture(env, PlanFor(env.user.panel, list, windows)))
        Reload(env, home, list, windows);
}

} // namespace SnapshotCapture

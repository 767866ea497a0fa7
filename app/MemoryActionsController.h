#pragma once

#include "memview/ChipAddressMap.h"
#include "memview/MemoryFindTool.h"
#include "ops/Operation.h"

#include <QObject>

#include <functional>
#include <memory>
#include <optional>

class MemoryView;
class Workspace;
struct MemoryWindowControls;
namespace MemoryTransfers {
struct Outcome;
}

// The find row of a memory window: find (with its going on after the last
// match), save a range to a file and load a file, read from the row's boxes
// and run as actions of the workspace's one runner. A running one shows in
// the panel's busy mark, its messages come in order while it runs, and
// while any action runs none of these buttons starts another.
class MemoryActionsController : public QObject
{
    Q_OBJECT

public:
    // What the controller asks of its window.
    struct Window
    {
        MemoryWindowControls &ui;
        MemoryView &view;
        // Follows the panel's chip; the chip's address map.
        std::function<const ChipAddressMap *()> followChip;
        std::function<void(uint32_t)> goTo;
        std::function<void()> refresh;
    };

    MemoryActionsController(Workspace &workspace, Window window, QObject *parent = nullptr);

    // A find or transfer of this window is in the runner.
    bool Running() const { return m_running; }

    void Find();
    void SaveRange();
    void LoadFile();
    // Cancels this window's action that runs (not another's).
    void Cancel();

private:
    bool RunAction(const char *name, const char *line, TargetAction action, std::function<void()> done);
    void FindEnded(const MemoryFindTool::Outcome &outcome);
    void TransferEnded(const MemoryTransfers::Outcome &outcome, bool refresh);
    std::optional<uint32_t> RangeFirst(uint32_t fallback, const ChipAddressMap *map);
    std::optional<uint64_t> RangeLength(uint64_t fallback);
    bool Online();
    void Refuse(const QString &message);

    Workspace &m_workspace;
    Window m_window;
    MemoryFindTool m_find;
    bool m_running = false;
};

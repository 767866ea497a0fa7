#include "app/MemoryActionsController.h"

#include "app/MemoryHexArea.h"
#include "app/MemoryWindowControls.h"
#include "app/TargetActionRunner.h"
#include "app/Workspace.h"
#include "link/LinkMessages.h"
#include "link/SettingValues.h"
#include "link/Settings.h"
#include "link/Tr.h"
#include "memview/AddressInput.h"
#include "memview/MemoryTransfers.h"
#include "memview/MemoryUnits.h"
#include "memview/MemoryView.h"
#include "memview/MemoryViewMessages.h"
#include "ops/OpsMessages.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace Text = MemoryWindowText;

namespace {

constexpr uint64_t kDefaultFindLength = 0x10000;

} // namespace

MemoryActionsController::MemoryActionsController(Workspace &workspace, Window window, QObject *parent)
    : QObject(parent)
    , m_workspace(workspace)
    , m_window(std::move(window))
{
    MemoryWindowControls &ui = m_window.ui;
    // Enter in any box of the find row finds.
    for (QLineEdit *box : {ui.find, ui.rangeFirst, ui.rangeLength})
        connect(box, &QLineEdit::returnPressed, this, &MemoryActionsController::Find);
    connect(ui.findButton, &QPushButton::clicked, this, &MemoryActionsController::Find);
    connect(ui.cancel, &QPushButton::clicked, this, &MemoryActionsController::Cancel);
    connect(ui.save, &QPushButton::clicked, this, &MemoryActionsController::SaveRange);
    connect(ui.load, &QPushButton::clicked, this, &MemoryActionsController::LoadFile);

    // While any action runs (the panel's, a register window's, another
    // memory window's) no button here starts another; this window's own
    // shows its progress.
    TargetActionRunner &runner = m_workspace.Actions();
    connect(&runner, &TargetActionRunner::Started, this, [this] { m_window.ui.EnableActions(false); });
    connect(&runner, &TargetActionRunner::Finished, this, [this] { m_window.ui.EnableActions(true); });
    connect(&runner, &TargetActionRunner::Progress, this, [this](qint64 done, qint64 total) {
        if (m_running)
            m_window.ui.progress->setValue(total > 0 ? int(done * 1000 / total) : 0);
    });
    ui.EnableActions(!runner.IsRunning());
}

void MemoryActionsController::Refuse(const QString &message)
{
    m_workspace.Context().messages.ShowFailure(message);
}

bool MemoryActionsController::RunAction(const char *name, const char *line, TargetAction action,
                                        std::function<void()> done)
{
    TargetActionRunner &runner = m_workspace.Actions();
    if (runner.IsRunning()) {
        m_window.ui.message->setText(runner.RunningName() + QStringLiteral(" …"));
        return false;
    }
    m_running = true;
    m_window.ui.ShowBusy(Tr(line), true);
    runner.Start(Tr(name), std::move(action), [self = QPointer<MemoryActionsController>(this), done = std::move(done)] {
        if (!self)
            return; // the window went; its action was cancelled
        self->m_running = false;
        done();
    });
    return true;
}

void MemoryActionsController::Find()
{
    if (m_running)
        return; // one at a time
    const ChipAddressMap *map = m_window.followChip();
    const QString typed = m_window.ui.find->text();
    const std::optional<MemoryFind::Pattern> pattern =
        m_window.ui.findKind->currentIndex() == 1 ? MemoryFind::ParseWord(typed) : MemoryFind::ParseBytes(typed);
    if (!pattern) {
        Refuse(Tr(MemoryViewMessages::kNoPattern));
        return;
    }
    const std::optional<uint32_t> first = RangeFirst(m_window.view.Cursor(), map);
    const std::optional<uint64_t> length = first ? RangeLength(kDefaultFindLength) : std::nullopt;
    if (!first || !length || !Online())
        return;
    m_find.Plan(*pattern, *first, *length);
    auto outcome = std::make_shared<MemoryFindTool::Outcome>();
    m_window.ui.hex->SetMatch(std::nullopt);
    RunAction(Text::kFindButton, Text::kFinding, m_find.Action(m_window.view.Rules(), outcome),
              [this, outcome] { FindEnded(*outcome); });
}

void MemoryActionsController::FindEnded(const MemoryFindTool::Outcome &outcome)
{
    m_find.Take(outcome);
    MemoryWindowControls &ui = m_window.ui;
    using Kind = MemoryFindTool::Outcome::Kind;
    switch (outcome.kind) {
    case Kind::Found:
        m_window.goTo(outcome.address);
        ui.hex->SetMatch(AddressRun{outcome.address, outcome.size});
        ui.EndBusy(Tr(Text::kFound).arg(MemoryUnits::Hex(outcome.address, 4)));
        break;
    case Kind::Cancelled:
        ui.EndBusy(Tr(Text::kCancelled));
        break;
    case Kind::NotFound:
        ui.EndBusy(Tr(Text::kNotFound));
        break;
    case Kind::Failed:
        ui.EndBusy(outcome.failure.trimmed());
        Refuse(outcome.failure);
        break;
    }
}

void MemoryActionsController::Cancel()
{
    if (m_running)
        m_workspace.Actions().Cancel();
}

void MemoryActionsController::SaveRange()
{
    if (m_running || !Online())
        return;
    const std::optional<uint32_t> first = RangeFirst(m_window.view.First(), m_window.followChip());
    const std::optional<uint64_t> length = first ? RangeLength(m_window.view.ShownBytes()) : std::nullopt;
    if (!first || !length)
        return;
    // The panel's own question and operation: the file is chosen at the
    // click, the operation runs as an action with that answer.
    const QString path = m_workspace.Context().files.ChooseFile(MemoryFileRequest(MemoryFileUse::Save));
    auto outcome = std::make_shared<MemoryTransfers::Outcome>();
    const auto capped = uint32_t(std::min<uint64_t>(*length, 0xFFFFFFFFu));
    RunAction(Text::kSave, Text::kSaving, MemoryTransfers::Save(*first, capped, path, outcome),
              [this, outcome] { TransferEnded(*outcome, false); });
}

void MemoryActionsController::LoadFile()
{
    if (m_running || !Online())
        return;
    const std::optional<uint32_t> first = RangeFirst(m_window.view.Cursor(), m_window.followChip());
    if (!first)
        return;
    const QString path = m_workspace.Context().files.ChooseFile(MemoryFileRequest(MemoryFileUse::Load));
    auto outcome = std::make_shared<MemoryTransfers::Outcome>();
    RunAction(Text::kLoad, Text::kLoading, MemoryTransfers::Load(*first, path, outcome),
              [this, outcome] { TransferEnded(*outcome, true); });
}

void MemoryActionsController::TransferEnded(const MemoryTransfers::Outcome &outcome, bool refresh)
{
    // Its messages were shown while it ran; the line says how it ended.
    if (!outcome.entered)
        m_window.ui.EndBusy(Tr(Text::kCancelled));
    else
        m_window.ui.EndBusy(outcome.result.Succeeded() ? Tr(Text::kDone) : outcome.result.message.trimmed());
    if (refresh)
        m_window.refresh(); // what the file put there
}

std::optional<uint32_t> MemoryActionsController::RangeFirst(uint32_t fallback, const ChipAddressMap *map)
{
    const QString text = m_window.ui.rangeFirst->text().trimmed();
    if (text.isEmpty())
        return fallback;
    const std::optional<uint32_t> first = AddressInput::Parse(text, map);
    if (!first)
        Refuse(Tr(MemoryViewMessages::kNoAddress).arg(text));
    return first;
}

std::optional<uint64_t> MemoryActionsController::RangeLength(uint64_t fallback)
{
    const QString text = m_window.ui.rangeLength->text().trimmed();
    // Read as strictly as an address: hex digits, "0x" and blanks, nothing
    // else; no name stands for a length.
    const std::optional<uint32_t> typed = text.isEmpty() ? std::nullopt : AddressInput::Parse(text, nullptr);
    if (!text.isEmpty() && !typed) {
        Refuse(Tr(MemoryViewMessages::kNoLength).arg(text));
        return std::nullopt;
    }
    const uint64_t length = typed ? *typed : fallback;
    if (length == 0) {
        Refuse(Tr(OpsMessages::kZeroLength));
        return std::nullopt;
    }
    return length;
}

bool MemoryActionsController::Online()
{
    if (LoadSettings(m_workspace.Config(), SettingsPart::DataSourceOnly).dataSource != Stored(DataSource::Offline))
        return true;
    Refuse(Tr(LinkMessages::kSelectOnlineData));
    return false;
}

#include "app/MemoryWindow.h"

#include "app/MemoryHexArea.h"
#include "app/RegisterWindows.h"
#include "app/Workspace.h"
#include "link/Settings.h"
#include "link/Tr.h"
#include "memview/AddressInput.h"
#include "memview/MemoryUnits.h"
#include "memview/MemoryViewMessages.h"
#include "regmap/SvdDeviceModel.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QShortcut>
#include <QToolButton>

MemoryWindow::MemoryWindow(Workspace &workspace, RegisterWindows &windows, int number, uint32_t address,
                           QWidget *parent)
    : QWidget(parent)
    , m_workspace(workspace)
    , m_windows(windows)
    , m_number(number)
    , m_view(address)
    , m_ui(this, m_view)
    , m_history(address)
    , m_watch(workspace.Config(), workspace.Links())
    , m_actions(workspace, {m_ui, m_view,
                            [this] {
                                FollowChip();
                                return m_map.get();
                            },
                            [this](uint32_t address) { GoTo(address); }, [this] { Refresh(); }})
    , m_rows(m_view, workspace.Config(), workspace.Links())
{
    setObjectName(QStringLiteral("CMemWnd_%1").arg(number));
    ConnectControls();
    FollowChip();
    m_linkIdentity = LinkIdentity(m_workspace.Config());
    m_view.GoTo(address);
    m_ui.hex->ViewChanged();
    ShowCursorPlace();
    // Quitting ends the work while the windows can still say what was not written.
    connect(qApp, &QCoreApplication::aboutToQuit, this, &MemoryWindow::SettleWork);
}

MemoryWindow::~MemoryWindow()
{
    // A window the user closed is not reopened; one that goes with the
    // application is.
    if (!m_workspace.Closing())
        m_workspace.Config().WriteText(QString::fromLatin1(ConfigKey::kCommon), QString::asprintf(kOpenMark, m_number),
                                       QString());
    SettleWork();
}

void MemoryWindow::closeEvent(QCloseEvent *event)
{
    SettleWork();
    QWidget::closeEvent(event);
}

void MemoryWindow::SettleWork()
{
    if (m_settled)
        return;
    m_settled = true;
    m_watch.onRefresh = {};
    m_watch.onEnded = {};
    m_watch.Stop(); // a refresh waiting for the link gives up
    m_actions.Cancel();
    const QStringList unwritten = m_rows.Settle(kCloseWrites);
    if (!unwritten.isEmpty())
        m_workspace.Context().messages.ShowFailure(
            Tr(MemoryViewMessages::kWritesNotDone).arg(unwritten.join(QLatin1Char('\n'))));
}

std::optional<uint32_t> MemoryWindow::MarkedAddress(const ConfigFile &config, int number)
{
    const QString text = config.ReadText(QString::fromLatin1(ConfigKey::kCommon), QString::asprintf(kOpenMark, number),
                                         QString(), ConfigKey::kListTextSize);
    if (text.isEmpty())
        return std::nullopt;
    // A mark spoilt by hand still opens its window, at the usual place.
    return AddressInput::Parse(text, nullptr).value_or(kDefaultAddress);
}

void MemoryWindow::Remember()
{
    const QString key = QString::asprintf(kOpenMark, m_number);
    const QString address = MemoryUnits::Hex(m_view.Cursor(), 4);
    ConfigFile &config = m_workspace.Config();
    if (config.ReadText(QString::fromLatin1(ConfigKey::kCommon), key, QString(), ConfigKey::kListTextSize) != address)
        config.WriteText(QString::fromLatin1(ConfigKey::kCommon), key, address);
}

QString MemoryWindow::Title() const
{
    return QStringLiteral("memory_%1").arg(m_number);
}

QSize MemoryWindow::sizeHint() const
{
    const QFontMetrics metrics(m_ui.hex->font());
    // 16 bytes a row with their ASCII column and a few register names.
    return QSize(metrics.horizontalAdvance(QLatin1Char('0')) * 100 + 40, 520);
}

void MemoryWindow::ConnectControls()
{
    // Enter reaches the box's line edit through the box (its focus proxy)
    // or through the completer's list, never through an event filter.
    connect(m_ui.address->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (GoToText(m_ui.address->currentText()))
            m_ui.hex->setFocus(Qt::OtherFocusReason);
    });
    connect(m_ui.address, &QComboBox::activated, this, [this](int index) { GoToText(m_ui.address->itemText(index)); });
    connect(m_ui.back, &QToolButton::clicked, this, &MemoryWindow::Back);
    connect(m_ui.forward, &QToolButton::clicked, this, &MemoryWindow::Forward);
    connect(m_ui.unit, &QComboBox::activated, this, [this] {
        m_ui.hex->CancelEdit();
        m_view.SetUnit(m_ui.unit->currentData().toInt());
        m_ui.hex->ViewChanged();
        ShowCursorPlace();
    });
    connect(m_ui.rowWidth, &QComboBox::activated, this, [this] {
        m_ui.hex->CancelEdit();
        m_view.SetRowWidth(m_ui.rowWidth->currentData().toInt());
        m_ui.hex->ViewChanged();
        RequestRows();
    });
    connect(m_ui.watch, &QCheckBox::toggled, this, [this](bool on) { StartOrStopWatch(on); });
    connect(m_ui.rate, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_watch.IsRunning())
            return;
        m_restartingWatch = true;
        m_watch.Stop();
        m_restartingWatch = false;
        StartOrStopWatch(true);
    });
    connect(m_ui.hex, &MemoryHexArea::Scrolled, this, [this] { RequestRows(); });
    connect(m_ui.hex, &MemoryHexArea::CursorMoved, this, [this] { ShowCursorPlace(); });
    connect(m_ui.hex, &MemoryHexArea::WriteRequested, this, &MemoryWindow::WriteUnit);
    connect(m_ui.hex, &MemoryHexArea::UndoRequested, this, &MemoryWindow::Undo);
    connect(m_ui.hex, &MemoryHexArea::RefreshRequested, this, &MemoryWindow::Refresh);
    connect(m_ui.hex, &MemoryHexArea::PeripheralRequested, this, &MemoryWindow::OpenPeripheral);

    connect(&m_rows, &MemoryRowIo::RowsRead, this, &MemoryWindow::RowsRead);
    connect(&m_rows, &MemoryRowIo::UnitWritten, this, [this](uint32_t address, const QString &failure) {
        m_ui.hex->SetPending(address, std::nullopt);
        if (!failure.isEmpty())
            m_workspace.Context().messages.ShowFailure(failure);
        m_ui.hex->viewport()->update();
        ShowCursorPlace();
    });
    auto shortcut = [this](const QKeySequence &key, auto slot) {
        auto *s = new QShortcut(key, this, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
        connect(s, &QShortcut::activated, this, slot);
    };
    shortcut(QKeySequence(Qt::CTRL | Qt::Key_G), [this] { FocusAddress(); });
    shortcut(QKeySequence::Find, [this] { FocusFind(); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Left), [this] { Back(); });
    shortcut(QKeySequence(Qt::ALT | Qt::Key_Right), [this] { Forward(); });

    m_watch.onRefresh = [this](const std::vector<MemoryBlock> &blocks) {
        m_view.ApplyRefresh(blocks);
        m_ui.hex->viewport()->update();
    };
    m_watch.onEnded = [this](const QString &message) {
        if (m_restartingWatch)
            return;
        {
            const QSignalBlocker quiet(m_ui.watch);
            m_ui.watch->setChecked(false);
        }
        if (!message.isEmpty())
            m_workspace.Context().messages.ShowFailure(message);
    };

    // The chip selected in the panel decides the chip model, as for every operation.
    connect(&m_workspace, &Workspace::ChipSelected, this, [this] {
        FollowChip();
        RequestRows();
    });
    // Told once the panel has stored the choice.
    connect(&m_workspace, &Workspace::LinkChoiceChanged, this, &MemoryWindow::FollowLink);
}

void MemoryWindow::FollowLink()
{
    const QString identity = LinkIdentity(m_workspace.Config());
    if (identity == m_linkIdentity)
        return;
    m_linkIdentity = identity;
    Refresh();
}

void MemoryWindow::ClearNamesNotInMap()
{
    const auto stale = [this](const QString &text) {
        return !text.trimmed().isEmpty() && !AddressInput::Parse(text.trimmed(), m_map.get());
    };
    if (stale(m_ui.address->currentText()))
        m_ui.address->setEditText(QString());
    if (stale(m_ui.rangeFirst->text()))
        m_ui.rangeFirst->clear();
}

void MemoryWindow::FollowChip()
{
    const QString chip = m_workspace.Chip();
    std::shared_ptr<const ChipAddressMap> map =
        ChipAddressMap::Shared(SvdDeviceModel::SvdFilePath(m_workspace.ExeDir(), chip));
    if (chip == m_view.Rules().ChipModel() && map == m_map)
        return;
    const bool otherChip = m_map && chip != m_view.Rules().ChipModel();
    m_map = std::move(map);
    m_view.SetRules(ReadRules(chip, m_map->LeftOutWords()));
    if (otherChip) {
        // What was said of the old chip's bytes no longer holds; a running
        // find or transfer keeps its own line.
        if (!m_actions.Running())
            m_ui.message->clear();
        m_readFailure.clear();
        ClearNamesNotInMap();
    }
    m_ui.hex->SetAddressMap(m_map);
    auto *completer = new QCompleter(m_map->Names(), m_ui.address);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    m_ui.address->setCompleter(completer);
    m_watch.SetRegion(m_view.Rules(), m_view.First(), m_view.ShownBytes());
    m_ui.hex->viewport()->update();
}

void MemoryWindow::RequestRows()
{
    FollowChip();
    m_watch.SetRegion(m_view.Rules(), m_view.First(), m_view.ShownBytes());
    if (m_rows.ReadWanted())
        m_ui.hex->viewport()->update();
}

void MemoryWindow::RowsRead(const QString &failure)
{
    // A failed read is said beside the cursor's place until a read works;
    // what a find or a file transfer said stays.
    if (!failure.isEmpty())
        m_ui.message->setText(failure);
    else if (m_ui.message->text() == m_readFailure)
        m_ui.message->clear();
    m_readFailure = failure;
    m_ui.hex->viewport()->update();
    // Rows scrolled into view while this read ran.
    RequestRows();
}

void MemoryWindow::Refresh()
{
    m_view.Forget();
    // A running find or transfer keeps its line.
    if (!m_actions.Running())
        m_ui.message->clear();
    m_readFailure.clear();
    RequestRows();
}

void MemoryWindow::WriteUnit(uint32_t address, int size, uint32_t before, uint32_t after)
{
    m_ui.hex->SetPending(address, after);
    m_rows.Write({address, size, before, after});
}

void MemoryWindow::Undo()
{
    const std::optional<MemoryView::Written> last = m_rows.Undo();
    if (!last)
        return;
    m_ui.hex->SetPending(last->address, last->before);
    if (!m_view.IsShown(last->address))
        GoTo(last->address);
}

void MemoryWindow::StartOrStopWatch(bool on)
{
    if (!on) {
        m_watch.Stop();
        return;
    }
    FollowChip();
    m_watch.SetRegion(m_view.Rules(), m_view.First(), m_view.ShownBytes());
    if (!m_watch.Start(m_ui.rate->currentData().toInt(), m_view.Rules().ChipModel())) {
        const QSignalBlocker quiet(m_ui.watch);
        m_ui.watch->setChecked(false);
    }
}

bool MemoryWindow::GoToText(const QString &text)
{
    FollowChip();
    const std::optional<uint32_t> address = AddressInput::Parse(text, m_map.get());
    if (!address) {
        m_workspace.Context().messages.ShowFailure(Tr(MemoryViewMessages::kNoAddress).arg(text));
        return false;
    }
    GoTo(*address);
    return true;
}

void MemoryWindow::GoTo(uint32_t address)
{
    m_history.Visit(m_view.Cursor(), address);
    m_ui.hex->CancelEdit();
    Show(address);
}

void MemoryWindow::Show(uint32_t address)
{
    m_view.GoTo(address);
    m_ui.hex->ViewChanged();
    ShowCursorPlace();
    RequestRows();
    Remember();
}

void MemoryWindow::Back()
{
    if (const std::optional<uint32_t> address = m_history.Back(m_view.Cursor()))
        Show(*address);
}

void MemoryWindow::Forward()
{
    if (const std::optional<uint32_t> address = m_history.Forward(m_view.Cursor()))
        Show(*address);
}

void MemoryWindow::ShowCursorPlace()
{
    const uint32_t cursor = m_view.Cursor();
    QString place = QStringLiteral("0x") + MemoryUnits::Hex(cursor, 4);
    if (m_map)
        if (const ChipAddressMap::Register *reg = m_map->RegisterAt(cursor))
            place += QStringLiteral("  ") + reg->name;
    m_ui.status->setText(place);
    m_ui.back->setEnabled(m_history.CanGoBack());
    m_ui.forward->setEnabled(m_history.CanGoForward());
    // The box lists the places gone to, the newest first.
    const QString typed = m_ui.address->currentText();
    m_ui.address->clear();
    const std::vector<uint32_t> &entries = m_history.Entries();
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
        if (m_ui.address->findText(MemoryUnits::Hex(*entry, 4)) < 0)
            m_ui.address->addItem(MemoryUnits::Hex(*entry, 4));
    m_ui.address->setEditText(m_ui.address->hasFocus() ? typed : MemoryUnits::Hex(cursor, 4));
}

void MemoryWindow::FocusAddress()
{
    m_ui.address->setFocus(Qt::ShortcutFocusReason);
    m_ui.address->lineEdit()->selectAll();
}

void MemoryWindow::FocusFind()
{
    m_ui.find->setFocus(Qt::ShortcutFocusReason);
    m_ui.find->selectAll();
}

void MemoryWindow::OpenPeripheral(const QString &name)
{
    const RegisterWindows::Shown shown = m_windows.ShowPeripheral(name);
    if (shown == RegisterWindows::Shown::NoPeripheral)
        m_ui.message->setText(Tr(MemoryWindowText::kNoPeripheral).arg(name));
    if (shown != RegisterWindows::Shown::Shown)
        return;
    // The register window is the active one; this window stays in sight over it.
    if (auto *own = qobject_cast<QMdiSubWindow *>(parentWidget()))
        own->raise();
}

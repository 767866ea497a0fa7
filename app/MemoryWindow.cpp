#include "app/MemoryWindow.h"

#include "app/MemoryHexArea.h"
#include "app/RegisterWindows.h"
#include "app/Workspace.h"
#include "link/LinkCycle.h"
#include "link/LinkMessages.h"
#include "link/SettingValues.h"
#include "link/Settings.h"
#include "memview/AddressInput.h"
#include "memview/DetachedUser.h"
#include "memview/MemoryRows.h"
#include "memview/MemoryUnits.h"
#include "memview/MemoryViewMessages.h"
#include "ops/MemoryOps.h"
#include "ops/OpsMessages.h"
#include "regmap/RegisterWindow.h"
#include "regmap/SvdDeviceModel.h"
#include "link/Tr.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>

#include <algorithm>

namespace {

// What the window shows and says.
namespace Text {
const char kAddress[] = "地址";
const char kBack[] = "后退 (Alt+Left)";
const char kForward[] = "前进 (Alt+Right)";
const char kUnit[] = "%1位";
const char kRowWidth[] = "%1 字节/行";
const char kWatch[] = "监视";
const char kRate[] = "%1 次/秒";
const char kFind[] = "查找 (Ctrl+F)";
const char kBytes[] = "字节序列";
const char kWord[] = "32位值";
const char kFrom[] = "从";
const char kLength[] = "长度";
const char kFindButton[] = "查找";
const char kSave[] = "保存到文件";
const char kLoad[] = "从文件载入";
const char kCancel[] = "取消";
const char kFinding[] = "查找中…";
const char kFound[] = "找到 0x%1";
const char kNotFound[] = "未找到";
const char kCancelled[] = "已取消";
const char kSaving[] = "保存中…";
const char kLoading[] = "载入中…";
const char kDone[] = "完成";
const char kNoPeripheral[] = "%1 不在外设列表中";
const char kUnwritten[] = "0x%1 = %2";
} // namespace Text

constexpr int kDefaultRate = 5;
// The kinds of jobs a newer one of the same kind replaces while they wait.
constexpr int kRowsJob = 1;

// The dump field of the file operations: a window has none.
struct NoDump : DumpView
{
    void SetDumpText(const QString &) override {}
};

} // namespace

MemoryWindow::MemoryWindow(Workspace &workspace, RegisterWindows &windows, int number, uint32_t address,
                           QWidget *parent)
    : QWidget(parent)
    , m_workspace(workspace)
    , m_windows(windows)
    , m_number(number)
    , m_view(address)
    , m_history(address)
    , m_watch(workspace.Config(), workspace.Links())
    , m_worker(std::make_unique<LinkWorker>())
    , m_longWorker(std::make_unique<LinkWorker>())
{
    setObjectName(QStringLiteral("CMemWnd_%1").arg(number));
    BuildControls();
    ConnectControls();
    FollowChip();
    m_linkIdentity = LinkIdentity();
    m_view.GoTo(address);
    m_hex->ViewChanged();
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

bool MemoryWindow::Ending::WritesGiveUp() const
{
    return closing.load() && std::chrono::steady_clock::now().time_since_epoch().count() > writesUntil.load();
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
    m_ending->writesUntil = (std::chrono::steady_clock::now() + kCloseWrites).time_since_epoch().count();
    m_ending->closing = true;
    if (m_cancel)
        m_cancel->store(true);
    m_longWorker->Finish();
    m_worker->Finish(); // rows give up at once; writes go through or give up
    QStringList unwritten;
    {
        std::lock_guard lock(m_ending->mutex);
        unwritten.swap(m_ending->unwritten);
    }
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
    const QFontMetrics metrics(m_hex->font());
    // 16 bytes a row with their ASCII column and a few register names.
    return QSize(metrics.horizontalAdvance(QLatin1Char('0')) * 100 + 40, 520);
}

void MemoryWindow::BuildControls()
{
    auto *lines = new QVBoxLayout(this);
    lines->setContentsMargins(2, 2, 2, 2);
    lines->setSpacing(2);
    auto *top = new QHBoxLayout;
    auto *findRow = new QHBoxLayout;
    auto *bottom = new QHBoxLayout;
    for (QHBoxLayout *row : {top, findRow, bottom})
        row->setSpacing(4);

    top->addWidget(new QLabel(Tr(Text::kAddress), this));
    m_address = new QComboBox(this);
    m_address->setObjectName(QStringLiteral("address"));
    m_address->setEditable(true);
    m_address->setInsertPolicy(QComboBox::NoInsert);
    m_address->setMinimumContentsLength(14);
    m_address->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    top->addWidget(m_address, 1);
    m_back = new QToolButton(this);
    m_back->setObjectName(QStringLiteral("back"));
    m_back->setArrowType(Qt::LeftArrow);
    m_back->setToolTip(Tr(Text::kBack));
    m_forward = new QToolButton(this);
    m_forward->setObjectName(QStringLiteral("forward"));
    m_forward->setArrowType(Qt::RightArrow);
    m_forward->setToolTip(Tr(Text::kForward));
    top->addWidget(m_back);
    top->addWidget(m_forward);
    m_unit = new QComboBox(this);
    m_unit->setObjectName(QStringLiteral("unit"));
    for (int size : MemoryUnits::kSizes)
        m_unit->addItem(Tr(Text::kUnit).arg(8 * size), size);
    m_unit->setCurrentIndex(m_unit->findData(m_view.Unit()));
    top->addWidget(m_unit);
    m_rowWidth = new QComboBox(this);
    m_rowWidth->setObjectName(QStringLiteral("rowWidth"));
    for (int bytes : MemoryUnits::kRowWidths)
        m_rowWidth->addItem(Tr(Text::kRowWidth).arg(bytes), bytes);
    m_rowWidth->setCurrentIndex(m_rowWidth->findData(m_view.RowWidth()));
    top->addWidget(m_rowWidth);
    m_watchBox = new QCheckBox(Tr(Text::kWatch), this);
    m_watchBox->setObjectName(QStringLiteral("watch"));
    top->addWidget(m_watchBox);
    m_rate = new QComboBox(this);
    m_rate->setObjectName(QStringLiteral("rate"));
    for (int rate : RegisterWatch::kRates)
        m_rate->addItem(Tr(Text::kRate).arg(rate), rate);
    m_rate->setCurrentIndex(m_rate->findData(kDefaultRate));
    top->addWidget(m_rate);

    m_find = new QLineEdit(this);
    m_find->setObjectName(QStringLiteral("find"));
    m_find->setPlaceholderText(Tr(Text::kFind));
    findRow->addWidget(m_find, 2);
    m_findKind = new QComboBox(this);
    m_findKind->setObjectName(QStringLiteral("findKind"));
    m_findKind->addItems({Tr(Text::kBytes), Tr(Text::kWord)});
    findRow->addWidget(m_findKind);
    findRow->addWidget(new QLabel(Tr(Text::kFrom), this));
    m_rangeFirst = new QLineEdit(this);
    m_rangeFirst->setObjectName(QStringLiteral("rangeFirst"));
    findRow->addWidget(m_rangeFirst, 1);
    findRow->addWidget(new QLabel(Tr(Text::kLength), this));
    m_rangeLength = new QLineEdit(this);
    m_rangeLength->setObjectName(QStringLiteral("rangeLength"));
    findRow->addWidget(m_rangeLength, 1);
    m_findButton = new QPushButton(Tr(Text::kFindButton), this);
    m_findButton->setObjectName(QStringLiteral("findNext"));
    findRow->addWidget(m_findButton);
    m_save = new QPushButton(Tr(Text::kSave), this);
    m_save->setObjectName(QStringLiteral("save"));
    findRow->addWidget(m_save);
    m_load = new QPushButton(Tr(Text::kLoad), this);
    m_load->setObjectName(QStringLiteral("load"));
    findRow->addWidget(m_load);

    m_hex = new MemoryHexArea(m_view, this);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setTextFormat(Qt::PlainText);
    m_message = new QLabel(this);
    m_message->setObjectName(QStringLiteral("message"));
    m_message->setTextFormat(Qt::PlainText);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    m_progress->setRange(0, 1000);
    m_progress->setMaximumWidth(160);
    m_progress->hide();
    m_cancelButton = new QPushButton(Tr(Text::kCancel), this);
    m_cancelButton->setObjectName(QStringLiteral("cancel"));
    m_cancelButton->hide();
    bottom->addWidget(m_status);
    bottom->addSpacing(3 * QFontMetrics(font()).horizontalAdvance(QLatin1Char('0')));
    bottom->addWidget(m_message, 1);
    bottom->addWidget(m_progress);
    bottom->addWidget(m_cancelButton);

    lines->addLayout(top);
    lines->addLayout(findRow);
    lines->addWidget(m_hex, 1);
    lines->addLayout(bottom);
    setFocusProxy(m_hex);
}

void MemoryWindow::ConnectControls()
{
    // Enter reaches the box's line edit through the box (its focus proxy)
    // or through the completer's list, never through an event filter.
    connect(m_address->lineEdit(), &QLineEdit::returnPressed, this, [this] {
        if (GoToText(m_address->currentText()))
            m_hex->setFocus(Qt::OtherFocusReason);
    });
    connect(m_address, &QComboBox::activated, this, [this](int index) { GoToText(m_address->itemText(index)); });
    connect(m_back, &QToolButton::clicked, this, &MemoryWindow::Back);
    connect(m_forward, &QToolButton::clicked, this, &MemoryWindow::Forward);
    connect(m_unit, &QComboBox::activated, this, [this] {
        m_hex->CancelEdit();
        m_view.SetUnit(m_unit->currentData().toInt());
        m_hex->ViewChanged();
        ShowCursorPlace();
    });
    connect(m_rowWidth, &QComboBox::activated, this, [this] {
        m_hex->CancelEdit();
        m_view.SetRowWidth(m_rowWidth->currentData().toInt());
        m_hex->ViewChanged();
        RequestRows();
    });
    connect(m_watchBox, &QCheckBox::toggled, this, [this](bool on) { StartOrStopWatch(on); });
    connect(m_rate, &QComboBox::currentIndexChanged, this, [this] {
        if (!m_watch.IsRunning())
            return;
        m_restartingWatch = true;
        m_watch.Stop();
        m_restartingWatch = false;
        StartOrStopWatch(true);
    });
    // Enter in any box of the find row finds.
    for (QLineEdit *box : {m_find, m_rangeFirst, m_rangeLength})
        connect(box, &QLineEdit::returnPressed, this, &MemoryWindow::Find);
    connect(m_findButton, &QPushButton::clicked, this, &MemoryWindow::Find);
    connect(m_cancelButton, &QPushButton::clicked, this, &MemoryWindow::CancelFind);
    connect(m_save, &QPushButton::clicked, this, &MemoryWindow::SaveRange);
    connect(m_load, &QPushButton::clicked, this, &MemoryWindow::LoadFile);

    connect(m_hex, &MemoryHexArea::Scrolled, this, [this] { RequestRows(); });
    connect(m_hex, &MemoryHexArea::CursorMoved, this, [this] { ShowCursorPlace(); });
    connect(m_hex, &MemoryHexArea::WriteRequested, this,
            [this](uint32_t address, int size, uint32_t before, uint32_t after) {
                WriteUnit(address, size, before, after, false);
            });
    connect(m_hex, &MemoryHexArea::UndoRequested, this, &MemoryWindow::Undo);
    connect(m_hex, &MemoryHexArea::RefreshRequested, this, &MemoryWindow::Refresh);
    connect(m_hex, &MemoryHexArea::PeripheralRequested, this, &MemoryWindow::OpenPeripheral);

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
        m_hex->viewport()->update();
    };
    m_watch.onEnded = [this](const QString &message) {
        if (m_restartingWatch)
            return;
        {
            const QSignalBlocker quiet(m_watchBox);
            m_watchBox->setChecked(false);
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

QString MemoryWindow::LinkIdentity() const
{
    const ConfigFile &config = m_workspace.Config();
    const Settings source = LoadSettings(config, SettingsPart::DataSourceOnly);
    if (source.dataSource == Stored(DataSource::JLink))
        return QStringLiteral("jlink %1").arg(LoadSettings(config, SettingsPart::JLink).jlinkSerialNumber);
    if (source.dataSource == Stored(DataSource::Gdb))
        return QStringLiteral("gdb ") + LoadSettings(config, SettingsPart::Gdb).gdbServer;
    if (source.dataSource == Stored(DataSource::Offline))
        return QStringLiteral("offline");
    return QStringLiteral("uart ") + LoadSettings(config, SettingsPart::Uart).uartPort;
}

void MemoryWindow::FollowLink()
{
    const QString identity = LinkIdentity();
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
    if (stale(m_address->currentText()))
        m_address->setEditText(QString());
    if (stale(m_rangeFirst->text()))
        m_rangeFirst->clear();
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
        if (!m_cancel)
            m_message->clear();
        m_readFailure.clear();
        ClearNamesNotInMap();
    }
    m_hex->SetAddressMap(m_map);
    auto *completer = new QCompleter(m_map->Names(), m_address);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    m_address->setCompleter(completer);
    m_watch.SetRegion(m_view.Rules(), m_view.First(), m_view.ShownBytes());
    m_hex->viewport()->update();
}

template<typename F> void MemoryWindow::Deliver(F &&done)
{
    QMetaObject::invokeMethod(
        this,
        [this, done = std::forward<F>(done)]() mutable {
            --m_outstanding;
            done();
        },
        Qt::QueuedConnection);
}

void MemoryWindow::Post(LinkWorker &worker, LinkWorker::Job job, int kind)
{
    if (m_settled)
        return; // the window's work has ended
    // A job that replaced a waiting one reports for both.
    if (worker.Post(std::move(job), kind))
        ++m_outstanding;
}

void MemoryWindow::RequestRows()
{
    FollowChip();
    m_watch.SetRegion(m_view.Rules(), m_view.First(), m_view.ShownBytes());
    std::optional<MemoryBlock> wanted = m_view.TakeWanted();
    if (!wanted)
        return;
    m_hex->viewport()->update();
    const ReadRules rules = m_view.Rules();
    ConfigFile &config = m_workspace.Config();
    TargetLinks &links = m_workspace.Links();
    Post(
        *m_worker,
        [this, rules, block = std::move(*wanted), ending = m_ending, &config, &links]() mutable {
            // A closing window reads nothing more, nor waits for the link.
            const LinkCycleGateAttempt pass(links.gate, LinkCycleGate::Turn::User,
                                            [ending] { return ending->closing.load(); });
            if (!pass.Entered() || ending->closing)
                return;
            DetachedUser user(rules.ChipModel());
            UserContext context = user.Context();
            {
                LinkCycle cycle(config, links, context);
                MemoryRows::ReadCycle(cycle, rules, block);
            }
            Deliver([this, block, failure = user.failures.value(0)] { RowsRead(block, failure); });
        },
        kRowsJob);
}

void MemoryWindow::RowsRead(const MemoryBlock &block, const QString &failure)
{
    m_view.Apply(block);
    // A failed read is said beside the cursor's place until a read works;
    // what a find or a file transfer said stays.
    if (!failure.isEmpty())
        m_message->setText(failure.trimmed());
    else if (m_message->text() == m_readFailure)
        m_message->clear();
    m_readFailure = failure.trimmed();
    m_hex->viewport()->update();
    // Rows scrolled into view while this read ran.
    RequestRows();
}

void MemoryWindow::Refresh()
{
    m_view.Forget();
    // A running find or transfer keeps its line.
    if (!m_cancel)
        m_message->clear();
    m_readFailure.clear();
    RequestRows();
}

void MemoryWindow::WriteUnit(uint32_t address, int size, uint32_t before, uint32_t after, bool undo)
{
    m_hex->SetPending(address, after);
    const ReadRules rules = m_view.Rules();
    ConfigFile &config = m_workspace.Config();
    TargetLinks &links = m_workspace.Links();
    Post(*m_worker, [this, rules, address, size, before, after, undo, ending = m_ending, &config, &links] {
        // Typed units are written even while the window closes, unless the
        // link stays busy past the close's allowance: then they are named.
        const LinkCycleGateAttempt pass(links.gate, LinkCycleGate::Turn::User,
                                        [ending] { return ending->WritesGiveUp(); });
        if (!pass.Entered()) {
            std::lock_guard lock(ending->mutex);
            ending->unwritten << Tr(Text::kUnwritten).arg(MemoryUnits::Hex(address, 4), MemoryUnits::Hex(after, size));
            return;
        }
        DetachedUser user(rules.ChipModel());
        UserContext context = user.Context();
        OperationEnv env{config, links, context, {}};
        const bool written = MemoryOps::WriteUnit(env, address, uint32_t(size), after).Succeeded();
        // What the chip holds now is what the window shows: the unit is read back.
        MemoryBlock back = MemoryRows::Planned(rules, address, uint32_t(size));
        if (written) {
            DetachedUser reader(rules.ChipModel());
            UserContext readerContext = reader.Context();
            LinkCycle cycle(config, links, readerContext);
            MemoryRows::ReadCycle(cycle, rules, back);
        }
        Deliver([this, address, size, before, after, undo, written, back, failures = user.failures] {
            m_hex->SetPending(address, std::nullopt);
            if (!written) {
                if (undo)
                    m_view.PushWritten({address, size, after, before}); // still to undo
                ShowMessages(failures.mid(0, 1));
                return;
            }
            m_view.Replace(back);
            if (!undo)
                m_view.PushWritten({address, size, before, after});
            m_hex->viewport()->update();
            ShowCursorPlace();
        });
    });
}

void MemoryWindow::Undo()
{
    const std::optional<MemoryView::Written> last = m_view.TakeLastWritten();
    if (!last)
        return;
    if (!m_view.IsShown(last->address))
        GoTo(last->address);
    WriteUnit(last->address, last->size, last->after, last->before, true);
}

int MemoryWindow::Rate() const
{
    return m_rate->currentData().toInt();
}

void MemoryWindow::StartOrStopWatch(bool on)
{
    if (!on) {
        m_watch.Stop();
        return;
    }
    FollowChip();
    m_watch.SetRegion(m_view.Rules(), m_view.First(), m_view.ShownBytes());
    if (!m_watch.Start(Rate(), m_view.Rules().ChipModel())) {
        const QSignalBlocker quiet(m_watchBox);
        m_watchBox->setChecked(false);
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
    m_hex->CancelEdit();
    Show(address);
}

void MemoryWindow::Show(uint32_t address)
{
    m_view.GoTo(address);
    m_hex->ViewChanged();
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
    m_status->setText(place);
    m_back->setEnabled(m_history.CanGoBack());
    m_forward->setEnabled(m_history.CanGoForward());
    // The box lists the places gone to, the newest first.
    const QString typed = m_address->currentText();
    m_address->clear();
    const std::vector<uint32_t> &entries = m_history.Entries();
    for (auto entry = entries.rbegin(); entry != entries.rend(); ++entry)
        if (m_address->findText(MemoryUnits::Hex(*entry, 4)) < 0)
            m_address->addItem(MemoryUnits::Hex(*entry, 4));
    m_address->setEditText(m_address->hasFocus() ? typed : MemoryUnits::Hex(cursor, 4));
}

void MemoryWindow::FocusAddress()
{
    m_address->setFocus(Qt::ShortcutFocusReason);
    m_address->lineEdit()->selectAll();
}

void MemoryWindow::FocusFind()
{
    m_find->setFocus(Qt::ShortcutFocusReason);
    m_find->selectAll();
}

void MemoryWindow::ShowMessages(const QStringList &messages)
{
    for (const QString &message : messages)
        m_workspace.Context().messages.ShowFailure(message);
}

void MemoryWindow::SetBusyWith(const QString &status, bool cancellable)
{
    m_message->setText(status);
    m_progress->setValue(0);
    m_progress->show();
    m_cancelButton->setVisible(cancellable);
    m_findButton->setEnabled(false);
    m_save->setEnabled(false);
    m_load->setEnabled(false);
}

void MemoryWindow::EndBusy(const QString &status)
{
    m_message->setText(status);
    m_progress->hide();
    m_cancelButton->hide();
    m_findButton->setEnabled(true);
    m_save->setEnabled(true);
    m_load->setEnabled(true);
}

std::optional<uint32_t> MemoryWindow::RangeFirst(uint32_t fallback)
{
    const QString text = m_rangeFirst->text().trimmed();
    if (text.isEmpty())
        return fallback;
    const std::optional<uint32_t> first = AddressInput::Parse(text, m_map.get());
    if (!first)
        m_workspace.Context().messages.ShowFailure(Tr(MemoryViewMessages::kNoAddress).arg(text));
    return first;
}

std::optional<uint64_t> MemoryWindow::RangeLength(uint64_t fallback)
{
    const QString text = m_rangeLength->text().trimmed();
    // Read as strictly as an address: hex digits, "0x" and blanks, nothing
    // else; no name stands for a length.
    const std::optional<uint32_t> typed = text.isEmpty() ? std::nullopt : AddressInput::Parse(text, nullptr);
    if (!text.isEmpty() && !typed) {
        m_workspace.Context().messages.ShowFailure(Tr(MemoryViewMessages::kNoLength).arg(text));
        return std::nullopt;
    }
    const uint64_t length = typed ? *typed : fallback;
    if (length == 0) {
        m_workspace.Context().messages.ShowFailure(Tr(OpsMessages::kZeroLength));
        return std::nullopt;
    }
    return length;
}

bool MemoryWindow::Online()
{
    if (LoadSettings(m_workspace.Config(), SettingsPart::DataSourceOnly).dataSource != Stored(DataSource::Offline))
        return true;
    m_workspace.Context().messages.ShowFailure(Tr(LinkMessages::kSelectOnlineData));
    return false;
}

void MemoryWindow::Find()
{
    if (m_cancel)
        return; // one at a time
    FollowChip();
    const bool word = m_findKind->currentIndex() == 1;
    const std::optional<MemoryFind::Pattern> pattern =
        word ? MemoryFind::ParseWord(m_find->text()) : MemoryFind::ParseBytes(m_find->text());
    if (!pattern) {
        m_workspace.Context().messages.ShowFailure(Tr(MemoryViewMessages::kNoPattern));
        return;
    }
    const std::optional<uint32_t> first = RangeFirst(m_view.Cursor());
    const std::optional<uint64_t> length = first ? RangeLength(kDefaultFindLength) : std::nullopt;
    if (!first || !length || !Online())
        return;
    MemoryFind::Request request{*pattern, *first, *length};
    const uint64_t end = std::min(ReadRules::kSpaceSize, uint64_t(*first) + *length);
    // The same search again goes on after its last match.
    if (m_findPlace && m_findPlace->pattern == pattern->bytes && m_findPlace->end == end &&
        m_findPlace->next >= *first && m_findPlace->next < end) {
        request.first = m_findPlace->next;
        request.length = end - m_findPlace->next;
    }
    m_findPlace.reset();
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    SetBusyWith(Tr(Text::kFinding), true);
    m_hex->SetMatch(std::nullopt);
    const ReadRules rules = m_view.Rules();
    ConfigFile &config = m_workspace.Config();
    TargetLinks &links = m_workspace.Links();
    Post(*m_longWorker, [this, rules, request, end, cancel = m_cancel, &config, &links] {
        const MemoryFind::Result result = MemoryFind::Run(
            config, links, rules, request,
            [this](uint64_t done, uint64_t total) {
                QMetaObject::invokeMethod(
                    this, [this, done, total] { m_progress->setValue(total ? int(done * 1000 / total) : 0); },
                    Qt::QueuedConnection);
            },
            *cancel);
        Deliver([this, result, request, end] {
            m_cancel.reset();
            if (result.found) {
                const auto size = uint32_t(request.pattern.bytes.size());
                m_findPlace = FindPlace{request.pattern.bytes, end, *result.found + 1};
                GoTo(*result.found);
                m_hex->SetMatch(AddressRun{*result.found, size});
                EndBusy(Tr(Text::kFound).arg(MemoryUnits::Hex(*result.found, 4)));
            } else if (result.cancelled) {
                EndBusy(Tr(Text::kCancelled));
            } else {
                EndBusy(result.failure.isEmpty() ? Tr(Text::kNotFound) : result.failure.trimmed());
                if (!result.failure.isEmpty())
                    m_workspace.Context().messages.ShowFailure(result.failure);
            }
        });
    });
}

void MemoryWindow::CancelFind()
{
    if (m_cancel)
        m_cancel->store(true);
}

void MemoryWindow::SaveRange()
{
    if (m_cancel || !Online())
        return;
    FollowChip();
    const std::optional<uint32_t> first = RangeFirst(m_view.First());
    const std::optional<uint64_t> length = first ? RangeLength(m_view.ShownBytes()) : std::nullopt;
    if (!first || !length)
        return;
    // The panel's own dialog and operation: the file is chosen here, the
    // operation runs on the worker with that answer.
    const QString path = m_workspace.Context().files.ChooseFile(MemoryFileRequest(MemoryFileUse::Save));
    const QString chip = m_view.Rules().ChipModel();
    const uint32_t address = *first;
    const auto lengthCapped = uint32_t(std::min<uint64_t>(*length, 0xFFFFFFFFu));
    RunTransfer(
        Tr(Text::kSaving),
        [chip, path, address, lengthCapped](OperationEnv &env) {
            NoDump dump;
            MemoryOps::ReadToFile(env, address, lengthCapped, dump);
        },
        chip, path, false);
}

void MemoryWindow::LoadFile()
{
    if (m_cancel || !Online())
        return;
    FollowChip();
    const std::optional<uint32_t> first = RangeFirst(m_view.Cursor());
    if (!first)
        return;
    const QString path = m_workspace.Context().files.ChooseFile(MemoryFileRequest(MemoryFileUse::Load));
    const QString chip = m_view.Rules().ChipModel();
    const uint32_t address = *first;
    RunTransfer(
        Tr(Text::kLoading), [address](OperationEnv &env) { MemoryOps::WriteFromFile(env, address); }, chip, path, true);
}

void MemoryWindow::RunTransfer(const QString &status, std::function<void(OperationEnv &)> transfer, const QString &chip,
                               const QString &path, bool refreshAfter)
{
    m_cancel = std::make_shared<std::atomic<bool>>(false);
    SetBusyWith(status, true);
    ConfigFile &config = m_workspace.Config();
    TargetLinks &links = m_workspace.Links();
    Post(*m_longWorker, [this, transfer, chip, path, refreshAfter, cancel = m_cancel, &config, &links] {
        // Cancelled (or the window closed) while the link is busy elsewhere:
        // nothing is transferred and nothing waits.
        const LinkCycleGateAttempt pass(links.gate, LinkCycleGate::Turn::User, [cancel] { return cancel->load(); });
        DetachedUser user(chip, path);
        if (pass.Entered()) {
            UserContext context = user.Context();
            OperationEnv env{config, links, context, ProgressReport(), [cancel] { return cancel->load(); }};
            transfer(env);
        }
        Deliver([this, entered = pass.Entered(), refreshAfter, notes = user.notes, failures = user.failures] {
            m_cancel.reset();
            if (!entered)
                EndBusy(Tr(Text::kCancelled));
            else
                EndBusy(failures.isEmpty() ? Tr(Text::kDone) : failures.front().trimmed());
            ShowMessages(notes + failures);
            if (refreshAfter)
                Refresh(); // what the file put there
        });
    });
}

std::function<void(qint64, qint64)> MemoryWindow::ProgressReport()
{
    // Called on the worker's thread: the bar moves on the window's.
    return [this](qint64 done, qint64 total) {
        QMetaObject::invokeMethod(
            this, [this, done, total] { m_progress->setValue(total ? int(done * 1000 / total) : 0); },
            Qt::QueuedConnection);
    };
}

void MemoryWindow::OpenPeripheral(const QString &name)
{
    const RegisterWindows::Shown shown = m_windows.ShowPeripheral(name);
    if (shown == RegisterWindows::Shown::NoPeripheral)
        m_message->setText(Tr(Text::kNoPeripheral).arg(name));
    if (shown != RegisterWindows::Shown::Shown)
        return;
    // The register window is the active one; this window stays in sight over it.
    if (auto *own = qobject_cast<QMdiSubWindow *>(parentWidget()))
        own->raise();
}

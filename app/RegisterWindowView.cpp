#include "app/RegisterWindowView.h"

#include "link/Tr.h"
#include "app/TargetActionRunner.h"

#include "app/AppMessages.h"
#include "app/RegisterRowModel.h"
#include "app/RegisterWindowTools.h"
#include "app/UserProfile.h"
#include "app/ValuePlotPane.h"
#include "app/Workspace.h"
#include "widgets/PropertyGrid.h"
#include "regmap/RegisterWindow.h"
#include "regmap/RegisterWindowTable.h"
#include "regmap/RowText.h"
#include "link/SettingValues.h"
#include "link/Settings.h"

#include <QApplication>
#include <QClipboard>
#include <QShortcut>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHash>
#include <QMenu>
#include <QPointer>
#include <QSplitter>
#include <QTimer>
#include <QItemSelectionModel>
#include <QLabel>
#include <QSettings>
#include <QTreeView>

namespace {

// Swallows mouse releases on a menu until a press happened on it.
class ReleaseOfOpeningClick : public QObject
{
public:
    explicit ReleaseOfOpeningClick(QMenu &menu) { menu.installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            m_pressed = true;
        return event->type() == QEvent::MouseButtonRelease && !m_pressed;
    }

private:
    bool m_pressed = false;
};

// Some monospaced fonts (Noto Sans Mono among them) do not mark themselves
// fixed-pitch, so the glyph widths decide.
bool IsMonospaced(const QFont &font)
{
    const QFontMetrics metrics(font);
    return QFontInfo(font).fixedPitch() ||
           metrics.horizontalAdvance(QLatin1Char('i')) == metrics.horizontalAdvance(QLatin1Char('W'));
}

// "Courier New" when the system has it, otherwise its monospaced font, at
// the size of the menu font.
QFont CaptionFont()
{
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::Monospace);
    if (!IsMonospaced(font))
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    const QFont menu = QApplication::font("QMenu");
    if (menu.pointSizeF() > 0)
        font.setPointSizeF(menu.pointSizeF());
    font.setBold(menu.bold());
    font.setItalic(menu.italic());
    return font;
}

} // namespace

struct RegisterWindowView::Impl : public RowTreeListener
{
    Impl(RegisterWindowView &view, Workspace &workspace, int slot)
        : m_view(view)
        , m_table(workspace.WindowTable())
        , m_env{workspace.Config(), workspace.Links(), workspace.Context(), workspace.ExeDir(), workspace.Dpi()}
    {
        m_table.SetNextWindowSlot(slot);
        m_logic = std::make_unique<RegisterWindow>(m_env, m_table);
        // Reads and writes run their cycle off the windows' thread; what was
        // read reaches the rows when it ends, unless the window went first.
        m_logic->SetTransferRunner([&workspace, guard = QPointer<RegisterWindowView>(&view)](
                                       std::shared_ptr<RegisterTransfer> transfer, std::function<void()> finish) {
            const bool read = transfer->kind == RegisterTransfer::Kind::ReadPeripheral ||
                              transfer->kind == RegisterTransfer::Kind::ReadRegister;
            auto action = [transfer](OperationEnv &env, DumpView &) { transfer->Run(env.config, env.links, env.user); };
            auto done = [guard, finish, transfer] {
                if (!guard)
                    return;
                finish();
                if (transfer->kind == RegisterTransfer::Kind::WriteRegister ||
                    transfer->kind == RegisterTransfer::Kind::WritePeripheral)
                    guard->m_impl->Written(*transfer);
                if (guard->Tools())
                    guard->Tools()->ForgetWatchImagesOf(transfer->peripheral);
            };
            if (read)
                return workspace.Actions().Start(Tr(QT_TRANSLATE_NOOP("Corvane", "寄存器读取")), std::move(action),
                                                 std::move(done));
            // A write waits for the action that runs: an edit is never dropped.
            workspace.Actions().Queue(Tr(QT_TRANSLATE_NOOP("Corvane", "寄存器写入")), std::move(action),
                                      std::move(done));
            return true;
        });
        m_model = std::make_unique<RegisterRowModel>(m_logic->Tree());
        m_logic->Tree().SetListener(this);
        m_settle.setSingleShot(true);
        m_settle.setInterval(50);
    }
    ~Impl() override
    {
        m_logic->Tree().SetListener(nullptr);
        m_table.SetNextWindowSlot(m_logic->Slot());
    }

    PropertyGrid &Grid() const { return *m_view.m_grid; }
    RegisterRowTree &Tree() const { return m_logic->Tree(); }

    // RowTreeListener: the model follows every change; the tool row redoes
    // its marks when the rows changed shape.
    void RowsClearing() override { m_model->RowsClearing(); }
    void RowsCleared() override
    {
        m_model->RowsCleared();
        // A new base or expand level keeps the rows: a running watch goes on.
        if (Tree().LastResetReshaped())
            m_view.ScheduleReshape();
        else if (m_view.m_tools)
            m_view.m_tools->RowsChanged();
    }
    void TopRowAppended(const RegisterRow &row) override
    {
        m_model->TopRowAppended(row);
        m_view.ScheduleReshape();
    }
    void TopRowRemoving(const RegisterRow &row) override { m_model->TopRowRemoving(row); }
    void TopRowRemoved() override
    {
        m_model->TopRowRemoved();
        m_view.ScheduleReshape();
    }
    void RowChanged(const RegisterRow &row) override
    {
        FollowPending(row);
        m_model->RowChanged(row);
        if (m_view.m_tools)
            m_view.m_tools->RowsChanged();
    }
    void HeaderTitlesChanged() override { m_model->HeaderTitlesChanged(); }
    void NumberBaseChanged() override { m_model->NumberBaseChanged(); }
    void SelectionChanged() override
    {
        if (m_syncing)
            return;
        m_syncing = true;
        Grid().Select(Tree().Selected() ? Tree().Selected()->Id() : 0);
        m_syncing = false;
    }

    // Writing from the row menu: a register edited in the rows differs from
    // the chip until it is written. The chip holds the word last written
    // from here, else the word last filled from it, which stays the
    // register's last word through an edit; a register never read has none.
    void FollowPending(const RegisterRow &row)
    {
        if (row.RowKind() != RegisterRow::Kind::Register)
            return;
        const ValueSource &source = row.Source();
        if (source.kind != ValueSource::Kind::Edited) {
            m_written.remove(row.Id());
            m_model->ClearPending(row);
            return;
        }
        const auto written = m_written.constFind(row.Id());
        if (m_model->IsPending(row) || !WritesLater() || (written != m_written.constEnd() && *written == row.Number()))
            return;
        const bool read = source.time.isValid(); // a never-read register has no time
        std::optional<uint64_t> chip;
        if (written != m_written.constEnd())
            chip = *written;
        else if (read)
            chip = row.LastWord();
        m_model->MarkPending(row, chip);
    }
    bool WritesLater() const
    {
        const ConfigFile &config = m_env.config;
        if (LoadSettings(config, SettingsPart::DataSourceOnly).dataSource == Stored(DataSource::Offline))
            return false;
        const int entry = m_env.user.panel.RegisterWriteModeEntry();
        const int mode = entry >= 0 ? entry : config.ReadInt(ConfigKey::kCommon, ConfigKey::kRegWr, 0);
        return mode != Stored(RegisterWriteMode::Immediate);
    }
    // A write that went out: its registers hold on the chip what they
    // show, and their edits are edits no longer.
    void Written(const RegisterTransfer &transfer)
    {
        if (!transfer.succeeded)
            return;
        RegisterRow *row = Tree().FindById(transfer.rowId);
        if (!row)
            return;
        if (row->RowKind() == RegisterRow::Kind::Register) {
            Written(*row);
            return;
        }
        for (const auto &reg : row->Children())
            if (reg->Source().kind == ValueSource::Kind::Edited)
                Written(*reg);
    }
    void Written(RegisterRow &reg)
    {
        m_written.insert(reg.Id(), reg.Number());
        m_model->ClearPending(reg);
        Tree().AcceptValue(&reg);
        for (const auto &child : reg.Children())
            Tree().AcceptValue(child.get());
    }

    // The grid's selection is the one the commands act on.
    void TakeGridSelection()
    {
        if (m_syncing)
            return;
        m_syncing = true;
        Tree().Select(const_cast<RegisterRow *>(m_model->RowAt(Grid().Index(Grid().SelectedId()))));
        m_syncing = false;
    }

    RegisterWindowView &m_view;
    RegisterWindowTable &m_table;
    RegisterWindowEnv m_env;
    std::unique_ptr<RegisterWindow> m_logic;
    std::unique_ptr<RegisterRowModel> m_model;
    QTimer m_settle;
    bool m_syncing = false;
    QHash<uint64_t, uint64_t> m_written; // register: the word last written from the rows
};

RegisterWindowView::RegisterWindowView(Workspace &workspace, int slot, QWidget *parent)
    : QWidget(parent)
    , m_workspace(workspace)
    , m_slot(slot)
{
    setObjectName(QStringLiteral("CRegWnd_%1").arg(slot));
    m_split = new QSplitter(Qt::Vertical, this);
    m_split->setChildrenCollapsible(false);
    m_grid = new PropertyGrid(m_split);
    m_plot = new ValuePlotPane(workspace.Context().messages, workspace.Context().files, m_split);
    m_plot->hide();
    m_split->addWidget(m_grid);
    m_split->addWidget(m_plot);
    m_split->setStretchFactor(0, 3);
    m_split->setStretchFactor(1, 1);
    m_impl = std::make_unique<Impl>(*this, workspace, slot);
    m_grid->SetModel(m_impl->m_model.get());
    RestoreColumns();
    connect(m_grid, &PropertyGrid::ColumnsChosen, this, [this] { SaveColumns(); });
    auto *copy = new QShortcut(QKeySequence::Copy, m_grid, nullptr, nullptr, Qt::WidgetWithChildrenShortcut);
    connect(copy, &QShortcut::activated, this, [this] { CopySelected(false); });
    m_tools = new RegisterWindowTools(workspace,
                                      RegisterWindowParts{this, Logic(), m_grid, [this] { ShowPlot(); },
                                                          [this](QMenu &menu, const QPoint &at) {
                                                              return menuExec ? menuExec(menu, at) : menu.exec(at);
                                                          }},
                                      *m_plot);
    connect(m_plot, &ValuePlotPane::Emptied, m_plot, &QWidget::hide);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_status->setTextFormat(Qt::PlainText);
    m_status->setContentsMargins(4, 1, 4, 1);
    m_status->hide();
    connect(m_grid->Tree()->selectionModel(), &QItemSelectionModel::currentChanged, this, [this] {
        m_impl->TakeGridSelection();
        ShowStatus(QString());
    });
    // A value that takes no edit says so, once per try, in the status line.
    connect(m_grid, &PropertyGrid::EditRefused, this, [this](uint64_t id) {
        const RegisterRow *row = m_impl->Tree().FindById(id);
        if (!row || row->RowKind() == RegisterRow::Kind::Peripheral)
            return;
        const RegisterRow *reg = row->RowKind() == RegisterRow::Kind::Register ? row : row->Parent();
        const QString name =
            row->RowKind() == RegisterRow::Kind::Field ? reg->BareName() + u'.' + row->BareName() : reg->BareName();
        ShowStatus(QString::fromUtf8(AppMessages::kReadOnly).arg(name));
    });
    connect(
        m_grid, &PropertyGrid::ValueEdited, this,
        [this](uint64_t id, const QString &text) {
            if (RegisterRow *row = m_impl->Tree().FindById(id))
                m_impl->m_logic->ApplyEdit(row, text);
        },
        Qt::QueuedConnection);
    connect(
        m_grid, &PropertyGrid::ValueChosen, this,
        [this](uint64_t id, quint64 value) {
            if (RegisterRow *row = m_impl->Tree().FindById(id))
                m_impl->m_logic->ApplyChoice(row, value);
        },
        Qt::QueuedConnection);
    connect(m_grid, &PropertyGrid::ButtonReleased, this, [this](Qt::MouseButton button, const QPoint &) {
        m_impl->TakeGridSelection();
        if (button == Qt::LeftButton)
            m_impl->m_logic->LeftButtonReleased();
    });
    // The menu comes with the context-menu event, which X11 sends with the
    // press, so the release never reaches the grid while the menu is open.
    connect(m_grid, &PropertyGrid::ContextMenuRequested, this, [this](const QPoint &position) {
        m_impl->TakeGridSelection();
        ShowContextMenu(static_cast<int>(m_impl->m_logic->RightButtonReleased()), position);
    });
    connect(m_grid, &PropertyGrid::NameColumnChanged, this, [this](int width) {
        m_impl->Tree().SetNameColumnWidth(width);
        m_impl->m_settle.start();
    });
    // A row the person opened or closed stays so when its values change.
    connect(m_grid, &PropertyGrid::RowExpansionChanged, this, [this](uint64_t id, bool expanded) {
        if (RegisterRow *row = m_impl->Tree().FindById(id); row && row->IsExpanded() != expanded)
            m_impl->Tree().SetExpanded(row, expanded);
    });
    connect(m_grid, &PropertyGrid::GridWidthChanged, this, [this](int cx) {
        m_grid->EndEdit();
        // A divider the person dragged stays where it was put; the grid
        // draws it narrower while the window is too narrow for it.
        if (m_grid->NameColumnDragged())
            return;
        m_impl->Tree().SetNameColumnWidth(m_grid->NameColumnWidth());
        m_impl->m_logic->GridResized(cx);
        m_grid->SetNameColumnWidth(m_impl->Tree().NameColumnWidth());
        m_impl->m_settle.start();
    });
    connect(&m_impl->m_settle, &QTimer::timeout, this, [this] {
        m_impl->m_logic->NameColumnSettled();
        m_grid->SetNameColumnWidth(m_impl->Tree().NameColumnWidth());
        if (m_grid->NameColumnDragged())
            SaveNameWidth();
    });
}

RegisterWindowView::~RegisterWindowView()
{
    // The watch ends before the rows it fills go.
    delete m_tools;
    m_tools = nullptr;
}

// The columns past the value a person chose for this window, kept in the
// per-user profile under the window's slot.
static QString ColumnsKey(int slot)
{
    return QStringLiteral("Workspace/RegisterWindow%1/Columns").arg(slot);
}

// The width the person dragged the name column to, kept for the window's slot.
static QString NameWidthKey(int slot)
{
    return QStringLiteral("Workspace/RegisterWindow%1/NameWidth").arg(slot);
}

void RegisterWindowView::SaveNameWidth()
{
    UserProfile::Open().setValue(NameWidthKey(m_slot), m_grid->NameColumnWidth());
}

void RegisterWindowView::SaveColumns()
{
    QStringList shown;
    for (int column : m_grid->ShownExtraColumns())
        shown << QString::number(column);
    UserProfile::Open().setValue(ColumnsKey(m_slot), shown);
}

void RegisterWindowView::RestoreColumns()
{
    const QStringList shown = UserProfile::Open().value(ColumnsKey(m_slot)).toStringList();
    QList<int> columns;
    for (const QString &column : shown)
        columns << column.toInt();
    m_grid->SetShownExtraColumns(columns);
    const QVariant dragged = UserProfile::Open().value(NameWidthKey(m_slot));
    if (dragged.isValid() && dragged.toInt() > 0) {
        m_impl->Tree().SetNameColumnWidth(dragged.toInt());
        m_grid->SetNameColumnDragged(true);
        m_impl->m_settle.start(); // the captions follow it
    }
}

void RegisterWindowView::ShowPlot()
{
    if (m_plot->isVisible())
        return;
    m_plot->show();
    const int height = m_split->height();
    m_split->setSizes({height - height / 3, height / 3});
}

void RegisterWindowView::ScheduleReshape()
{
    if (m_reshapePending || !m_tools)
        return;
    m_reshapePending = true;
    QTimer::singleShot(0, this, [this] {
        m_reshapePending = false;
        m_tools->RowsReshaped();
    });
}

void RegisterWindowView::OnInitialUpdate()
{
    m_grid->SetNameColumnWidth(m_impl->Tree().NameColumnWidth());
    m_grid->SetCaptionFont(CaptionFont());
    m_impl->m_logic->Open();
}

void RegisterWindowView::RebuildGrid()
{
    m_impl->m_logic->RebuildGrid();
}

void RegisterWindowView::AddPeripheralRows(const QString &name)
{
    m_impl->m_logic->AddPeripheralRows(name);
}

void RegisterWindowView::RemovePeripheralRows(const QString &name)
{
    m_impl->m_logic->RemovePeripheralRows(name);
}

void RegisterWindowView::ApplyNumberBase()
{
    m_impl->m_logic->ApplyNumberBase();
}

void RegisterWindowView::ApplyExpandLevel(int level)
{
    m_impl->m_logic->ApplyExpandLevel(level);
}

RegisterWindow *RegisterWindowView::Logic() const
{
    return m_impl->m_logic.get();
}

void RegisterWindowView::ShowContextMenu(int menuId, const QPoint &gridPosition)
{
    struct Item
    {
        int command;
        const char *text;
    };
    static const Item kImport{RegisterWindow::ImportCommand, QT_TRANSLATE_NOOP("Corvane", "导入数据")};
    static const Item kSave{RegisterWindow::ExportCommand, QT_TRANSLATE_NOOP("Corvane", "保存数据")};
    static const Item kRead{RegisterWindow::ReadCommand, QT_TRANSLATE_NOOP("Corvane", "寄存器读取")};
    static const Item kWrite{RegisterWindow::WriteCommand, QT_TRANSLATE_NOOP("Corvane", "寄存器写入")};
    static constexpr int kPlotCommand = -1;
    static constexpr int kCopyValueCommand = -2;
    static constexpr int kCopyAddressCommand = -3;
    static const Item kPlot{kPlotCommand, QT_TRANSLATE_NOOP("Corvane", "绘图")};
    static const Item kCopyValue{kCopyValueCommand, QT_TRANSLATE_NOOP("Corvane", "复制数值")};
    static const Item kCopyAddress{kCopyAddressCommand, QT_TRANSLATE_NOOP("Corvane", "复制地址")};
    QList<Item> items;
    switch (static_cast<RegisterWindow::Menu>(menuId)) {
    case RegisterWindow::Menu::All:
        items = {kImport, kSave, kRead, kWrite};
        break;
    case RegisterWindow::Menu::Transfer:
        items = {kRead, kWrite};
        break;
    case RegisterWindow::Menu::Files:
        items = {kImport, kSave};
        break;
    case RegisterWindow::Menu::None:
        break;
    }
    // Any row with a number of its own can be drawn over time.
    const RegisterRow *selected = m_impl->Tree().Selected();
    if (selected && selected->RowKind() != RegisterRow::Kind::Peripheral)
        items << kPlot << kCopyValue;
    if (selected)
        items << kCopyAddress;
    if (items.isEmpty())
        return;
    QMenu menu(Tr(QT_TRANSLATE_NOOP("Corvane", "读写控制")), this);
    menu.setObjectName(QStringLiteral("menu_%1").arg(menuId));
    // While a target action runs, no other starts from here.
    const bool busy = m_workspace.Actions().IsRunning();
    for (const Item &item : items) {
        QAction *action = menu.addAction(Tr(item.text));
        action->setData(item.command);
        action->setEnabled(
            !busy || (item.command != RegisterWindow::ReadCommand && item.command != RegisterWindow::WriteCommand));
    }
    // The form's top left corner plus the point within the grid.
    const QPoint at = mapToGlobal(m_grid->mapTo(this, gridPosition));
    // The menu opens on the press; the release of that same click lands on
    // the menu and must not run the entry under the pointer.
    ReleaseOfOpeningClick guard(menu);
    QAction *chosen = menuExec ? menuExec(menu, at) : menu.exec(at);
    const int command = chosen ? chosen->data().toInt() : 0;
    if (command == kPlotCommand && selected)
        m_tools->Plot(selected->Id());
    else if (command == kCopyValueCommand || command == kCopyAddressCommand)
        CopySelected(command == kCopyAddressCommand);
    else if (chosen)
        m_impl->m_logic->RunCommand(command);
}

void RegisterWindowView::CopySelected(bool address)
{
    const RegisterRow *row = m_impl->Tree().Selected();
    if (!row)
        return;
    QString text;
    if (address) {
        const RegisterRow *reg =
            row->RowKind() == RegisterRow::Kind::Value || row->RowKind() == RegisterRow::Kind::Field ? row->Parent()
                                                                                                     : row;
        text = reg->RowKind() == RegisterRow::Kind::Peripheral ? RowText::Word(reg->Traits().base)
                                                               : RowText::Word(reg->Traits().address);
    } else if (row->RowKind() != RegisterRow::Kind::Peripheral) {
        text = RegisterRowModel::ValueText(*row, m_impl->Tree().HexBase(), true);
    }
    if (!text.isEmpty())
        QApplication::clipboard()->setText(text);
}

void RegisterWindowView::ShowStatus(const QString &text)
{
    if (text == m_status->text() && m_status->isHidden() == text.isEmpty())
        return;
    m_status->setText(text);
    m_status->setVisible(!text.isEmpty());
    resizeEvent(nullptr);
}

void RegisterWindowView::resizeEvent(QResizeEvent *event)
{
    if (event)
        QWidget::resizeEvent(event);
    const int tools = m_tools ? m_tools->HeightFor(width()) : 0;
    if (m_tools)
        m_tools->setGeometry(0, 0, width(), tools);
    const int status = m_status && !m_status->isHidden() ? m_status->sizeHint().height() : 0;
    m_split->setGeometry(-2, tools - 2, width() + 4, height() - tools - status + 3);
    if (status)
        m_status->setGeometry(0, height() - status, width(), status);
}

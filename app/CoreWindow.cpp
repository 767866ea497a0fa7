#include "app/CoreWindow.h"

#include "link/Tr.h"

#include "app/AppMessages.h"
#include "app/CoreRegisterModel.h"
#include "app/TargetActionRunner.h"
#include "link/Settings.h"
#include "ops/FirmwareSymbols.h"
#include "ops/OpsMessages.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTime>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

// What one read on the runner's thread hands back to the window.
struct CoreWindow::Reading
{
    bool running = false;                      // refused: the core runs
    std::optional<CoreRegisterValues> values;  // absent: nothing read
    std::optional<FaultReport::Report> report; // absent: not read
    QString elfProblem;                        // why the ELF file was not taken
};

namespace {

QString HexWord(uint32_t value)
{
    return QStringLiteral("0x") + QString::number(value, 16).toUpper().rightJustified(8, u'0');
}

} // namespace

CoreWindow::CoreWindow(CoreWindowEnv env, QWidget *parent)
    : QWidget(parent)
    , m_env(std::move(env))
{
    setObjectName(QStringLiteral("CoreWindow"));
    setWindowTitle(Tr(CoreWindowText::kTitle));
    m_model = new CoreRegisterModel([this] { return Hex(); }, this);
    m_model->SetRows(CoreRegisterRows::Build(CoreOps::ShownRegisters(), {}, false));
    m_model->writeRequested = [this](CoreRegister id, const QString &text) { Write(id, text); };
    BuildControls();
    FollowChip();
}

CoreWindow::~CoreWindow()
{
    *m_alive = false;
}

void CoreWindow::BuildControls()
{
    auto *layout = new QVBoxLayout(this);
    auto *buttons = new QHBoxLayout;
    m_read = new QPushButton(Tr(CoreWindowText::kRead), this);
    m_haltRead = new QPushButton(Tr(CoreWindowText::kHaltRead), this);
    m_haltRead->hide(); // offered once a read found the core running
    m_watch = new QCheckBox(Tr(CoreWindowText::kWatch), this);
    buttons->addWidget(m_read);
    buttons->addWidget(m_haltRead);
    buttons->addWidget(m_watch);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    auto *elfRow = new QHBoxLayout;
    elfRow->addWidget(new QLabel(Tr(CoreWindowText::kElfLabel), this));
    m_elf = new QLineEdit(this);
    elfRow->addWidget(m_elf, 1);
    auto *browse = new QPushButton(QString::fromLatin1(CoreWindowText::kElfBrowse), this);
    browse->setObjectName(QStringLiteral("ElfBrowse"));
    elfRow->addWidget(browse);
    layout->addLayout(elfRow);

    m_status = new QLabel(this);
    m_status->setWordWrap(true);
    layout->addWidget(m_status);

    m_tabs = new QTabWidget(this);
    m_grid = new QTreeView(m_tabs);
    m_grid->setModel(m_model);
    m_grid->setUniformRowHeights(true);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                            QAbstractItemView::AnyKeyPressed);
    m_grid->header()->setStretchLastSection(true);
    m_grid->setColumnWidth(CoreRegisterModel::NameColumn, 110);
    // Wide enough for "not given by the server" beside a GDB server's registers.
    m_grid->setColumnWidth(
        CoreRegisterModel::ValueColumn,
        std::max(130, m_grid->fontMetrics().horizontalAdvance(QString::fromLatin1(OpsMessages::kFaultNotGiven)) + 24));
    m_tabs->addTab(m_grid, Tr(CoreWindowText::kRegistersTab));

    auto *fault = new QWidget(m_tabs);
    auto *faultLayout = new QVBoxLayout(fault);
    m_pcLink = new QLabel(fault);
    m_pcLink->setTextFormat(Qt::RichText);
    m_pcLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    faultLayout->addWidget(m_pcLink);
    m_faultText = new QPlainTextEdit(fault);
    m_faultText->setReadOnly(true);
    m_faultText->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_faultText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    faultLayout->addWidget(m_faultText, 1);
    m_tabs->addTab(fault, Tr(CoreWindowText::kFaultTab));
    layout->addWidget(m_tabs, 1);

    // The window opens ready to read: Space or Enter reads at once.
    setFocusProxy(m_read);
    m_read->setDefault(true);

    m_watchTimer = new QTimer(this);
    m_watchTimer->setInterval(kWatchIntervalMs);

    connect(m_read, &QPushButton::clicked, this, [this] { Read(); });
    connect(m_haltRead, &QPushButton::clicked, this, [this] { Read(CoreOps::Halting::HaltAndKeepHalted); });
    connect(m_watch, &QCheckBox::toggled, this, &CoreWindow::SetWatching);
    connect(m_watchTimer, &QTimer::timeout, this, [this] {
        // A refresh waits for nothing: one still out, or another action, skips this turn.
        if (m_outstanding == 0 && !m_env.runner.IsRunning())
            Read();
    });
    connect(m_elf, &QLineEdit::editingFinished, this, [this] { SetElfPath(m_elf->text()); });
    connect(browse, &QPushButton::clicked, this, &CoreWindow::ChooseElf);
    // The PC's address is the window's own typed value, never the link's text.
    connect(m_pcLink, &QLabel::linkActivated, this, [this] {
        if (m_faultingPc && m_env.openMemoryAt)
            m_env.openMemoryAt(*m_faultingPc);
    });
}

QString CoreWindow::Chip() const
{
    return m_env.user.panel.ChipModel();
}

bool CoreWindow::Hex() const
{
    const int entry = m_env.user.panel.NumberBaseEntry();
    const int base = entry >= 0 ? entry : m_env.config.ReadInt(ConfigKey::kCommon, ConfigKey::kHexDec, 0);
    return base == Stored(NumberBase::Hexadecimal);
}

void CoreWindow::FollowChip()
{
    const QString chip = Chip();
    if (chip == m_elfChip)
        return;
    m_elfChip = chip;
    m_elf->setText(chip.isEmpty() ? QString()
                                  : m_env.config.ReadText(chip, QString::fromLatin1(ConfigKey::kCoreElf), QString(),
                                                          ConfigKey::kPathSize));
}

void CoreWindow::showEvent(QShowEvent *event)
{
    FollowChip();
    m_grid->viewport()->update(); // the base may have changed meanwhile
    QWidget::showEvent(event);
}

void CoreWindow::SetElfPath(const QString &path)
{
    FollowChip();
    if (m_elf->text() != path)
        m_elf->setText(path);
    if (!m_elfChip.isEmpty())
        m_env.config.WriteText(m_elfChip, QString::fromLatin1(ConfigKey::kCoreElf), path.trimmed());
}

void CoreWindow::ChooseElf()
{
    FileRequest request;
    request.kind = FileRequest::Kind::Open;
    request.title = Tr(CoreWindowText::kElfDialogTitle);
    request.filters = {{Tr(CoreWindowText::kElfFilter), QStringLiteral("*.elf *.axf *.out")},
                       {QString::fromLatin1(OpsText::kAnyFilterText), QStringLiteral("*")}};
    request.mustExist = true;
    request.purpose = QStringLiteral("elf");
    const QString path = m_env.user.files.ChooseFile(request);
    if (!path.isEmpty())
        SetElfPath(path);
}

// The registers, then the fault report from the same halted core, then the
// places in the firmware; each stops at the first link failure (its one
// message shown by the link cycle).
void CoreWindow::ReadAll(OperationEnv &env, CoreOps::Options options, const QString &elf, Reading &reading)
{
    options.runningRefused = &reading.running;
    reading.values = CoreOps::Read(env, CoreOps::ShownRegisters(), options);
    if (!reading.values)
        return;
    // A core halted by this read stays halted: the fault read finds it so.
    options.halting = CoreOps::Halting::RefuseRunning;
    const std::optional<CoreOps::FaultReading> fault = CoreOps::ReadFault(env, options);
    if (!fault)
        return;
    reading.report = FaultReport::Decode(*fault);
    if (elf.isEmpty())
        return;
    QString failure;
    if (const std::unique_ptr<FirmwareSymbols> symbols = FirmwareSymbols::Open(elf, &failure))
        FaultReport::AddPlaces(*reading.report, *symbols);
    else
        reading.elfProblem = Tr(CoreWindowText::kElfNotTaken).arg(elf, failure);
}

void CoreWindow::SetWatching(bool on)
{
    if (m_watch->isChecked() != on)
        m_watch->setChecked(on);
    if (on)
        m_watchTimer->start();
    else
        m_watchTimer->stop();
}

void CoreWindow::Queue(const QString &name, std::function<void(OperationEnv &, Reading &)> work)
{
    auto reading = std::make_shared<Reading>();
    ++m_outstanding;
    m_env.runner.Queue(
        name, [reading, work = std::move(work)](OperationEnv &env, DumpView &) { work(env, *reading); },
        [this, alive = m_alive, reading] {
            if (!*alive)
                return;
            --m_outstanding;
            Show(*reading);
        });
}

void CoreWindow::Read(CoreOps::Halting halting)
{
    FollowChip(); // the ELF file of the chip chosen now
    CoreOps::Options options = m_options;
    options.halting = halting;
    const QString elf = m_elf->text().trimmed();
    Queue(Tr(CoreWindowText::kTitle),
          [options, elf](OperationEnv &env, Reading &reading) { ReadAll(env, options, elf, reading); });
}

void CoreWindow::Write(CoreRegister id, const QString &text)
{
    const char *name = CoreRegisters::Info(id).name;
    const std::optional<uint32_t> value = CoreRegisterRows::ParseTyped(text, Hex());
    if (!value) {
        m_env.user.messages.ShowFailure(Tr(CoreWindowText::kBadValue).arg(QLatin1String(name), text));
        return;
    }
    FollowChip();
    const CoreOps::Options options = m_options;
    const QString elf = m_elf->text().trimmed();
    const QString hexText = QString::number(*value, 16);
    Queue(Tr(CoreWindowText::kTitle), [options, elf, name, hexText](OperationEnv &env, Reading &reading) {
        CoreOps::Options writeOptions = options;
        writeOptions.runningRefused = &reading.running;
        if (!CoreOps::Write(env, QString::fromLatin1(name), hexText, writeOptions))
            return;
        ReadAll(env, options, elf, reading);
    });
}

void CoreWindow::Show(const Reading &reading)
{
    m_haltRead->setVisible(reading.running);
    // Nothing stays on show that this read did not give.
    m_model->SetRows(CoreRegisterRows::Build(CoreOps::ShownRegisters(), reading.values.value_or(CoreRegisterValues{}),
                                             reading.values.has_value()));
    for (int row = 0; row < m_model->rowCount(); ++row)
        if (m_model->rowCount(m_model->index(row, 0)) > 0)
            m_grid->expand(m_model->index(row, 0));
    ShowFault(reading.report);
    QString status;
    if (reading.running)
        status = Tr(CoreWindowText::kRunning);
    else if (!reading.values)
        status = Tr(CoreWindowText::kReadFailed);
    else
        status = Tr(CoreWindowText::kReadAt).arg(QTime::currentTime().toString(QStringLiteral("HH:mm:ss")));
    if (!reading.elfProblem.isEmpty())
        status += QLatin1Char('\n') + reading.elfProblem;
    m_status->setText(status);
}

void CoreWindow::ShowFault(const std::optional<FaultReport::Report> &report)
{
    m_faultingPc = report ? FaultReport::StackedPc(*report) : std::nullopt;
    if (!report) {
        m_pcLink->clear();
        m_faultText->clear();
        return;
    }
    if (m_faultingPc) {
        QString place;
        if (report->pcPlace) {
            place = report->pcPlace->function;
            if (!report->pcPlace->file.isEmpty())
                place += QStringLiteral(" %1:%2").arg(report->pcPlace->file).arg(report->pcPlace->line);
        }
        const QString link = QStringLiteral("<a href=\"memory\">%1</a>").arg(HexWord(*m_faultingPc));
        m_pcLink->setText(Tr(CoreWindowText::kFaultingPc).arg(link, place.toHtmlEscaped()));
    } else {
        m_pcLink->setText(Tr(CoreWindowText::kNoFrame));
    }
    m_faultText->setPlainText(FaultReport::Text(*report));
}

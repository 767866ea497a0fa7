#include "app/ControlPanel.h"

#include "link/Tr.h"

#include "app/AppMessages.h"
#include "app/PeripheralList.h"
#include "widgets/PopupComboBox.h"
#include "app/PortLists.h"
#include "app/RegisterWindowView.h"
#include "app/RegisterWindows.h"
#include "app/TargetActionRunner.h"
#include "app/Workspace.h"
#include "link/HaltRecord.h"
#include "link/SettingValues.h"
#include "link/Settings.h"
#include "ops/ChipControl.h"
#include "ops/MemoryFields.h"
#include "ops/MemoryOps.h"
#include "ops/SnapshotCapture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollBar>

#include <memory>

namespace {

// Dialog units of the form's font (宋体, 9 points) in pixels at 96 dots per
// inch: a quarter of the average character width, an eighth of its height.
constexpr double kDluX = 1.5;
constexpr double kDluY = 1.5;
// A drop-down list's rectangle includes its open list; the closed box is
// one line high.
constexpr int kListHeight = 14;

// Calls `left` when the focus leaves a box for another control of the same
// window.
class FocusLeaves : public QObject
{
public:
    FocusLeaves(QWidget &box, std::function<void()> left)
        : QObject(&box)
        , m_left(std::move(left))
    {
        box.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                m_left();
        }
        return false;
    }

private:
    std::function<void()> m_left;
};

} // namespace

ControlPanel::ControlPanel(Workspace &workspace, RegisterWindows &windows, QWidget *parent)
    : QWidget(parent)
    , m_workspace(workspace)
    , m_windows(windows)
{
    setObjectName(PanelObjectName(PanelControlId::Panel));
    QFont font(QStringLiteral("SimSun"));
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"), QStringLiteral("Noto Sans CJK SC"),
                      QStringLiteral("WenQuanYi Micro Hei")});
    font.setPointSize(9);
    setFont(font);
    m_runner = &workspace.Actions();
    BuildControls();
    ConnectControls();
    const QRect whole = Dlu(0, 0, 247, 296);
    setMinimumSize(whole.size());
}

QRect ControlPanel::Dlu(int x, int y, int width, int height) const
{
    const double scale = m_workspace.Dpi() / 96.0;
    return QRect(int(x * kDluX * scale), int(y * kDluY * scale), int(width * kDluX * scale),
                 int(height * kDluY * scale));
}

QLabel *ControlPanel::AddLabel(const QString &text, int x, int y, int width, int height,
                               std::optional<PanelControlId> id)
{
    auto *label = new QLabel(text, this);
    label->setTextFormat(Qt::PlainText);
    if (id)
        label->setObjectName(PanelObjectName(*id));
    label->setGeometry(Dlu(x, y, width, height + 2));
    return label;
}

QComboBox *ControlPanel::AddList(PanelControlId id, const QStringList &entries, int x, int y, int width)
{
    QComboBox *list = (id == PanelControlId::ProbeList || id == PanelControlId::SerialPortList)
                          ? new PopupComboBox(this)
                          : new QComboBox(this);
    list->setObjectName(PanelObjectName(id));
    list->addItems(entries);
    list->setCurrentIndex(-1);
    list->setGeometry(Dlu(x, y, width, kListHeight));
    return list;
}

QPushButton *ControlPanel::AddButton(PanelControlId id, const QString &text, int x, int y, int width, int height)
{
    auto *button = new QPushButton(text, this);
    button->setObjectName(PanelObjectName(id));
    button->setGeometry(Dlu(x, y, width, height));
    return button;
}

QLineEdit *ControlPanel::AddField(PanelControlId id, int x, int y, int width, int height)
{
    auto *field = new QLineEdit(this);
    field->setObjectName(PanelObjectName(id));
    field->setGeometry(Dlu(x, y, width, height));
    return field;
}

void ControlPanel::AddGroup(int x, int y, int width, int height)
{
    auto *group = new QGroupBox(this);
    group->setGeometry(Dlu(x, y, width, height));
    group->lower();
}

void ControlPanel::BuildControls()
{
    static_assert(std::tuple_size_v<decltype(m_windowBoxes)> == Workspace::kSlotCount);
    AddGroup(1, 0, 48, 123);
    for (int k = 0; k < Workspace::kSlotCount; ++k) {
        auto *box = new QCheckBox(QStringLiteral("WND%1").arg(k), this);
        box->setObjectName(WindowBoxObjectName(k));
        box->setGeometry(Dlu(7, 26 + 21 * k, 40, 10));
        m_windowBoxes[k] = box;
    }
    AddButton(PanelControlId::MemoryWindowButton, Tr(QT_TRANSLATE_NOOP("Corvane", "内存窗口")), 5, 104, 40, 14);
    AddButton(PanelControlId::CoreWindowButton, Tr(CoreWindowText::kPanelButton), 5, 8, 40, 14);

    AddGroup(53, 0, 123, 123);
    AddLabel(Tr(QT_TRANSLATE_NOOP("Corvane", "平    台")), 61, 11, 33, 8);
    m_chip = AddList(PanelControlId::ChipList, {}, 98, 8, 69);
    AddLabel(Tr(QT_TRANSLATE_NOOP("Corvane", "数 据 源")), 61, 27, 33, 8);
    m_dataSource = AddList(PanelControlId::DataSourceList,
                           {Tr(QT_TRANSLATE_NOOP("Corvane", "离线数据")), Tr(QT_TRANSLATE_NOOP("Corvane", "JLINK读取")),
                            Tr(QT_TRANSLATE_NOOP("Corvane", "UART读取")), Tr(QT_TRANSLATE_NOOP("Corvane", "GDB读取"))},
                           98, 24, 69);
    m_portLabel = AddLabel(Tr(QT_TRANSLATE_NOOP("Corvane", "端    口")), 61, 43, 33, 8, PanelControlId::PortLabel);
    m_probes = static_cast<PopupComboBox *>(AddList(PanelControlId::ProbeList, {}, 98, 40, 69));
    m_ports = static_cast<PopupComboBox *>(AddList(PanelControlId::SerialPortList, {}, 98, 40, 69));
    m_gdbServer = AddField(PanelControlId::GdbServerField, 98, 40, 69, 12); // "host:port" of the GDB server
    m_gdbServer->setMaxLength(ConfigKey::kServerSize - 1);
    m_speedLabel = AddLabel(Tr(QT_TRANSLATE_NOOP("Corvane", "速    率")), 61, 59, 33, 8, PanelControlId::SpeedLabel);
    QStringList jlinkSpeeds;
    for (int speed = 1000; speed <= 10000; speed += 1000)
        jlinkSpeeds << QString::number(speed);
    m_jlinkSpeed = AddList(PanelControlId::JLinkSpeedList, jlinkSpeeds, 98, 56, 69);
    m_uartSpeed = AddList(PanelControlId::UartSpeedList, {}, 98, 56, 69);
    AddLabel(Tr(QT_TRANSLATE_NOOP("Corvane", "展开等级")), 61, 75, 33, 8);
    m_expand = AddList(PanelControlId::ExpandList,
                       {Tr(QT_TRANSLATE_NOOP("Corvane", "展开1级")), Tr(QT_TRANSLATE_NOOP("Corvane", "展开2级")),
                        Tr(QT_TRANSLATE_NOOP("Corvane", "展开3级"))},
                       98, 72, 69);
    m_registerWriteLabel =
        AddLabel(Tr(QT_TRANSLATE_NOOP("Corvane", "写寄存器")), 61, 91, 33, 8, PanelControlId::RegisterWriteLabel);
    m_registerWrite = AddList(
        PanelControlId::RegisterWriteList,
        {Tr(QT_TRANSLATE_NOOP("Corvane", "立即写入")), Tr(QT_TRANSLATE_NOOP("Corvane", "右键菜单写入"))}, 98, 88, 69);
    AddLabel(Tr(QT_TRANSLATE_NOOP("Corvane", "数据进制")), 61, 107, 33, 8);
    m_numberBase = AddList(PanelControlId::NumberBaseList, {QStringLiteral("DEC"), QStringLiteral("HEX")}, 98, 104, 47);
    AddButton(PanelControlId::UpdateButton, Tr(QT_TRANSLATE_NOOP("Corvane", "更新")), 146, 104, 22, 13);

    AddGroup(180, 0, 65, 123);
    AddButton(PanelControlId::WatchdogOffButton, Tr(QT_TRANSLATE_NOOP("Corvane", "关看门狗")), 192, 14, 44, 15);
    AddButton(PanelControlId::HaltHcpuButton, QStringLiteral("halt HCPU"), 192, 34, 44, 15);
    AddButton(PanelControlId::HaltLcpuButton, QStringLiteral("halt LCPU"), 192, 54, 44, 15);
    AddButton(PanelControlId::CleanCacheButton, Tr(QT_TRANSLATE_NOOP("Corvane", "清CACHE")), 192, 74, 44, 15)->hide();
    // In the hidden clean button's place, under the halts it undoes.
    AddButton(PanelControlId::RunButton, Tr(QT_TRANSLATE_NOOP("Corvane", "运行")), 192, 74, 44, 15);
    AddButton(PanelControlId::CaptureButton, Tr(QT_TRANSLATE_NOOP("Corvane", "数据读取")), 192, 94, 44, 15);
    m_haltState = AddLabel(QString(), 183, 111, 60, 8, PanelControlId::HaltStateLabel);
    m_haltState->setAlignment(Qt::AlignCenter);

    AddGroup(1, 125, 244, 103);
    // The dump's column header and the dump itself in one monospaced font,
    // so the columns line up.
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPixelSize(m_workspace.Scaled(10)); // 58 columns fit the form's width
    QLabel *columns =
        AddLabel(QStringLiteral("xxxxxxxx: 0  1  2  3  4  5  6  7  8  9  a  b  c  d  e  f"), 3, 133, 231, 8);
    columns->setEnabled(false);
    columns->setFont(fixed);
    m_dump = new QPlainTextEdit(this);
    m_dump->setFont(fixed);
    m_dump->setObjectName(PanelObjectName(PanelControlId::DumpView));
    m_dump->setGeometry(Dlu(0, 141, 245, 70));
    m_dump->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_dump->setLineWrapMode(QPlainTextEdit::NoWrap);
    AddLabel(Tr(QT_TRANSLATE_NOOP("Corvane", "地址 0x")), 2, 214, 28, 8);
    m_readAddress = AddField(PanelControlId::ReadAddressField, 29, 212, 48, 12);
    AddLabel(Tr(QT_TRANSLATE_NOOP("Corvane", "长度 0x")), 85, 213, 28, 9);
    m_readLength = AddField(PanelControlId::ReadLengthField, 112, 212, 48, 12);
    AddButton(PanelControlId::ReadButton, Tr(QT_TRANSLATE_NOOP("Corvane", "读取")), 165, 212, 26, 13);
    AddButton(PanelControlId::ReadToFileButton, Tr(QT_TRANSLATE_NOOP("Corvane", "读取到文件")), 194, 212, 48, 13);

    AddGroup(1, 223, 244, 25);
    AddLabel(Tr(QT_TRANSLATE_NOOP("Corvane", "地址 0x")), 2, 233, 28, 8);
    m_writeAddress = AddField(PanelControlId::WriteAddressField, 29, 230, 48, 12);
    AddLabel(Tr(QT_TRANSLATE_NOOP("Corvane", "数据 0x")), 85, 232, 28, 9);
    m_writeData = AddField(PanelControlId::WriteDataField, 112, 230, 48, 12);
    AddButton(PanelControlId::WriteButton, Tr(QT_TRANSLATE_NOOP("Corvane", "写入")), 165, 230, 26, 13);
    AddButton(PanelControlId::WriteFromFileButton, Tr(QT_TRANSLATE_NOOP("Corvane", "从文件写入")), 194, 230, 48, 13);

    m_peripherals = new PeripheralList(m_workspace, m_windows, this);
    m_peripherals->setGeometry(Dlu(1, 257, 243, 37));
}

void ControlPanel::ConnectControls()
{
    for (int k = 0; k < Workspace::kSlotCount; ++k)
        connect(m_windowBoxes[k], &QCheckBox::clicked, this, [this, k] { WindowBoxClicked(k); });
    // The selected chip is the workspace's: the other windows follow it there.
    connect(m_chip, &QComboBox::currentTextChanged, this, [this] { m_workspace.SelectChip(ChipModel()); });
    connect(m_chip, &QComboBox::activated, this, &ControlPanel::ChipChanged);
    // A choice of the link is stored first, then told to the windows that follow it.
    connect(m_dataSource, &QComboBox::activated, this, [this] {
        ApplyDataSource();
        m_workspace.NoteLinkChoice();
    });
    connect(m_probes, &QComboBox::activated, this, [this] {
        WriteCommonText(ConfigKey::kJlinkPort, m_probes->currentText());
        ShowHaltState();
        m_workspace.NoteLinkChoice();
    });
    connect(m_ports, &QComboBox::activated, this, [this] {
        WriteCommonText(ConfigKey::kUartPort, m_ports->currentText());
        ShowHaltState();
        m_workspace.NoteLinkChoice();
    });
    // A server takes effect whole, on Enter or when the focus moves on in
    // the window: a half-typed one would reach the next action or refresh.
    // A message box or another window taking the focus ends no typing.
    connect(m_gdbServer, &QLineEdit::returnPressed, this, [this] { CommitGdbServer(); });
    new FocusLeaves(*m_gdbServer, [this] { CommitGdbServer(); });
    // A halt or run of corvane-cli, or a link that found the target running,
    // changes the record beside Corvane.ini.
    m_recordWatcher = new QFileSystemWatcher(this);
    connect(m_recordWatcher, &QFileSystemWatcher::directoryChanged, this, [this] { ShowHaltState(); });
    connect(m_jlinkSpeed, &QComboBox::activated, this, [this](int i) { WriteCommon(ConfigKey::kJlinkBaund, i); });
    connect(m_uartSpeed, &QComboBox::activated, this, [this](int i) { WriteCommon(ConfigKey::kUartBaund, i); });
    connect(m_expand, &QComboBox::activated, this, [this](int i) {
        WriteCommon(ConfigKey::kExpandType, i);
        ApplyExpandLevel();
    });
    // A chosen base shows at once in every window; "更新" is not needed for it.
    connect(m_numberBase, &QComboBox::activated, this, [this](int i) {
        WriteCommon(ConfigKey::kHexDec, i);
        m_windows.ApplyNumberBase();
    });
    connect(m_registerWrite, &QComboBox::activated, this, [this](int i) { WriteCommon(ConfigKey::kRegWr, i); });
    m_probes->beforePopup = [this] { RefreshProbeList(); };
    m_ports->beforePopup = [this] { RefreshSerialPortList(); };

    auto button = [this](PanelControlId id) { return findChild<QPushButton *>(PanelObjectName(id)); };
    connect(button(PanelControlId::UpdateButton), &QPushButton::clicked, this, [this] { m_windows.ApplyNumberBase(); });
    using Action = TargetActionRunner::Action;
    auto runOn = [this, button](PanelControlId id, const std::function<Action()> &action, bool withProgress = false) {
        QPushButton *pushed = button(id);
        connect(pushed, &QPushButton::clicked, this,
                [this, pushed, action, withProgress] { RunOperation(pushed->text(), action(), withProgress); });
    };
    runOn(PanelControlId::WatchdogOffButton,
          [] { return Action([](OperationEnv &env, DumpView &) { ChipControl::WatchdogOff(env); }); });
    runOn(PanelControlId::HaltHcpuButton,
          [] { return Action([](OperationEnv &env, DumpView &) { ChipControl::HaltHcpu(env); }); });
    runOn(PanelControlId::HaltLcpuButton,
          [] { return Action([](OperationEnv &env, DumpView &) { ChipControl::HaltLcpu(env); }); });
    runOn(PanelControlId::RunButton,
          [] { return Action([](OperationEnv &env, DumpView &) { ChipControl::Run(env); }); });
    runOn(PanelControlId::CleanCacheButton,
          [] { return Action([](OperationEnv &env, DumpView &) { ChipControl::CleanCache(env); }); });
    // The boxes are read when the button is pressed, on the windows' thread;
    // the dump goes back to it through the runner.
    runOn(PanelControlId::ReadButton, [this] {
        return Action([address = MemoryFields::Number(m_readAddress->text()),
                       length = MemoryFields::Number(m_readLength->text())](OperationEnv &env, DumpView &dump) {
            MemoryOps::Read(env, address, length, dump);
        });
    });
    runOn(
        PanelControlId::ReadToFileButton,
        [this] {
            return Action([address = MemoryFields::Number(m_readAddress->text()),
                           length = MemoryFields::Number(m_readLength->text())](OperationEnv &env, DumpView &dump) {
                MemoryOps::ReadToFile(env, address, length, dump);
            });
        },
        true);
    runOn(PanelControlId::WriteButton, [this] {
        return Action([address = MemoryFields::Number(m_writeAddress->text()),
                       word = MemoryFields::Word(m_writeData->text())](OperationEnv &env, DumpView &) {
            MemoryOps::WriteWord(env, address, word);
        });
    });
    runOn(
        PanelControlId::WriteFromFileButton,
        [this] {
            return Action([address = MemoryFields::Number(m_readAddress->text())](OperationEnv &env, DumpView &) {
                MemoryOps::WriteFromFile(env, address);
            });
        },
        true);
    connect(button(PanelControlId::CaptureButton), &QPushButton::clicked, this, [this] { CaptureSnapshots(); });
    connect(button(PanelControlId::MemoryWindowButton), &QPushButton::clicked, this, [this] { OpenMemoryWindow(); });
    connect(button(PanelControlId::CoreWindowButton), &QPushButton::clicked, this,
            [this] { m_windows.OpenCoreWindow(); });
    connect(m_runner, &TargetActionRunner::Started, this, [this] { ShowRunning(); });
    connect(m_runner, &TargetActionRunner::Finished, this, [this] { ShowRunning(); });
}

void ControlPanel::Setup()
{
    ConfigFile &config = m_workspace.Config();
    {
        const QSignalBlocker quiet(m_chip);
        m_chip->clear();
        const QStringList chips =
            config.ReadTextList(ConfigKey::kChipType, ConfigKey::kNum, ConfigKey::kChip, ConfigKey::kListTextSize);
        m_chip->addItems(chips);
        const int count = int(chips.size());
        int selected = config.ReadInt(ConfigKey::kChipType, ConfigKey::kSel, 0);
        if (selected >= count) {
            config.WriteText(ConfigKey::kChipType, ConfigKey::kSel, QStringLiteral("0"));
            selected = 0;
        }
        SelectStored(m_chip, selected);
    }
    m_workspace.SelectChip(ChipModel());
    SelectStored(m_dataSource, config.ReadInt(ConfigKey::kCommon, ConfigKey::kDataType, 0));
    SelectStored(m_jlinkSpeed, config.ReadInt(ConfigKey::kCommon, ConfigKey::kJlinkBaund, 0));
    m_gdbServer->setText(config.ReadText(ConfigKey::kCommon, ConfigKey::kGdbServer,
                                         QString::fromLatin1(ConfigKey::kGdbServerDefault), ConfigKey::kServerSize));
    {
        const QSignalBlocker quiet(m_uartSpeed);
        m_uartSpeed->clear();
        const QStringList speeds = config.ReadTextList(ConfigKey::kUartBaundSection, ConfigKey::kNum, ConfigKey::kBaund,
                                                       ConfigKey::kListTextSize);
        m_uartSpeed->addItems(speeds);
        const int count = int(speeds.size());
        int selected = config.ReadInt(ConfigKey::kCommon, ConfigKey::kUartBaund, 0);
        if (selected >= count)
            selected = 0;
        SelectStored(m_uartSpeed, selected);
    }
    SelectStored(m_expand, config.ReadInt(ConfigKey::kCommon, ConfigKey::kExpandType, 0));
    SelectStored(m_numberBase, config.ReadInt(ConfigKey::kCommon, ConfigKey::kHexDec, 0));
    SelectStored(m_registerWrite, config.ReadInt(ConfigKey::kCommon, ConfigKey::kRegWr, 0));
    RefreshProbeList();
    RefreshSerialPortList();
    m_peripherals->SetUp();
    const QString chip = ChipModel();
    for (int k = 0; k < Workspace::kSlotCount; ++k) {
        const bool open = config.ReadInt(chip, QString::asprintf(ConfigKey::kWindowOpen, k), 0) != 0;
        m_windowBoxes[k]->setChecked(open);
        m_windowBoxes[k]->setEnabled(!open);
    }
    m_peripherals->Fill();
    ApplyDataSource();
    const QString folder = QFileInfo(config.Path()).absolutePath();
    if (!m_recordWatcher->directories().contains(folder))
        m_recordWatcher->addPath(folder);
}

void ControlPanel::SelectStored(QComboBox *list, int index)
{
    const QSignalBlocker quiet(list);
    list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
}

QString ControlPanel::ChipModel() const
{
    return m_chip->currentText().left(kChipModelLength);
}

int ControlPanel::DataSourceEntry() const
{
    return m_dataSource->currentIndex();
}

QString ControlPanel::ProbeText() const
{
    return m_probes->currentText().left(kProbeTextLength);
}

int ControlPanel::NumberBaseEntry() const
{
    return m_numberBase->currentIndex();
}

int ControlPanel::RegisterWriteModeEntry() const
{
    return m_registerWrite->currentIndex();
}

QString ControlPanel::UartPortText() const
{
    return m_ports->currentText();
}

QString ControlPanel::UartSpeedText() const
{
    return m_uartSpeed->currentText();
}

void ControlPanel::SetDumpText(const QString &text)
{
    m_dump->setPlainText(text);
}

void ControlPanel::RefreshProbeList()
{
    PortLists::RefreshProbeList(*m_probes, m_workspace.Config(), m_workspace.Links().jlink,
                                m_workspace.Context().messages);
}

void ControlPanel::RefreshSerialPortList()
{
    PortLists::RefreshSerialPortList(*m_ports, m_workspace.Config(),
                                     portSource ? portSource() : PortLists::PresentSerialPorts());
}

void ControlPanel::WriteCommon(const char *key, int value)
{
    WriteCommonText(key, QString::asprintf("%d", value));
}

void ControlPanel::WriteCommonText(const char *key, const QString &text)
{
    // A choice that did not reach the file would not reach the operations
    // either; the configuration says so (another encoding, a full disk, ...).
    m_workspace.Config().WriteText(ConfigKey::kCommon, key, text);
}

bool ControlPanel::IsServerAddress(const QString &text)
{
    const qsizetype colon = text.lastIndexOf(u':');
    if (colon <= 0 || text.contains(u' ') || text.contains(u'\t'))
        return false;
    bool number = false;
    const QStringView port = QStringView(text).mid(colon + 1);
    const int value = port.toInt(&number);
    return number && port.size() <= 5 && port.front().isDigit() && value >= 1 && value <= 65535;
}

void ControlPanel::CommitGdbServer()
{
    const QString text = m_gdbServer->text().trimmed();
    const QString stored =
        m_workspace.Config().ReadText(ConfigKey::kCommon, ConfigKey::kGdbServer,
                                      QString::fromLatin1(ConfigKey::kGdbServerDefault), ConfigKey::kServerSize);
    if (text == stored)
        return;
    if (!IsServerAddress(text)) {
        // Said once for a text: the focus going to the message and back
        // must not say it again.
        if (text != m_refusedServer) {
            m_refusedServer = text;
            m_workspace.Context().messages.ShowFailure(QString::fromUtf8(AppMessages::kBadGdbServer).arg(text));
        }
        return;
    }
    m_refusedServer.clear();
    WriteCommonText(ConfigKey::kGdbServer, text);
    ShowHaltState();
    m_workspace.NoteLinkChoice();
}

void ControlPanel::ApplyDataSource()
{
    const int entry = m_dataSource->currentIndex();
    WriteCommon(ConfigKey::kDataType, entry);
    const bool offline = entry == Stored(DataSource::Offline);
    const bool jlink = entry == Stored(DataSource::JLink);
    const bool gdb = entry == Stored(DataSource::Gdb);
    const bool uart = !offline && !jlink && !gdb;
    m_portLabel->setVisible(!offline);
    m_speedLabel->setVisible(!offline && !gdb);
    m_probes->setVisible(jlink);
    m_jlinkSpeed->setVisible(jlink);
    m_ports->setVisible(uart);
    m_uartSpeed->setVisible(uart);
    m_gdbServer->setVisible(gdb);
    m_registerWriteLabel->setVisible(!offline);
    m_registerWrite->setVisible(!offline);
    ShowHaltState();
}

// Only what Corvane halted, or what a link reported since, is known: a
// target nobody halted here reads as not halted.
void ControlPanel::ShowHaltState()
{
    // The busy mark stays while an action runs, whatever else changes in
    // the folder of the halt record meanwhile (a file being saved there).
    if (m_runner->IsRunning()) {
        m_haltState->setText(m_runner->RunningName() + QStringLiteral(" …"));
        return;
    }
    const ConfigFile &config = m_workspace.Config();
    const QString target = HaltRecord::SelectedTarget(config);
    const HaltedCores halted = HaltRecord::Read(config, target);
    QStringList cores;
    if (halted.hcpu)
        cores << QStringLiteral("HCPU");
    if (halted.lcpu)
        cores << QStringLiteral("LCPU");
    m_haltState->setText(target.isEmpty()  ? QString()
                         : cores.isEmpty() ? Tr(QT_TRANSLATE_NOOP("Corvane", "未停止"))
                                           : Tr(QT_TRANSLATE_NOOP("Corvane", "已停止 %1")).arg(cores.join(u' ')));
}

void ControlPanel::ApplyExpandLevel()
{
    BusyScope busy(m_workspace.Context().busy);
    for (int k = 0; k < Workspace::kSlotCount; ++k)
        if (RegisterWindowView *window = m_windows.Window(k))
            window->ApplyExpandLevel(m_workspace.Config().ReadInt(ConfigKey::kCommon, ConfigKey::kExpandType, 0));
}

void ControlPanel::ChipChanged(int index)
{
    BusyScope busy(m_workspace.Context().busy);
    ConfigFile &config = m_workspace.Config();
    const int stored = config.ReadInt(ConfigKey::kChipType, ConfigKey::kSel, 0);
    if (index == stored)
        return;
    if (!config.WriteInt(ConfigKey::kChipType, ConfigKey::kSel, index)) {
        // The chip stays the stored one, so the list, the windows and the
        // file agree; the configuration has said why.
        SelectStored(m_chip, stored);
        m_workspace.SelectChip(ChipModel());
        return;
    }
    m_peripherals->Fill();
    if (chipChangedHook)
        chipChangedHook();
    const QString chip = ChipModel();
    for (int k = 0; k < Workspace::kSlotCount; ++k) {
        if (RegisterWindowView *window = m_windows.Window(k)) {
            window->RebuildGrid();
        } else if (config.ReadInt(chip, QString::asprintf(ConfigKey::kWindowOpen, k), 0) != 0) {
            m_windowBoxes[k]->setChecked(true);
            m_windowBoxes[k]->setEnabled(false);
            m_windows.OpenWindow(k);
        }
    }
}

void ControlPanel::WindowBoxClicked(int slot)
{
    OpenSlot(slot);
}

void ControlPanel::OpenSlot(int slot)
{
    BusyScope busy(m_workspace.Context().busy);
    // A choice the file does not take is not made (the configuration has
    // said why): the box stays clear.
    if (!m_workspace.Config().WriteText(ChipModel(), QString::asprintf(ConfigKey::kWindowOpen, slot),
                                        QStringLiteral("1"))) {
        m_windowBoxes[slot]->setChecked(false);
        return;
    }
    m_windowBoxes[slot]->setChecked(true);
    m_windowBoxes[slot]->setEnabled(false);
    if (!m_windows.Window(slot))
        m_windows.OpenWindow(slot);
}

void ControlPanel::OpenMemoryWindow()
{
    // At the read address when one is typed.
    const QString address = m_readAddress->text().trimmed();
    m_windows.OpenMemoryWindow(address.isEmpty() ? std::nullopt : std::optional(MemoryFields::Number(address)));
}

void ControlPanel::CloseSlot(int slot)
{
    const bool stored = m_workspace.Config().WriteText(ChipModel(), QString::asprintf(ConfigKey::kWindowOpen, slot),
                                                       QStringLiteral("0"));
    m_windowBoxes[slot]->setChecked(false);
    m_windowBoxes[slot]->setEnabled(true);
    // The file still opens the window at the next start: its marks stay with
    // it, and a second message about the same file is spared.
    if (stored)
        m_peripherals->RemoveSlot(slot);
}

OperationEnv ControlPanel::Env()
{
    return OperationEnv{m_workspace.Config(), m_workspace.Links(), m_workspace.Context(), {}};
}

void ControlPanel::RunOperation(const QString &name, TargetActionRunner::Action operation, bool withProgress,
                                TargetActionRunner::Done done)
{
    // What is handed back runs only while the panel is there.
    auto finish = [this, panel = QPointer<ControlPanel>(this), done = std::move(done)] {
        if (!panel)
            return;
        if (done)
            done();
        ShowHaltState();
    };
    if (m_runner->IsRunning())
        return;
    if (withProgress)
        ShowProgress(); // connected before the action starts: it misses no step
    m_runner->Start(name, std::move(operation), std::move(finish), this);
}

void ControlPanel::ShowProgress()
{
    // The long file transfers show bytes done of the total, with a cancel;
    // the windows stay usable meanwhile.
    auto *progress = new QProgressDialog(this);
    progress->setObjectName(QStringLiteral("progress"));
    progress->setWindowTitle(QStringLiteral("Corvane"));
    progress->setCancelButtonText(Tr(QT_TRANSLATE_NOOP("Corvane", "取消")));
    progress->setWindowModality(Qt::NonModal);
    progress->setMinimumDuration(0);
    progress->setAutoClose(false);
    progress->setAutoReset(false);
    progress->setRange(0, 1000);
    progress->setAttribute(Qt::WA_DeleteOnClose);
    connect(progress, &QProgressDialog::canceled, m_runner, &TargetActionRunner::Cancel);
    connect(m_runner, &TargetActionRunner::Progress, progress, [progress](qint64 done, qint64 total) {
        progress->setLabelText(Tr(QT_TRANSLATE_NOOP("Corvane", "%1 / %2 bytes")).arg(done).arg(total));
        progress->setValue(total > 0 ? int(done * 1000 / total) : 0);
    });
    connect(m_runner, &TargetActionRunner::Finished, progress, [progress] {
        progress->setObjectName(QString()); // gone with its action, also for a look before it is deleted
        progress->close();
    });
    progress->show(); // its cancel at hand from the start
}

void ControlPanel::ShowRunning()
{
    // While an action runs, no button starts another; the busy mark names it.
    static constexpr PanelControlId kActions[] = {
        PanelControlId::ReadButton,          PanelControlId::ReadToFileButton,  PanelControlId::WriteButton,
        PanelControlId::WriteFromFileButton, PanelControlId::WatchdogOffButton, PanelControlId::HaltHcpuButton,
        PanelControlId::HaltLcpuButton,      PanelControlId::RunButton,         PanelControlId::CleanCacheButton,
        PanelControlId::CaptureButton};
    const bool running = m_runner->IsRunning();
    for (PanelControlId id : kActions)
        if (auto *action = findChild<QPushButton *>(PanelObjectName(id)))
            action->setEnabled(!running);
    ShowHaltState();
}

bool ControlPanel::IsRunningAction() const
{
    return m_runner->IsRunning();
}

void ControlPanel::CaptureSnapshots()
{
    // The plan is taken from the list and the windows here; the reads run
    // off the windows' thread; the windows load the files once they end.
    auto plan = std::make_shared<SnapshotCapture::Plan>(
        SnapshotCapture::PlanFor(*this, *m_peripherals, m_workspace.WindowTable()));
    auto captured = std::make_shared<bool>(false);
    RunOperation(
        findChild<QPushButton *>(PanelObjectName(PanelControlId::CaptureButton))->text(),
        [plan, captured](OperationEnv &env, DumpView &) { *captured = SnapshotCapture::Capture(env, *plan); }, false,
        [this, captured] {
            if (!*captured)
                return;
            OperationEnv env = Env();
            SnapshotCapture::Reload(env, m_workspace.ExeDir(), *m_peripherals, m_workspace.WindowTable());
        });
}

void ControlPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const QRect client = rect();
    const int top = client.top() + m_workspace.Scaled(380);
    m_peripherals->setGeometry(2, top, m_workspace.Scaled(365),
                               client.bottom() - m_workspace.Scaled(380) - client.top());
    m_peripherals->SetColumnWidths();
    m_windows.TileWindows();
}

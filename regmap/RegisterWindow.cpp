#include "regmap/RegisterWindow.h"

#include "link/Tr.h"

#include "link/MessageText.h"
#include "link/Settings.h"
#include "regmap/CorePeripherals.h"
#include "regmap/RegisterWindowMessages.h"
#include "regmap/RegisterWindowTable.h"
#include "regmap/RowText.h"
#include "regmap/SnapshotFiles.h"
#include "regmap/SvdDeviceModel.h"

namespace {

// The save question names what it saves; its Cancel saves nothing.
const char kExportTitle[] = QT_TRANSLATE_NOOP("Corvane", "保存数据 %1");
const char kImportTitle[] = QT_TRANSLATE_NOOP("Corvane", "***** 导入默认路径文件请点击\"取消\"按钮 *****");
const char kFilterText[] = QT_TRANSLATE_NOOP("Corvane", "Register data Files(*.bin)");

} // namespace

RegisterWindow::RegisterWindow(const RegisterWindowEnv &env, RegisterWindowTable &table)
    : RegisterMap(env)
    , m_table(table)
    , m_slot(table.NextWindowSlot())
{
    m_showLastSnapshot = true;
    m_table.Enter(m_slot, this);
}

RegisterWindow::~RegisterWindow()
{
    m_table.Leave(m_slot, this);
}

QString RegisterWindow::Title() const
{
    return QString::asprintf("window_%d", m_slot);
}

int RegisterWindow::RegisterWriteMode() const
{
    const int entry = m_env.user.panel.RegisterWriteModeEntry();
    return entry >= 0 ? entry : m_env.config.ReadInt(ConfigKey::kCommon, ConfigKey::kRegWr, 0);
}

void RegisterWindow::Open()
{
    m_tree.SetHeaderTitles(QString(), Tr(RowText::kRightTitle));
    m_tree.SetHeaderTitles(QString(), QString());
    RebuildGrid();
}

void RegisterWindow::RebuildGrid()
{
    // The view takes the rebuilt rows at once, not peripheral by peripheral.
    const ResetScope reset(m_tree);
    m_tree.Clear();
    m_selectedId = 0;
    m_tree.SetHeaderTitles(QString(), Tr(RowText::kRightTitle));
    const QString chip = ChipModel();
    if (m_slot < 0 || m_slot >= RegisterWindowTable::kSlots)
        return;
    SvdDocumentCache &file = SvdFile();
    const RegisterRowTree::BuildOptions options = BuildOptions();
    QStringList names = file.PeripheralNames();
    names += CorePeripherals::Missing(names, CoreSvdFile().PeripheralNames());
    for (const QString &name : names) {
        const int mask = m_env.config.ReadInt(chip, name, 0);
        if (mask & (1 << m_slot))
            AddRowsFrom(name, options);
    }
}

void RegisterWindow::RemovePeripheralRows(const QString &name)
{
    RegisterRow *row = m_tree.FindTopRow(name);
    if (!row)
        return;
    m_tree.SetExpanded(row, false);
    m_tree.Select(nullptr);
    if (RegisterRow *selected = SelectedRow()) {
        if (&selected->Peripheral() == row)
            m_selectedId = 0;
    }
    m_tree.RemoveTopRow(row);
    if (m_tree.TopRowCount() > 0) {
        RegisterRow *first = m_tree.TopRow(0);
        m_tree.Select(first);
        m_tree.SetHeaderTitles(first->Name(), Tr(RowText::kRightTitle));
    }
}

void RegisterWindow::GridResized(int cx)
{
    if (cx <= m_tree.NameColumnWidth() + 110)
        m_tree.SetNameColumnWidth(cx / 2);
}

// --- Selection, menus and commands

RegisterRow *RegisterWindow::SelectedRow() const
{
    return m_selectedId ? m_tree.FindById(m_selectedId) : nullptr;
}

void RegisterWindow::SetSelection(RegisterRow *row, bool isRegister)
{
    m_selectedId = row ? row->Id() : 0;
    m_selectedIsRegister = isRegister;
}

bool RegisterWindow::TrackSelection()
{
    RegisterRow *row = m_tree.Selected();
    m_selectedId = row ? row->Id() : 0;
    if (!row)
        return false;
    const QString value = Tr(RowText::kRightTitle);
    switch (row->RowKind()) {
    case RegisterRow::Kind::Peripheral:
        m_selectedIsRegister = false;
        m_tree.SetHeaderTitles(row->Name(), value);
        return true;
    case RegisterRow::Kind::Register:
        m_selectedIsRegister = true;
        m_tree.SetHeaderTitles(row->Parent()->Name(), value);
        return true;
    default:
        m_tree.SetHeaderTitles(row->Parent()->Parent() ? row->Parent()->Parent()->Name() : QString(), value);
        return false;
    }
}

RegisterWindow::Menu RegisterWindow::RightButtonReleased()
{
    if (!TrackSelection())
        return Menu::None;
    const bool offline = Offline();
    if (!m_selectedIsRegister)
        return offline ? Menu::Files : Menu::All;
    return offline ? Menu::None : Menu::Transfer;
}

void RegisterWindow::RunCommand(int command)
{
    switch (command) {
    case WriteCommand:
        WriteSelection();
        break;
    case ReadCommand:
        ReadSelection();
        break;
    case ExportCommand:
        ExportSnapshot();
        break;
    case ImportCommand:
        ImportSnapshot();
        break;
    default:
        break;
    }
}

void RegisterWindow::ApplyEdit(RegisterRow *row, const QString &typed)
{
    ApplyEditWith(row, [&](RegisterRow *edited) { return EditValue(edited, typed); });
}

void RegisterWindow::ApplyChoice(RegisterRow *row, uint64_t value)
{
    ApplyEditWith(row, [&](RegisterRow *edited) { return EditChoice(edited, value); });
}

void RegisterWindow::ApplyEditWith(RegisterRow *row, const std::function<bool(RegisterRow *)> &edit)
{
    if (row)
        row = row->EditedRow();
    RegisterRow *reg = row ? row->Parent() : nullptr;
    if (!reg)
        return;
    const RegisterTransfer::Shown before{reg->Number(), reg->LastWord(), reg->Source()};
    if (!edit(row))
        return;
    if (RegisterWriteMode() == Stored(RegisterWriteMode::Immediate)) {
        SetSelection(reg, true);
        WriteRow(reg, true, before);
    }
}

// --- Snapshot files and transfers of the selected row

// The file of an import: the dialog's choice, or the peripheral's default
// snapshot file when the dialog is cancelled. Empty (after the message) when
// that default cannot be used.
QString RegisterWindow::ChosenSnapshotPath(const QString &name, const char *title, const char *unusableFormat)
{
    FileRequest request;
    request.kind = FileRequest::Kind::Open;
    request.title = Tr(title);
    request.filters = {{Tr(kFilterText), QStringLiteral("*.bin")}};
    request.overwritePrompt = true;
    request.purpose = QStringLiteral("snapshot");
    request.startFolder = SnapshotFiles::DataFolder(m_env.home, ChipModel());
    QString path = m_env.user.files.ChooseFile(request);
    if (!path.isEmpty())
        return path;
    bool usable = false;
    path = SnapshotPathOf(name, false, &usable);
    if (usable)
        return path;
    ShowFailure(MessageText::Format(unusableFormat, path.toUtf8().constData()));
    return QString();
}

void RegisterWindow::ImportSnapshot()
{
    BusyScope busy(m_env.user.busy);
    if (RegisterRow *selected = SelectedRow()) {
        const QString name = selected->Name();
        const QString path = ChosenSnapshotPath(name, kImportTitle, RegisterWindowMessages::kSnapshotOpen);
        if (!path.isEmpty())
            LoadSnapshot(name, path);
    }
}

void RegisterWindow::ExportSnapshot()
{
    BusyScope busy(m_env.user.busy);
    if (RegisterRow *selected = SelectedRow()) {
        const QString name = selected->Name();
        // A save question: it offers the default file's name in the data
        // folder, asks before overwriting, and its Cancel writes nothing.
        FileRequest request;
        request.kind = FileRequest::Kind::Save;
        request.title = Tr(kExportTitle).arg(name);
        request.filters = {{Tr(kFilterText), QStringLiteral("*.bin")}};
        request.overwritePrompt = true;
        request.purpose = QStringLiteral("snapshot");
        bool usable = false;
        SnapshotPathOf(name, false, &usable); // makes the data folder the question starts in
        if (usable) {
            request.defaultName = name + QStringLiteral(".bin");
            request.startFolder = SnapshotFiles::DataFolder(m_env.home, ChipModel());
        }
        const QString path = m_env.user.files.ChooseFile(request);
        if (!path.isEmpty())
            SaveSnapshot(name, path);
    }
}

void RegisterWindow::ReadSelection()
{
    if (RegisterRow *selected = SelectedRow())
        ReadRow(selected, m_selectedIsRegister);
}

void RegisterWindow::WriteSelection()
{
    if (RegisterRow *selected = SelectedRow())
        WriteRow(selected, m_selectedIsRegister);
}

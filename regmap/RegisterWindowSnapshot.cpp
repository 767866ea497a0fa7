// Register windows: snapshot files loaded into and saved from the rows.
#include "regmap/RegisterWindow.h"

#include "link/MessageText.h"
#include "regmap/RegisterWindowMessages.h"
#include "regmap/RowText.h"
#include "regmap/SnapshotFiles.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const char kExportTitle[] = "***** 保存默认路径文件请点击\"取消\"按钮 *****";
const char kImportTitle[] = "***** 导入默认路径文件请点击\"取消\"按钮 *****";
const char kFilterText[] = "Register data Files(*.bin)";

uint32_t WordPosition(uint32_t offset)
{
    return offset & ~3u;
}

} // namespace

QString RegisterWindow::SnapshotPathOf(const QString &name, bool temporary, bool *usable) const
{
    const QString chip = ChipModel();
    *usable = SnapshotFiles::IsPlainFileName(name) && (temporary || SnapshotFiles::IsPlainFileName(chip));
    const QString path =
        temporary ? SnapshotFiles::TemporaryPath(m_env.home, name) : SnapshotFiles::DefaultPath(m_env.home, chip, name);
    if (*usable)
        SnapshotFiles::MakeFolderFor(m_env.home, temporary ? QStringLiteral("temp") : chip);
    return path;
}

QString RegisterWindow::DefaultSnapshotPath(const QString &name) const
{
    bool usable = false;
    return SnapshotPathOf(name, false, &usable);
}

std::optional<QString> RegisterWindow::CheckFits(const RegisterRow &peripheral) const
{
    const uint32_t span = RowText::SecondNumber(peripheral.Description());
    uint32_t highest = 0;
    for (const auto &reg : peripheral.Children()) {
        const uint64_t end = uint64_t(WordPosition(RowText::SecondNumber(reg->Description()))) + 4;
        highest = uint32_t(std::min<uint64_t>(std::max<uint64_t>(highest, end), 0xFFFFFFFFu));
    }
    return SnapshotFiles::CheckFits(peripheral.Name(), span, highest);
}

// A narrow register shows only its own bytes of the word; the word is kept
// for the bytes it leaves when the register is saved or written.
void RegisterWindow::FillRegister(RegisterRow *reg, uint32_t word)
{
    const uint32_t bits = reg->Traits().bits;
    reg->m_traits.lastWord = word;
    const uint32_t value =
        (word >> RowText::RegisterShift(RowText::SecondNumber(reg->Description()), bits)) & RowText::RegisterMask(bits);
    const QString text = RowText::SizedWord(value, bits);
    m_tree.SetName(reg, RowText::CaptionPrefix(reg->Name()) + text);
    for (const auto &child : reg->Children()) {
        if (child->RowKind() == RegisterRow::Kind::Value)
            m_tree.SetFilledValue(child.get(), text);
        else
            m_tree.SetFilledValue(child.get(), DecodeField(value, *child));
    }
}

bool RegisterWindow::LoadSnapshot(const QString &name, const QString &path)
{
    QFile file;
    if (!SnapshotFiles::OpenForReading(file, path)) {
        ShowFailure(MessageText::Format(RegisterWindowMessages::kSnapshotOpen, path.toUtf8().constData()));
        return false;
    }
    TransferBuffer &buffer = m_env.links.buffer;
    const uint32_t length = uint32_t(std::min<qint64>(file.size(), TransferBuffer::kSize));
    RegisterRow *peripheral = m_tree.FindTopRow(name);
    if (peripheral) {
        if (const std::optional<QString> refusal = CheckFits(*peripheral)) {
            ShowFailure(*refusal);
            return false;
        }
    }
    const uint32_t span = peripheral ? RowText::SecondNumber(peripheral->Description()) : 0;
    const QByteArray nameText = name.toUtf8();
    if (span > length)
        ShowNote(MessageText::Format(RegisterWindowMessages::kFileShort, nameText.constData(), span, length));
    else if (span < length)
        ShowNote(MessageText::Format(RegisterWindowMessages::kFileLong, nameText.constData(), span, length));
    std::memset(buffer.data(), 0, TransferBuffer::kSize);
    const QByteArray bytes = file.read(length);
    std::memcpy(buffer.data(), bytes.constData(), std::size_t(bytes.size()));
    file.close();
    if (!peripheral)
        return false;
    for (const auto &reg : peripheral->Children())
        FillRegister(reg.get(), buffer.Word(WordPosition(RowText::SecondNumber(reg->Description()))));
    return true;
}

bool RegisterWindow::SaveSnapshot(const QString &name, const QString &path)
{
    // Nothing is written, and the old file stays, unless the whole image is
    // ready: a peripheral the window does not show has no image.
    RegisterRow *peripheral = m_tree.FindTopRow(name);
    if (!peripheral)
        return false;
    if (const std::optional<QString> refusal = CheckFits(*peripheral)) {
        ShowFailure(*refusal);
        return false;
    }
    TransferBuffer &buffer = m_env.links.buffer;
    const uint32_t span = RowText::SecondNumber(peripheral->Description());
    std::vector<uint32_t> narrowWords; // words a narrow register has already been merged into
    for (const auto &reg : peripheral->Children()) {
        if (RowText::CaptionValueIndex(reg->Name()) < 0)
            continue;
        const uint32_t offset = RowText::SecondNumber(reg->Description());
        const uint32_t value = RowText::CaptionValue(reg->Name());
        const uint32_t bits = reg->Traits().bits;
        if (RowText::RegisterMask(bits) == 0xFFFFFFFFu) {
            buffer.SetWord(WordPosition(offset), value);
            continue;
        }
        const bool merged =
            std::find(narrowWords.begin(), narrowWords.end(), WordPosition(offset)) != narrowWords.end();
        const uint32_t around = merged ? buffer.Word(WordPosition(offset)) : reg->Traits().lastWord;
        const uint32_t shift = RowText::RegisterShift(offset, bits);
        const uint32_t mask = RowText::RegisterMask(bits) << shift;
        buffer.SetWord(WordPosition(offset), (around & ~mask) | ((value << shift) & mask));
        narrowWords.push_back(WordPosition(offset));
    }
    if (!SnapshotFiles::Replace(path, buffer.data(), span)) {
        ShowFailure(MessageText::Format(RegisterWindowMessages::kSnapshotCreate, path.toUtf8().constData()));
        return false;
    }
    return true;
}

// The file of an import or export: the dialog's choice, or the peripheral's
// default snapshot file when the dialog is cancelled. Empty (after the
// message) when that default cannot be used.
QString RegisterWindow::ChosenSnapshotPath(const QString &name, const char *title, const char *unusableFormat)
{
    FileRequest request;
    request.kind = FileRequest::Kind::Open;
    request.title = QString::fromUtf8(title);
    request.filters = {{QLatin1String(kFilterText), QStringLiteral("*.bin")}};
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
        const QString path = ChosenSnapshotPath(name, kExportTitle, RegisterWindowMessages::kSnapshotCreate);
        if (!path.isEmpty())
            SaveSnapshot(name, path);
    }
}

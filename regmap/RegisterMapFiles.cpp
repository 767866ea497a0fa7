// Register maps and windows: snapshot files loaded into and saved from the rows.
#include "regmap/RegisterWindow.h"

#include "link/MessageText.h"
#include "regmap/RegisterWindowMessages.h"
#include "regmap/PeripheralImage.h"
#include "regmap/SnapshotFiles.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The save question names what it saves; its Cancel saves nothing.
const char kExportTitle[] = "保存数据 %1";
const char kImportTitle[] = "***** 导入默认路径文件请点击\"取消\"按钮 *****";
const char kFilterText[] = "Register data Files(*.bin)";

} // namespace

QString RegisterMap::SnapshotPathOf(const QString &name, bool temporary, bool *usable) const
{
    const QString chip = ChipModel();
    *usable = SnapshotFiles::IsPlainFileName(name) && (temporary || SnapshotFiles::IsPlainFileName(chip));
    const QString path =
        temporary ? SnapshotFiles::TemporaryPath(m_env.home, name) : SnapshotFiles::DefaultPath(m_env.home, chip, name);
    if (*usable)
        SnapshotFiles::MakeFolderFor(m_env.home, temporary ? QStringLiteral("temp") : chip);
    return path;
}

QString RegisterMap::DefaultSnapshotPath(const QString &name) const
{
    bool usable = false;
    return SnapshotPathOf(name, false, &usable);
}

std::optional<QString> RegisterMap::CheckFits(const RegisterRow &peripheral) const
{
    return SnapshotFiles::CheckFits(peripheral.Name(), peripheral.Traits().span,
                                    PeripheralImage::HighestWordEnd(peripheral));
}

bool RegisterMap::LoadSnapshot(const QString &name, const QString &path)
{
    return LoadSnapshotFrom(name, path, ValueSource::FromFile(path, QFileInfo(path).lastModified()));
}

void RegisterMap::ShowLastSnapshot(RegisterRow *peripheral)
{
    bool usable = false;
    const QString path = SnapshotPathOf(peripheral->Name(), false, &usable);
    if (!usable || !QFile::exists(path) || CheckFits(*peripheral))
        return;
    const std::optional<QByteArray> image = SnapshotFiles::ReadAll(path);
    if (!image)
        return;
    PeripheralImage::Fill(m_tree, peripheral, *image, ValueSource::FromFile(path, QFileInfo(path).lastModified()));
}

bool RegisterMap::LoadSnapshotFrom(const QString &name, const QString &path, const ValueSource &source)
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
    const uint32_t span = peripheral ? peripheral->Traits().span : 0;
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
    PeripheralImage::Fill(m_tree, peripheral,
                          QByteArray(reinterpret_cast<const char *>(buffer.data()), qsizetype(TransferBuffer::kSize)),
                          source);
    return true;
}

bool RegisterMap::SaveSnapshot(const QString &name, const QString &path)
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
    // What lies between the registers goes out as the transfer buffer holds it.
    TransferBuffer &buffer = m_env.links.buffer;
    const uint32_t span = peripheral->Traits().span;
    const QByteArray around(reinterpret_cast<const char *>(buffer.data()), qsizetype(span));
    const QByteArray image = PeripheralImage::Of(*peripheral, around);
    std::memcpy(buffer.data(), image.constData(), std::size_t(image.size()));
    if (!SnapshotFiles::Replace(path, buffer.data(), span)) {
        ShowFailure(MessageText::Format(RegisterWindowMessages::kSnapshotCreate, path.toUtf8().constData()));
        return false;
    }
    return true;
}

// The file of an import: the dialog's choice, or the peripheral's default
// snapshot file when the dialog is cancelled. Empty (after the message) when
// that default cannot be used.
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
        // A save question: it offers the default file's name in the data
        // folder, asks before overwriting, and its Cancel writes nothing.
        FileRequest request;
        request.kind = FileRequest::Kind::Save;
        request.title = QString::fromUtf8(kExportTitle).arg(name);
        request.filters = {{QLatin1String(kFilterText), QStringLiteral("*.bin")}};
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

bool RegisterMap::FillPeripheral(const QString &name, const QByteArray &image)
{
    RegisterRow *peripheral = m_tree.FindTopRow(name);
    if (!peripheral)
        return false;
    // A watch never reads registers whose reading changes the chip; their rows keep what they show.
    PeripheralImage::Fill(m_tree, peripheral, image, ValueSource::FromChip(), PeripheralImage::Registers::LeaveLeftOut);
    return true;
}

void RegisterMap::MarkPeripheralStale(const QString &name)
{
    RegisterRow *peripheral = m_tree.FindTopRow(name);
    if (!peripheral)
        return;
    for (const auto &reg : peripheral->Children())
        if (!reg->Traits().readHasSideEffect) // never read by a watch: nothing failed for it
            m_tree.MarkStale(reg.get());
}

// Register maps and windows: reading registers from the chip and writing them back.
#include "regmap/RegisterWindow.h"

#include "link/LinkCycle.h"
#include "link/LinkMessages.h"
#include "link/MessageText.h"
#include "regmap/RegisterWindowMessages.h"
#include "regmap/PeripheralImage.h"
#include "regmap/RowText.h"
#include "regmap/SnapshotFiles.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

QByteArray Utf8(const QString &text)
{
    return text.toUtf8();
}

} // namespace

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

void RegisterMap::ReadRow(RegisterRow *selected, bool isRegister)
{
    LinkCycle cycle(m_env.config, m_env.links, m_env.user);
    cycle.SetConnectFailureText(LinkMessages::kRegisterLinkConnect);
    cycle.SetUartRefusalFormat(LinkMessages::kUartRefusalLine);
    if (!cycle.Preface())
        return;
    const bool read =
        cycle.Open() && (isRegister ? ReadRegister(cycle, selected) : ReadPeripheral(cycle, selected->Name()));
    if (read)
        return;
    // What the rows show stays, marked as older than the read that failed.
    if (isRegister) {
        m_tree.MarkStale(selected);
    } else {
        for (const auto &reg : selected->Children())
            m_tree.MarkStale(reg.get());
    }
}

bool RegisterMap::ReadPeripheral(LinkCycle &cycle, const QString &name)
{
    const std::optional<QString> path = CapturePeripheral(cycle, name);
    if (!path)
        return false;
    cycle.Close();
    return LoadSnapshotFrom(name, *path, ValueSource::FromChip());
}

std::optional<QString> RegisterMap::CapturePeripheral(LinkCycle &cycle, const QString &name) const
{
    const RegisterRow *peripheral = m_tree.FindTopRow(name);
    std::optional<QString> failure;
    if (!peripheral)
        failure = MessageText::Format(RegisterWindowMessages::kNoSpan, Utf8(name).constData());
    else
        failure = CheckFits(*peripheral);
    if (failure) {
        cycle.Fail(*failure);
        cycle.Close();
        return std::nullopt;
    }
    QByteArray image;
    if (!ReadPeripheralImage(cycle, *peripheral, image))
        return std::nullopt;
    // The image also stays in the transfer buffer, as after any read.
    std::memcpy(m_env.links.buffer.data(), image.constData(), std::size_t(image.size()));
    bool usable = false;
    const QString path = SnapshotPathOf(name, false, &usable);
    if (!usable || !SnapshotFiles::Replace(path, m_env.links.buffer.data(), uint32_t(image.size()))) {
        cycle.Fail(MessageText::Format(RegisterWindowMessages::kSnapshotCreate, Utf8(path).constData()));
        cycle.Close();
        return std::nullopt;
    }
    return path;
}

bool RegisterMap::ReadPeripheralImage(LinkCycle &cycle, const RegisterRow &peripheral, QByteArray &image) const
{
    const uint32_t span = peripheral.Traits().span;
    const std::vector<bool> leftOut = PeripheralImage::LeftOutWords(peripheral);
    image = QByteArray(qsizetype(span), '\0');
    if (!leftOut.empty()) {
        bool usable = false;
        const QString path = SnapshotPathOf(peripheral.Name(), false, &usable);
        if (const std::optional<QByteArray> last = usable ? SnapshotFiles::ReadAll(path) : std::nullopt)
            std::memcpy(image.data(), last->constData(), std::size_t(std::min(last->size(), image.size())));
    }
    return PeripheralImage::Read(cycle, peripheral.Traits().base, span, leftOut, image);
}

bool RegisterMap::ReadRegister(LinkCycle &cycle, RegisterRow *reg)
{
    const RegisterRow *peripheral = reg->Parent();
    const uint32_t offset = PeripheralImage::WordOffset(*reg);
    // The register's word is the one its offset lies in, the same word a
    // snapshot load and save use for it.
    const uint32_t address = reg->Traits().address - (reg->Traits().offset & 3u);
    if (uint64_t(offset) + 4 > TransferBuffer::kSize) {
        cycle.Fail(*SnapshotFiles::CheckFits(peripheral->Name(), peripheral->Traits().span, offset + 4));
        cycle.Close();
        return false;
    }
    if (!cycle.ReadUnchecked(address, 4)) {
        cycle.Fail(cycle.RegisterReadFailure(address));
        cycle.Close();
        return false;
    }
    cycle.Close();

    bool usable = false;
    const QString path = SnapshotPathOf(peripheral->Name(), false, &usable);
    std::optional<QByteArray> image = usable ? SnapshotFiles::ReadAll(path) : std::nullopt;
    if (usable && !image && !QFile::exists(path))
        image = QByteArray();
    const uint8_t *word = m_env.links.buffer.data();
    if (image) {
        if (image->size() < qsizetype(offset) + 4)
            image->resize(qsizetype(offset) + 4, '\0');
        std::memcpy(image->data() + offset, word, 4);
    }
    if (!image || !SnapshotFiles::Replace(path, reinterpret_cast<const uint8_t *>(image->constData()), image->size())) {
        cycle.Fail(MessageText::Format(RegisterWindowMessages::kTransferOpen, Utf8(path).constData()));
        return false;
    }
    PeripheralImage::FillRegister(m_tree, reg, m_env.links.buffer.Word(0), ValueSource::FromChip());
    return true;
}

void RegisterMap::WriteRow(RegisterRow *selected, bool isRegister)
{
    LinkCycle cycle(m_env.config, m_env.links, m_env.user);
    if (!cycle.Preface() || !cycle.Open())
        return;
    if (isRegister)
        WriteRegister(cycle, selected);
    else
        WritePeripheral(cycle, selected->Name());
    cycle.Close();
}

void RegisterMap::WriteRegister(LinkCycle &cycle, RegisterRow *reg)
{
    const QString peripheral = reg->Parent()->Name();
    const uint32_t offset = PeripheralImage::WordOffset(*reg);
    const uint32_t address = reg->Traits().address - (reg->Traits().offset & 3u);
    bool usable = false;
    const QString path = SnapshotPathOf(peripheral, true, &usable);
    // A failed save would leave an older image in the temporary file, maybe
    // of another chip: never send that to the target.
    if (!usable || !SaveSnapshot(peripheral, path)) {
        if (!usable)
            cycle.Fail(MessageText::Format(RegisterWindowMessages::kTransferOpen, Utf8(path).constData()));
        return;
    }
    QFile file;
    if (!SnapshotFiles::OpenForReading(file, path)) {
        cycle.Fail(MessageText::Format(RegisterWindowMessages::kTransferOpen, Utf8(path).constData()));
        return;
    }
    // Only the register's own word may go out: a short file would leave
    // another register's word in the transfer buffer.
    const QByteArray bytes = file.seek(offset) ? file.read(4) : QByteArray();
    file.close();
    if (bytes.size() != 4) {
        cycle.Fail(MessageText::Format(RegisterWindowMessages::kTransferOpen, Utf8(path).constData()));
        return;
    }
    std::memcpy(m_env.links.buffer.data(), bytes.constData(), std::size_t(bytes.size()));
    if (!cycle.WriteUnchecked(address, 4))
        cycle.Fail(cycle.RegisterWriteFailure(address));
}

void RegisterMap::WritePeripheral(LinkCycle &cycle, const QString &name)
{
    const PeripheralSpan span = FindPeripheralSpan(name);
    if (!span.found) {
        cycle.Fail(MessageText::Format(RegisterWindowMessages::kPeripheralWriteNoSpan, Utf8(name).constData()));
        return;
    }
    bool usable = false;
    const QString path = SnapshotPathOf(name, true, &usable);
    if (!usable) {
        cycle.Fail(MessageText::Format(RegisterWindowMessages::kPeripheralWriteOpen, Utf8(path).constData()));
        return;
    }
    if (!SaveSnapshot(name, path))
        return;
    QFile file;
    if (!SnapshotFiles::OpenForReading(file, path)) {
        cycle.Fail(MessageText::Format(RegisterWindowMessages::kPeripheralWriteOpen, Utf8(path).constData()));
        return;
    }
    const QByteArray bytes = file.read(span.span);
    file.close();
    if (bytes.size() != qsizetype(span.span)) {
        cycle.Fail(MessageText::Format(RegisterWindowMessages::kPeripheralWriteOpen, Utf8(path).constData()));
        return;
    }
    std::memcpy(m_env.links.buffer.data(), bytes.constData(), std::size_t(bytes.size()));
    cycle.Write(span.base, span.span);
}

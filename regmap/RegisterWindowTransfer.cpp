// Register windows: reading registers from the chip and writing them back.
#include "regmap/RegisterWindow.h"

#include "link/LinkCycle.h"
#include "link/LinkMessages.h"
#include "link/MessageText.h"
#include "regmap/RegisterWindowMessages.h"
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
    RegisterRow *selected = SelectedRow();
    if (!selected)
        return;
    LinkCycle cycle(m_env.config, m_env.links, m_env.user);
    cycle.SetConnectFailureText(LinkMessages::kRegisterLinkConnect);
    cycle.SetUartRefusalFormat(LinkMessages::kUartRefusalLine);
    if (!cycle.Preface() || !cycle.Open())
        return;
    if (m_selectedIsRegister)
        ReadRegister(cycle, selected);
    else
        ReadPeripheral(cycle, selected->Name());
}

void RegisterWindow::ReadPeripheral(LinkCycle &cycle, const QString &name)
{
    const std::optional<QString> path = CapturePeripheral(cycle, name);
    if (!path)
        return;
    cycle.Close();
    LoadSnapshot(name, *path);
}

std::optional<QString> RegisterWindow::CapturePeripheral(LinkCycle &cycle, const QString &name) const
{
    const PeripheralSpan span = FindPeripheralSpan(name);
    std::optional<QString> failure;
    if (!span.found)
        failure = MessageText::Format(RegisterWindowMessages::kNoSpan, Utf8(name).constData());
    else
        failure = CheckFits(*m_tree.FindTopRow(name));
    if (failure) {
        cycle.Fail(*failure);
        cycle.Close();
        return std::nullopt;
    }
    if (!ReadPeripheralImage(cycle, name, span))
        return std::nullopt;
    bool usable = false;
    const QString path = SnapshotPathOf(name, false, &usable);
    if (!usable || !SnapshotFiles::Replace(path, m_env.links.buffer.data(), span.span)) {
        cycle.Fail(MessageText::Format(RegisterWindowMessages::kSnapshotCreate, Utf8(path).constData()));
        cycle.Close();
        return std::nullopt;
    }
    return path;
}

bool RegisterWindow::ReadPeripheralImage(LinkCycle &cycle, const QString &name, const PeripheralSpan &span) const
{
    const RegisterRow *peripheral = m_tree.FindTopRow(name);
    std::vector<bool> leftOut((span.span + 3) / 4, false);
    bool any = false;
    for (std::size_t i = 0; peripheral && i < peripheral->ChildCount(); ++i) {
        const RegisterRow *reg = peripheral->Child(i);
        const uint32_t word = RowText::SecondNumber(reg->Description()) / 4;
        if (reg->Traits().readHasSideEffect && word < leftOut.size()) {
            leftOut[word] = true;
            any = true;
        }
    }
    if (!any)
        return cycle.Read(span.base, span.span);

    QByteArray image(qsizetype(span.span), '\0');
    bool usable = false;
    const QString path = SnapshotPathOf(name, false, &usable);
    if (const std::optional<QByteArray> last = usable ? SnapshotFiles::ReadAll(path) : std::nullopt)
        std::memcpy(image.data(), last->constData(), std::size_t(std::min(last->size(), image.size())));
    for (uint32_t word = 0; word < leftOut.size();) {
        if (leftOut[word]) {
            ++word;
            continue;
        }
        uint32_t end = word;
        while (end < leftOut.size() && !leftOut[end])
            ++end;
        const uint32_t start = word * 4;
        const uint32_t length = std::min(end * 4, span.span) - start;
        if (!cycle.Read(span.base + start, length))
            return false;
        std::memcpy(image.data() + start, m_env.links.buffer.data(), length);
        word = end;
    }
    std::memcpy(m_env.links.buffer.data(), image.constData(), std::size_t(image.size()));
    return true;
}

void RegisterWindow::ReadRegister(LinkCycle &cycle, RegisterRow *reg)
{
    const RegisterRow *peripheral = reg->Parent();
    const uint32_t offset = RowText::SecondNumber(reg->Description()) & ~3u;
    // The register's word is the one its offset lies in, the same word a
    // snapshot load and save use for it.
    const uint32_t address =
        RowText::FirstNumber(reg->Description()) - (RowText::SecondNumber(reg->Description()) & 3u);
    if (uint64_t(offset) + 4 > TransferBuffer::kSize) {
        cycle.Fail(*SnapshotFiles::CheckFits(peripheral->Name(), RowText::SecondNumber(peripheral->Description()),
                                             offset + 4));
        cycle.Close();
        return;
    }
    if (!cycle.ReadUnchecked(address, 4)) {
        cycle.Fail(cycle.RegisterReadFailure(address));
        cycle.Close();
        return;
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
        return;
    }
    FillRegister(reg, m_env.links.buffer.Word(0));
}

void RegisterWindow::WriteSelection()
{
    RegisterRow *selected = SelectedRow();
    if (!selected)
        return;
    LinkCycle cycle(m_env.config, m_env.links, m_env.user);
    if (!cycle.Preface() || !cycle.Open())
        return;
    if (m_selectedIsRegister)
        WriteRegister(cycle, selected);
    else
        WritePeripheral(cycle, selected->Name());
    cycle.Close();
}

void RegisterWindow::WriteRegister(LinkCycle &cycle, RegisterRow *reg)
{
    const QString peripheral = reg->Parent()->Name();
    const uint32_t offset = RowText::SecondNumber(reg->Description()) & ~3u;
    const uint32_t address =
        RowText::FirstNumber(reg->Description()) - (RowText::SecondNumber(reg->Description()) & 3u);
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

void RegisterWindow::WritePeripheral(LinkCycle &cycle, const QString &name)
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

#include "regmap/RegisterTransfer.h"

#include "link/LinkCycle.h"
#include "link/LinkMessages.h"
#include "link/MessageText.h"
#include "regmap/PeripheralImage.h"
#include "regmap/RegisterWindowMessages.h"
#include "regmap/SnapshotFiles.h"

#include <QFile>

#include <algorithm>
#include <cstring>

namespace {

QByteArray Utf8(const QString &text)
{
    return text.toUtf8();
}

void ShowFailure(UserContext &user, const QString &text)
{
    user.messages.ShowFailure(MessageText::Cut(text));
}

// Reads the span into the transfer buffer, except the words a whole read
// leaves out: those keep the bytes of the snapshot file (zero without one).
// False once the cycle has reported a failed read.
bool ReadImage(LinkCycle &cycle, const RegisterTransfer &transfer)
{
    QByteArray image(qsizetype(transfer.span), '\0');
    if (!transfer.leftOut.empty() && transfer.snapshotUsable) {
        if (const std::optional<QByteArray> last = SnapshotFiles::ReadAll(transfer.snapshotPath))
            std::memcpy(image.data(), last->constData(), std::size_t(std::min(last->size(), image.size())));
    }
    if (!PeripheralImage::Read(cycle, transfer.base, transfer.span, transfer.leftOut, image))
        return false;
    // The image stays in the transfer buffer, as after any read.
    std::memcpy(cycle.Buffer().data(), image.constData(), std::size_t(image.size()));
    return true;
}

// The peripheral from the chip into its snapshot file, on the open cycle;
// false once the cycle has shown its message and closed.
bool CaptureImage(LinkCycle &cycle, const RegisterTransfer &transfer)
{
    std::optional<QString> failure;
    if (!transfer.shown)
        failure = MessageText::Format(RegisterWindowMessages::kNoSpan, Utf8(transfer.peripheral).constData());
    else
        failure = transfer.refusal;
    if (failure) {
        cycle.Fail(*failure);
        cycle.Close();
        return false;
    }
    if (!ReadImage(cycle, transfer))
        return false;
    if (!transfer.snapshotUsable ||
        !SnapshotFiles::Replace(transfer.snapshotPath, cycle.Buffer().data(), transfer.span)) {
        cycle.Fail(
            MessageText::Format(RegisterWindowMessages::kSnapshotCreate, Utf8(transfer.snapshotPath).constData()));
        cycle.Close();
        return false;
    }
    return true;
}

bool ReadRegister(LinkCycle &cycle, RegisterTransfer &transfer)
{
    if (transfer.readRefusal) {
        cycle.Fail(*transfer.readRefusal);
        cycle.Close();
        return false;
    }
    const uint32_t bytes = transfer.wordBytes;
    if (uint64_t(transfer.wordOffset) + bytes > TransferBuffer::kSize) {
        cycle.Fail(*SnapshotFiles::CheckFits(transfer.peripheral, transfer.span, transfer.wordOffset + bytes));
        cycle.Close();
        return false;
    }
    if (!cycle.ReadUnchecked(transfer.wordAddress, bytes)) {
        cycle.Fail(cycle.RegisterReadFailure(transfer.wordAddress));
        cycle.Close();
        return false;
    }
    cycle.Close();

    const QString &path = transfer.snapshotPath;
    std::optional<QByteArray> image = transfer.snapshotUsable ? SnapshotFiles::ReadAll(path) : std::nullopt;
    if (transfer.snapshotUsable && !image && !QFile::exists(path))
        image = QByteArray();
    const uint8_t *word = cycle.Buffer().data();
    if (image) {
        if (image->size() < qsizetype(transfer.wordOffset) + bytes)
            image->resize(qsizetype(transfer.wordOffset) + bytes, '\0');
        std::memcpy(image->data() + transfer.wordOffset, word, bytes);
    }
    if (!image || !SnapshotFiles::Replace(path, reinterpret_cast<const uint8_t *>(image->constData()), image->size())) {
        cycle.Fail(MessageText::Format(RegisterWindowMessages::kTransferOpen, Utf8(path).constData()));
        return false;
    }
    transfer.readWord = PeripheralImage::Bytes(
        QByteArray(reinterpret_cast<const char *>(cycle.Buffer().data()), qsizetype(bytes)), 0, bytes);
    return true;
}

// The rows' image into the temporary file, the words no register covers as
// the transfer buffer holds them; the image stays in the buffer. Nothing is
// written, and the old file stays, unless the whole image is ready.
bool SaveImage(LinkCycle &cycle, UserContext &user, const RegisterTransfer &transfer)
{
    if (!transfer.shown)
        return false;
    if (transfer.refusal) {
        ShowFailure(user, *transfer.refusal);
        return false;
    }
    TransferBuffer &buffer = cycle.Buffer();
    for (uint32_t word = 0; word < transfer.coveredWords.size(); ++word) {
        if (!transfer.coveredWords[word])
            continue;
        const uint32_t offset = word * 4;
        const auto length = std::size_t(std::min<uint32_t>(4, transfer.span - offset));
        std::memcpy(buffer.data() + offset, transfer.image.constData() + offset, length);
    }
    if (!SnapshotFiles::Replace(transfer.snapshotPath, buffer.data(), transfer.span)) {
        ShowFailure(user, MessageText::Format(RegisterWindowMessages::kSnapshotCreate,
                                              Utf8(transfer.snapshotPath).constData()));
        return false;
    }
    return true;
}

bool WriteRegister(LinkCycle &cycle, UserContext &user, RegisterTransfer &transfer)
{
    if (transfer.readRefusal)
        return cycle.Fail(*transfer.readRefusal);
    const QByteArray path = Utf8(transfer.snapshotPath);
    // A failed save would leave an older image in the temporary file, maybe
    // of another chip: never send that to the target.
    if (!transfer.snapshotUsable) {
        cycle.Fail(MessageText::Format(RegisterWindowMessages::kTransferOpen, path.constData()));
        return false;
    }
    if (!SaveImage(cycle, user, transfer))
        return false;
    QFile file;
    if (!SnapshotFiles::OpenForReading(file, transfer.snapshotPath)) {
        cycle.Fail(MessageText::Format(RegisterWindowMessages::kTransferOpen, path.constData()));
        return false;
    }
    // Only the register's own words may go out: a short file would leave
    // another register's word in the transfer buffer.
    const QByteArray bytes = file.seek(transfer.wordOffset) ? file.read(transfer.wordBytes) : QByteArray();
    file.close();
    if (bytes.size() != qsizetype(transfer.wordBytes)) {
        cycle.Fail(MessageText::Format(RegisterWindowMessages::kTransferOpen, path.constData()));
        return false;
    }
    std::memcpy(cycle.Buffer().data(), bytes.constData(), std::size_t(bytes.size()));
    if (!transfer.merges.empty()) {
        // The bits the user did not set come from the chip, read just now.
        if (!cycle.ReadUnchecked(transfer.wordAddress, transfer.wordBytes))
            return cycle.Fail(cycle.RegisterReadFailure(transfer.wordAddress));
        for (const RegisterTransfer::Merge &merge : transfer.merges) {
            const uint32_t at = merge.offset - transfer.wordOffset;
            const uint32_t rows = PeripheralImage::Word(bytes, at);
            cycle.Buffer().SetWord(at, (cycle.Buffer().Word(at) & ~merge.mask) | (rows & merge.mask));
        }
    }
    if (!cycle.WriteUnchecked(transfer.wordAddress, transfer.wordBytes)) {
        cycle.Fail(cycle.RegisterWriteFailure(transfer.wordAddress));
        return false;
    }
    transfer.writtenWord = cycle.Buffer().Word(0);
    if (transfer.wordBytes > 4)
        transfer.writtenWord |= uint64_t(cycle.Buffer().Word(4)) << 32;
    return true;
}

bool WritePeripheral(LinkCycle &cycle, UserContext &user, const RegisterTransfer &transfer)
{
    const QByteArray path = Utf8(transfer.snapshotPath);
    if (!transfer.shown) {
        cycle.Fail(
            MessageText::Format(RegisterWindowMessages::kPeripheralWriteNoSpan, Utf8(transfer.peripheral).constData()));
        return false;
    }
    if (!transfer.snapshotUsable) {
        cycle.Fail(MessageText::Format(RegisterWindowMessages::kPeripheralWriteOpen, path.constData()));
        return false;
    }
    if (!SaveImage(cycle, user, transfer))
        return false;
    QFile file;
    if (!SnapshotFiles::OpenForReading(file, transfer.snapshotPath)) {
        cycle.Fail(MessageText::Format(RegisterWindowMessages::kPeripheralWriteOpen, path.constData()));
        return false;
    }
    QByteArray bytes = file.read(transfer.span);
    file.close();
    if (bytes.size() != qsizetype(transfer.span)) {
        cycle.Fail(MessageText::Format(RegisterWindowMessages::kPeripheralWriteOpen, path.constData()));
        return false;
    }
    // Edited registers whose other bits are not known take those from the chip.
    for (const RegisterTransfer::Merge &merge : transfer.merges) {
        const uint32_t address = transfer.base + merge.offset;
        if (!cycle.ReadUnchecked(address, 4))
            return cycle.Fail(cycle.RegisterReadFailure(address));
        const uint32_t chip = cycle.Buffer().Word(0);
        const uint32_t rows = PeripheralImage::Word(bytes, merge.offset);
        const uint32_t word = (chip & ~merge.mask) | (rows & merge.mask);
        for (uint32_t i = 0; i < 4 && merge.offset + i < uint32_t(bytes.size()); ++i)
            bytes[qsizetype(merge.offset + i)] = char(uint8_t(word >> (8 * i)));
    }
    std::memcpy(cycle.Buffer().data(), bytes.constData(), std::size_t(bytes.size()));
    return cycle.Write(transfer.base, transfer.span);
}

} // namespace

void RegisterTransfer::Run(const ConfigFile &config, TargetLinks &links, UserContext &user)
{
    LinkCycle cycle(config, links, user);
    const bool read = kind == Kind::ReadPeripheral || kind == Kind::ReadRegister;
    if (read) {
        cycle.SetConnectFailureText(LinkMessages::kRegisterLinkConnect);
        cycle.SetUartRefusalFormat(LinkMessages::kUartRefusalLine);
    }
    if (!cycle.Preface())
        return;
    preface = true;
    if (!cycle.Open())
        return;
    switch (kind) {
    case Kind::ReadPeripheral:
        succeeded = CaptureImage(cycle, *this);
        if (succeeded)
            cycle.Close();
        return;
    case Kind::ReadRegister:
        succeeded = ReadRegister(cycle, *this);
        return;
    case Kind::WriteRegister:
        succeeded = WriteRegister(cycle, user, *this);
        break;
    case Kind::WritePeripheral:
        succeeded = WritePeripheral(cycle, user, *this);
        break;
    }
    cycle.Close();
}

bool RegisterTransfer::Capture(LinkCycle &cycle) const
{
    return CaptureImage(cycle, *this);
}

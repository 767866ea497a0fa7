// Register maps and windows: reading registers from the chip and writing them
// back, planned from the rows, run on any thread, finished in the rows.
#include "regmap/RegisterWindow.h"

#include "link/LinkCycle.h"
#include "link/LinkMessages.h"
#include "link/MessageText.h"
#include "regmap/PeripheralImage.h"
#include "regmap/RegisterWindowMessages.h"
#include "regmap/RowText.h"
#include "regmap/SnapshotFiles.h"

#include <QFile>

#include <algorithm>
#include <cstring>
#include <map>

namespace {

QByteArray Utf8(const QString &text)
{
    return text.toUtf8();
}

// The bits of its words a register occupies (the low word first).
uint64_t RegisterBitsInWords(const RegisterRow &reg)
{
    return RowText::RegisterMask(reg.Traits().bits) << RowText::RegisterShift(reg.Traits().offset, reg.Traits().bits);
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

RegisterTransfer RegisterMap::Plan(const RegisterRow *row, bool isRegister, bool write) const
{
    RegisterTransfer transfer;
    transfer.kind = write
                        ? (isRegister ? RegisterTransfer::Kind::WriteRegister : RegisterTransfer::Kind::WritePeripheral)
                        : (isRegister ? RegisterTransfer::Kind::ReadRegister : RegisterTransfer::Kind::ReadPeripheral);
    transfer.rowId = row->Id();
    // A peripheral row answers for itself by its name, as the window's
    // commands always found it: the first shown peripheral of that name.
    const RegisterRow *peripheral = isRegister ? row->Parent() : m_tree.FindTopRow(row->Name());
    transfer.peripheral = isRegister ? row->Parent()->Name() : row->Name();
    transfer.shown = peripheral != nullptr;
    if (peripheral) {
        transfer.base = peripheral->Traits().base;
        transfer.span = peripheral->Traits().span;
        transfer.refusal = CheckFits(*peripheral);
        transfer.leftOut = PeripheralImage::LeftOutWords(*peripheral);
    }
    if (isRegister) {
        // The register's word is the one its offset lies in, the same word a
        // snapshot load and save use for it.
        transfer.wordOffset = PeripheralImage::WordOffset(*row);
        transfer.wordAddress = row->Traits().address - (row->Traits().offset & 3u);
        transfer.wordBytes = (PeripheralImage::ValueBytes(*row) + 3) / 4 * 4;
        if (!write)
            transfer.readRefusal = PeripheralImage::ReadRefusal(*row);
    }
    if (write && isRegister) {
        transfer.plannedValue = row->Number();
        const WordPlan word = PlanWord(*row, row->Source());
        if (word.blocked != WordPlan::Blocked::No)
            transfer.readRefusal = WordRefusal(word, *row, *row);
        else if (word.readFirst)
            for (uint32_t at = 0; at < transfer.wordBytes; at += 4)
                transfer.merges.push_back({transfer.wordOffset + at, uint32_t(word.rowsMask >> (8 * at))});
    } else if (write && peripheral) {
        // Bits of edited registers that are neither set by the user nor known.
        std::map<uint32_t, uint32_t> fromChip;
        for (const auto &reg : peripheral->Children()) {
            if (reg->Source().kind != ValueSource::Kind::Edited)
                continue;
            const WordPlan word = PlanWord(*reg, reg->Source());
            if (!word.readFirst)
                continue;
            const uint64_t bits = RegisterBitsInWords(*reg) & ~word.rowsMask;
            const uint32_t offset = PeripheralImage::WordOffset(*reg);
            for (uint32_t at = 0; at < PeripheralImage::ValueBytes(*reg); at += 4)
                fromChip[offset + at] |= uint32_t(bits >> (8 * at));
        }
        for (const auto &[offset, bits] : fromChip)
            if (uint64_t(offset) + 4 <= transfer.span)
                transfer.merges.push_back({offset, ~bits});
    }
    transfer.snapshotPath = SnapshotPathOf(transfer.peripheral, write, &transfer.snapshotUsable);
    if (write && peripheral && !transfer.refusal) {
        transfer.image = PeripheralImage::Of(*peripheral, QByteArray(qsizetype(transfer.span), '\0'));
        transfer.coveredWords = PeripheralImage::CoveredWords(*peripheral);
    }
    return transfer;
}

RegisterTransfer RegisterMap::PlanRead(const RegisterRow *row, bool isRegister) const
{
    return Plan(row, isRegister, false);
}

RegisterTransfer RegisterMap::PlanWrite(const RegisterRow *row, bool isRegister) const
{
    return Plan(row, isRegister, true);
}

void RegisterMap::Run(RegisterTransfer &transfer, const ConfigFile &config, TargetLinks &links, UserContext &user)
{
    LinkCycle cycle(config, links, user);
    const bool read = transfer.kind == RegisterTransfer::Kind::ReadPeripheral ||
                      transfer.kind == RegisterTransfer::Kind::ReadRegister;
    if (read) {
        cycle.SetConnectFailureText(LinkMessages::kRegisterLinkConnect);
        cycle.SetUartRefusalFormat(LinkMessages::kUartRefusalLine);
    }
    if (!cycle.Preface())
        return;
    transfer.preface = true;
    if (!cycle.Open())
        return;
    switch (transfer.kind) {
    case RegisterTransfer::Kind::ReadPeripheral:
        transfer.succeeded = CaptureImage(cycle, transfer);
        if (transfer.succeeded)
            cycle.Close();
        return;
    case RegisterTransfer::Kind::ReadRegister:
        transfer.succeeded = ReadRegister(cycle, transfer);
        return;
    case RegisterTransfer::Kind::WriteRegister:
        transfer.succeeded = WriteRegister(cycle, user, transfer);
        break;
    case RegisterTransfer::Kind::WritePeripheral:
        transfer.succeeded = WritePeripheral(cycle, user, transfer);
        break;
    }
    cycle.Close();
}

RegisterMap::WordPlan RegisterMap::PlanWord(const RegisterRow &reg, const ValueSource &source)
{
    WordPlan plan;
    const uint64_t own = RowText::RegisterMask(reg.Traits().bits);
    const uint64_t set = (source.kind == ValueSource::Kind::Edited ? source.editedBits & own : own)
                         << RowText::RegisterShift(reg.Traits().offset, reg.Traits().bits);
    const uint64_t whole = PeripheralImage::ValueBytes(reg) > 4 ? ~uint64_t(0) : 0xFFFFFFFFu;
    if (set == whole)
        return plan;
    // Reading a register that only takes writes tells nothing of it.
    const QString &access = reg.Traits().access;
    if (access == u"write-only" || access == u"writeOnce")
        return plan;
    const bool known = source.ChipKnown();
    if (known && own == whole)
        return plan;
    const std::optional<QString> refused = PeripheralImage::ReadRefusal(reg);
    if (!refused && !PeripheralImage::WordReadChangesChip(reg)) {
        plan.rowsMask = set;
        plan.readFirst = true;
        return plan;
    }
    // A narrow register that cannot be read again: its word as last read.
    if (known)
        return plan;
    plan.blocked = refused ? WordPlan::Blocked::ReadRefused : WordPlan::Blocked::ReadChangesChip;
    plan.refusal = refused.value_or(QString());
    return plan;
}

QString RegisterMap::WordRefusal(const WordPlan &plan, const RegisterRow &edited, const RegisterRow &reg)
{
    const QByteArray what = EditedName(edited).toUtf8();
    const QByteArray name = reg.BareName().toUtf8();
    if (plan.blocked == WordPlan::Blocked::ReadRefused)
        return MessageText::Format(RegisterWindowMessages::kEditReadRefused, what.constData(), name.constData(),
                                   plan.refusal.toUtf8().constData());
    return MessageText::Format(RegisterWindowMessages::kEditReadChangesChip, what.constData(), name.constData());
}

QString RegisterMap::EditedName(const RegisterRow &row)
{
    if (row.RowKind() == RegisterRow::Kind::Register)
        return row.BareName();
    const RegisterRow &reg = *row.Parent();
    return row.RowKind() == RegisterRow::Kind::Field ? reg.BareName() + u'.' + row.BareName() : reg.BareName();
}

void RegisterMap::ShowAgain(RegisterRow *reg, const RegisterTransfer::Shown &shown)
{
    m_tree.SetRegisterValue(reg, shown.value, shown.word);
    for (const auto &child : reg->Children())
        if (child->RowKind() == RegisterRow::Kind::Value)
            m_tree.SetFilledValue(child.get(), shown.value, NumberForm::Word);
    PeripheralImage::FillFields(m_tree, reg, shown.value);
    m_tree.SetSource(reg, shown.source);
}

void RegisterMap::FinishWrite(const RegisterTransfer &transfer, RegisterRow *reg)
{
    if (transfer.kind != RegisterTransfer::Kind::WriteRegister)
        return;
    // Edited again since the write was planned: the later write shows it.
    if (reg->Source().kind == ValueSource::Kind::Edited && reg->Number() != transfer.plannedValue)
        return;
    if (!transfer.succeeded) {
        if (transfer.preface && transfer.beforeEdit)
            ShowAgain(reg, *transfer.beforeEdit);
        return;
    }
    // The chip holds the word written now; registers beside it in the same
    // word show it too where it was read just before.
    for (const auto &other : reg->Parent()->Children()) {
        RegisterRow *row = other.get();
        if (PeripheralImage::WordOffset(*row) != transfer.wordOffset)
            continue;
        if (row != reg && (transfer.merges.empty() || row->Source().kind == ValueSource::Kind::Edited))
            continue;
        // A word the chip table refuses to read is never shown as read.
        const ValueSource source = PeripheralImage::ReadRefusal(*row) ? ValueSource() : ValueSource::FromChip();
        PeripheralImage::FillRegister(m_tree, row, transfer.writtenWord, source);
    }
}

void RegisterMap::Finish(const RegisterTransfer &transfer)
{
    const bool read = transfer.kind == RegisterTransfer::Kind::ReadPeripheral ||
                      transfer.kind == RegisterTransfer::Kind::ReadRegister;
    RegisterRow *row = m_tree.FindById(transfer.rowId);
    if (!row)
        return;
    if (!read) {
        FinishWrite(transfer, row);
        return;
    }
    bool filled = transfer.succeeded;
    if (filled && transfer.kind == RegisterTransfer::Kind::ReadPeripheral)
        filled = LoadSnapshotFrom(transfer.peripheral, transfer.snapshotPath, ValueSource::FromChip());
    else if (filled)
        PeripheralImage::FillRegister(m_tree, row, transfer.readWord, ValueSource::FromChip());
    if (filled || !transfer.preface)
        return;
    // What the rows show stays, marked as older than the read that failed.
    if (transfer.kind == RegisterTransfer::Kind::ReadRegister) {
        m_tree.MarkStale(row);
    } else {
        for (const auto &reg : row->Children())
            m_tree.MarkStale(reg.get());
    }
}

void RegisterMap::ReadRow(RegisterRow *row, bool isRegister)
{
    auto transfer = std::make_shared<RegisterTransfer>(PlanRead(row, isRegister));
    if (m_transferRunner) {
        m_transferRunner(transfer, [this, transfer] { Finish(*transfer); });
        return;
    }
    Run(*transfer, m_env.config, m_env.links, m_env.user);
    Finish(*transfer);
}

void RegisterMap::WriteRow(RegisterRow *row, bool isRegister, const std::optional<RegisterTransfer::Shown> &beforeEdit)
{
    auto transfer = std::make_shared<RegisterTransfer>(PlanWrite(row, isRegister));
    transfer->beforeEdit = beforeEdit;
    if (m_transferRunner) {
        if (!m_transferRunner(transfer, [this, transfer] { Finish(*transfer); })) {
            ShowFailure(MessageText::Format(RegisterWindowMessages::kWriteBusy,
                                            (isRegister ? row->BareName() : row->Name()).toUtf8().constData()));
            if (isRegister && beforeEdit)
                ShowAgain(row, *beforeEdit);
        }
        return;
    }
    Run(*transfer, m_env.config, m_env.links, m_env.user);
    Finish(*transfer);
}

std::optional<QString> RegisterMap::CapturePeripheral(LinkCycle &cycle, const QString &name) const
{
    const RegisterTransfer transfer = PlanCapture(name);
    if (!Capture(cycle, transfer))
        return std::nullopt;
    return transfer.snapshotPath;
}

RegisterTransfer RegisterMap::PlanCapture(const QString &name) const
{
    const RegisterRow *peripheral = m_tree.FindTopRow(name);
    RegisterTransfer transfer;
    transfer.peripheral = name;
    if (peripheral)
        transfer = PlanRead(peripheral, false);
    else
        transfer.snapshotPath = SnapshotPathOf(name, false, &transfer.snapshotUsable);
    return transfer;
}

bool RegisterMap::Capture(LinkCycle &cycle, const RegisterTransfer &transfer)
{
    return CaptureImage(cycle, transfer);
}

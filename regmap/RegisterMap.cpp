#include "regmap/RegisterMap.h"

#include "link/Tr.h"

#include "link/MessageText.h"
#include "link/NumberInput.h"
#include "link/Settings.h"
#include "regmap/CorePeripherals.h"
#include "regmap/PeripheralImage.h"
#include "regmap/RegisterWindowMessages.h"
#include "regmap/RegisterWordPlan.h"
#include "regmap/RowBits.h"
#include "regmap/RowText.h"
#include "regmap/SnapshotFiles.h"
#include "regmap/SvdDeviceModel.h"
#include "xml/XmlDocument.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>
#include <cstring>
#include <map>

namespace {

constexpr int kMinNameWidth = 160;
constexpr int kMaxNameWidth = 400;

// The bits of its words a register occupies (the low word first).
uint64_t RegisterBitsInWords(const RegisterRow &reg)
{
    return RegisterBits::Of(reg.Traits()).InWords();
}

// The enumerated value of the field named `typed`, its case aside (the exact
// spelling first, should two names differ only in case).
const SvdEnumValue *ChoiceNamed(const RegisterRow &row, const QString &typed)
{
    const QString name = typed.trimmed();
    const QList<SvdEnumValue> &choices = row.Traits().choices;
    for (const SvdEnumValue &choice : choices)
        if (choice.name == name)
            return &choice;
    for (const SvdEnumValue &choice : choices)
        if (choice.name.compare(name, Qt::CaseInsensitive) == 0)
            return &choice;
    return nullptr;
}

QByteArray ChoiceNames(const RegisterRow &row)
{
    QStringList names;
    for (const SvdEnumValue &choice : row.Traits().choices)
        names << choice.name;
    return names.join(QStringLiteral(", ")).toUtf8();
}

// The bits of the row's value that lie in its register: a field's width up
// to the register's end, a value row's the register's width.
uint32_t UsableBits(const RegisterRow &row)
{
    const uint32_t registerBits = RegisterBits::Of(row.Parent()->Traits()).ValueBits();
    if (row.RowKind() != RegisterRow::Kind::Field)
        return registerBits;
    const RegisterRowTraits &traits = row.Traits();
    if (traits.low >= registerBits)
        return 0;
    return std::min(traits.width, registerBits - traits.low);
}

} // namespace

RegisterMap::RegisterMap(const RegisterWindowEnv &env)
    : m_env(env)
{}

QString RegisterMap::ChipModel() const
{
    return m_env.user.panel.ChipModel();
}

int RegisterMap::NumberBase() const
{
    const int entry = m_env.user.panel.NumberBaseEntry();
    return entry >= 0 ? entry : m_env.config.ReadInt(ConfigKey::kCommon, ConfigKey::kHexDec, 0);
}

void RegisterMap::ShowNote(const QString &text) const
{
    m_env.user.messages.ShowNote(MessageText::Cut(text));
}

void RegisterMap::ShowFailure(const QString &text) const
{
    m_env.user.messages.ShowFailure(MessageText::Cut(text));
}

SvdDocumentCache &RegisterMap::SvdFile()
{
    m_svd.Follow(SvdDeviceModel::SvdFilePath(m_env.home, ChipModel()));
    return m_svd;
}

SvdDocumentCache &RegisterMap::CoreSvdFile()
{
    m_coreSvd.Follow(CorePeripherals::FilePath(m_env.home));
    return m_coreSvd;
}

void RegisterMap::AddPeripheralRows(const QString &name)
{
    SvdFile();
    AddRowsFrom(name, BuildOptions());
}

RegisterRowTree::BuildOptions RegisterMap::BuildOptions() const
{
    RegisterRowTree::BuildOptions options;
    options.expandLevel = m_env.config.ReadInt(ConfigKey::kCommon, ConfigKey::kExpandType, 0);
    options.hex = NumberBase() == Stored(NumberBase::Hexadecimal);
    options.captionColumn = RowText::BuildColumn(m_tree.LastWidth());
    options.chipModel = ChipModel();
    return options;
}

void RegisterMap::AddRowsFrom(const QString &name, const RegisterRowTree::BuildOptions &options)
{
    // Walked once per version of the file, whatever is added or rebuilt.
    const SvdPeripheralResult *result = &m_svd.Peripheral(name);
    // A core peripheral the chip's file lacks comes from the core's file
    // (missing in an installation without it: the chip's answer stands).
    if (result->outcome == SvdPeripheralResult::Outcome::NotPresent) {
        const SvdPeripheralResult &core = CoreSvdFile().Peripheral(name);
        if (core.outcome == SvdPeripheralResult::Outcome::Found)
            result = &core;
    }
    if (result->outcome == SvdPeripheralResult::Outcome::Failed) {
        ShowFailure(result->message);
        return;
    }
    m_tree.SetHexBase(options.hex);
    if (result->outcome == SvdPeripheralResult::Outcome::Found) {
        RegisterRow *added = m_tree.AppendPeripheral(result->peripheral, options);
        if (m_showLastSnapshot)
            ShowLastSnapshot(added);
    }
    m_tree.SetHeaderTitles(name, Tr(RowText::kRightTitle));
}

PeripheralSpan RegisterMap::FindPeripheralSpan(const QString &name) const
{
    const RegisterRow *row = m_tree.FindTopRow(name);
    if (!row)
        return {};
    return {true, row->Traits().base, row->Traits().span};
}

void RegisterMap::ApplyNumberBase()
{
    const int base = m_env.config.ReadInt(ConfigKey::kCommon, ConfigKey::kHexDec, 0);
    if (base != Stored(NumberBase::Decimal) && base != Stored(NumberBase::Hexadecimal))
        return;
    const NumberForm wanted = base == Stored(NumberBase::Decimal) ? NumberForm::Decimal : NumberForm::Hex;
    // Every value may change: the view takes the rows anew once.
    const ResetScope reset(m_tree);
    m_tree.SetHexBase(wanted == NumberForm::Hex);
    for (const auto &peripheral : m_tree.TopRows()) {
        for (const auto &reg : peripheral->Children()) {
            for (const auto &row : reg->Children()) {
                // A row already in the base keeps its text, and an edit its mark.
                const bool decimal = row->Form() == NumberForm::Decimal;
                if (decimal != (wanted == NumberForm::Decimal))
                    m_tree.SetFilledValue(row.get(), row->Number(), wanted);
            }
        }
    }
}

void RegisterMap::ApplyExpandLevel(int level)
{
    const ResetScope reset(m_tree);
    for (const auto &peripheral : m_tree.TopRows()) {
        m_tree.SetExpanded(peripheral.get(), level != 0);
        for (const auto &reg : peripheral->Children())
            m_tree.SetExpanded(reg.get(), level >= 2);
    }
}

void RegisterMap::RealignCaptions(int column)
{
    for (const auto &peripheral : m_tree.TopRows())
        for (const auto &reg : peripheral->Children())
            m_tree.SetCaptionColumn(reg.get(), column);
}

void RegisterMap::NameColumnSettled()
{
    const int width = std::clamp(m_tree.NameColumnWidth(), kMinNameWidth, kMaxNameWidth);
    m_tree.SetNameColumnWidth(width);
    if (width != m_tree.LastWidth()) {
        RealignCaptions(RowText::RealignColumn(width, m_env.dotsPerInch));
        m_tree.SetLastWidth(width);
    }
}

// --- Snapshot files

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

// --- Transfers

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
        const RegisterWordPlan word = RegisterWordPlan::Of(*row, row->Source());
        if (word.blocked != RegisterWordPlan::Blocked::No)
            transfer.readRefusal = word.Refusal(*row, *row);
        else if (word.readFirst)
            for (uint32_t at = 0; at < transfer.wordBytes; at += 4)
                transfer.merges.push_back({transfer.wordOffset + at, uint32_t(word.rowsMask >> (8 * at))});
    } else if (write && peripheral) {
        // Bits of edited registers that are neither set by the user nor known.
        std::map<uint32_t, uint32_t> fromChip;
        for (const auto &reg : peripheral->Children()) {
            if (reg->Source().kind != ValueSource::Kind::Edited)
                continue;
            const RegisterWordPlan word = RegisterWordPlan::Of(*reg, reg->Source());
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
    transfer->Run(m_env.config, m_env.links, m_env.user);
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
    transfer->Run(m_env.config, m_env.links, m_env.user);
    Finish(*transfer);
}

std::optional<QString> RegisterMap::CapturePeripheral(LinkCycle &cycle, const QString &name) const
{
    const RegisterTransfer transfer = PlanCapture(name);
    if (!transfer.Capture(cycle))
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

// --- Editing

bool RegisterMap::EditValue(RegisterRow *row, const QString &typed)
{
    if (row)
        row = row->EditedRow();
    RegisterRow *reg = row ? row->Parent() : nullptr;
    if (!reg || !row->IsEditable())
        return false;
    const bool hex = NumberBase() == Stored(NumberBase::Hexadecimal);
    const QByteArray typedText = typed.toUtf8();
    const QByteArray name = RegisterWordPlan::EditedName(*row).toUtf8();
    const bool isField = row->RowKind() == RegisterRow::Kind::Field;
    // Nothing changes until the text is known to be a value that fits: a
    // refused edit leaves the row showing what it showed.
    std::optional<NumberInput::Number> number = NumberInput::Read(typed, NumberInput::RegisterValue(hex));
    std::optional<QString> shownText = typed;
    if (!number) {
        if (const SvdEnumValue *choice = ChoiceNamed(*row, typed)) {
            number = NumberInput::Number{choice->value, false};
            shownText = choice->name;
        }
    }
    if (!number) {
        if (isField && !row->Traits().choices.isEmpty()) {
            ShowFailure(MessageText::Format(RegisterWindowMessages::kNotANumberNorName, typedText.constData(),
                                            hex ? "hexadecimal" : "decimal", name.constData(),
                                            ChoiceNames(*row).constData()));
        } else {
            ShowFailure(MessageText::Format(RegisterWindowMessages::kNotANumber, typedText.constData(),
                                            hex ? "hexadecimal" : "decimal", name.constData()));
        }
        m_tree.Refresh(row);
        return false;
    }
    return EditNumber(row, *number, RowText::HasHexPrefix(typed) ? NumberForm::Hex : NumberForm::Decimal, shownText,
                      typed);
}

bool RegisterMap::EditChoice(RegisterRow *row, uint64_t value)
{
    if (row)
        row = row->EditedRow();
    if (!row || !row->Parent() || !row->IsEditable())
        return false;
    const bool hex = NumberBase() == Stored(NumberBase::Hexadecimal);
    const QString number = RowText::FieldNumber(value, row->Traits().width, hex);
    return EditNumber(row, NumberInput::Number{value, false}, hex ? NumberForm::Hex : NumberForm::Decimal, std::nullopt,
                      number);
}

bool RegisterMap::EditNumber(RegisterRow *row, const NumberInput::Number &number, NumberForm form,
                             const std::optional<QString> &shownText, const QString &typed)
{
    RegisterRow *reg = row->Parent();
    const QByteArray typedText = typed.toUtf8();
    const QByteArray name = RegisterWordPlan::EditedName(*row).toUtf8();
    const bool isField = row->RowKind() == RegisterRow::Kind::Field;
    // A narrow register holds only its own bits, a field only those of its
    // bits that lie in the register.
    const uint32_t width = UsableBits(*row);
    const uint64_t limit = FieldSpan{0, width}.Mask();
    if (number.tooWide || number.value > limit) {
        ShowFailure(
            MessageText::Format(RegisterWindowMessages::kOutOfRange, typedText.constData(), name.constData(), width));
        m_tree.Refresh(row);
        return false;
    }
    // The bits the user has set since the register was last filled; with a
    // link, an edit whose other bits can be neither known nor read is
    // refused now rather than written with bits nobody saw.
    ValueSource source = reg->Source();
    if (source.kind != ValueSource::Kind::Edited) {
        source.chipBelow = source.ChipKnown();
        source.editedBits = 0;
    }
    source.kind = ValueSource::Kind::Edited;
    source.stale = false;
    if (!isField)
        source.editedBits |= RegisterBits::Of(reg->Traits()).Mask();
    else if (width > 0)
        source.editedBits |= limit << row->Traits().low;
    if (const RegisterWordPlan plan = RegisterWordPlan::Of(*reg, source);
        plan.blocked != RegisterWordPlan::Blocked::No && !Offline()) {
        ShowFailure(plan.Refusal(*row, *reg));
        m_tree.Refresh(row);
        return false;
    }
    const uint64_t value = number.value;
    m_tree.SetEditedValue(row, value, form, shownText);

    uint64_t registerValue = value;
    if (isField) {
        const uint32_t low = row->Traits().low;
        registerValue = width == 0 ? reg->Number() : (reg->Number() & ~(limit << low)) | (value << low);
        m_tree.SetFilledValue(reg->Child(0), registerValue, NumberForm::Word);
        m_tree.AcceptValue(row);
    } else {
        PeripheralImage::FillFields(m_tree, reg, registerValue);
    }
    m_tree.SetRegisterValue(reg, registerValue, reg->LastWord());
    m_tree.SetSource(reg, source);
    return true;
}

bool RegisterMap::Offline() const
{
    return LoadSettings(m_env.config, SettingsPart::DataSourceOnly).dataSource == Stored(DataSource::Offline);
}

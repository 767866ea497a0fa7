// Register windows: the selected row, the context menus and in-place edits.
#include "regmap/RegisterWindow.h"

#include "link/MessageText.h"
#include "link/Settings.h"
#include "regmap/RegisterWindowMessages.h"
#include "regmap/PeripheralImage.h"
#include "regmap/RowText.h"

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
    const QString value = QLatin1String(RowText::kRightTitle);
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

namespace {

// The value of a typed text: a number in the window's base, or the name of
// one of the field's enumerated values.
std::optional<uint32_t> TypedValue(const RegisterRow &row, const QString &typed, bool hex)
{
    if (const std::optional<uint32_t> number = RowText::ReadTyped(typed, hex))
        return number;
    for (const SvdEnumValue &choice : row.Traits().choices)
        if (choice.name == typed.trimmed())
            return choice.value;
    return std::nullopt;
}

} // namespace

bool RegisterMap::EditValue(RegisterRow *row, const QString &typed)
{
    if (row)
        row = row->EditedRow();
    RegisterRow *reg = row ? row->Parent() : nullptr;
    if (!reg || !row->IsEditable())
        return false;
    const bool hex = NumberBase() == Stored(NumberBase::Hexadecimal);
    const QByteArray typedText = typed.toUtf8();
    const QByteArray name = EditedName(*row).toUtf8();
    // Nothing changes until the text is known to be a value that fits: a
    // refused edit leaves the row showing what it showed.
    const std::optional<uint32_t> typedValue = TypedValue(*row, typed, hex);
    if (!typedValue) {
        ShowFailure(MessageText::Format(RegisterWindowMessages::kNotANumber, typedText.constData(),
                                        hex ? "hexadecimal" : "decimal", name.constData()));
        m_tree.Refresh(row);
        return false;
    }
    const uint32_t value = *typedValue;
    const uint32_t old = reg->Number();
    const uint32_t registerBits = reg->Traits().bits;
    uint32_t word = value;

    // A narrow register holds only its own bits, a field its own.
    const uint32_t width = row->RowKind() == RegisterRow::Kind::Field ? row->Traits().width : registerBits;
    const uint32_t limit = row->RowKind() == RegisterRow::Kind::Field
                               ? (width == 32 ? 0xFFFFFFFFu : RowText::FieldMask(width))
                               : RowText::RegisterMask(registerBits);
    if (value > limit) {
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
    source.editedBits |= row->RowKind() == RegisterRow::Kind::Field
                             ? (width == 32 ? 0xFFFFFFFFu : limit << (row->Traits().low % 32))
                             : RowText::RegisterMask(registerBits);
    if (const WordPlan plan = PlanWord(*reg, source); plan.blocked != WordPlan::Blocked::No && !Offline()) {
        ShowFailure(WordRefusal(plan, *row, *reg));
        m_tree.Refresh(row);
        return false;
    }
    const bool typedHex = RowText::HasHexPrefix(typed);
    m_tree.SetEditedValue(row, value, typedHex ? NumberForm::Hex : NumberForm::Decimal, typed);

    if (row->RowKind() == RegisterRow::Kind::Field) {
        if (width != 32) {
            const uint32_t low = row->Traits().low % 32;
            word = ((value << low) | (old & ~(limit << low))) & RowText::RegisterMask(registerBits);
        }
        m_tree.SetFilledValue(reg->Child(0), word, NumberForm::Word);
        m_tree.AcceptValue(row);
    } else {
        PeripheralImage::FillFields(m_tree, reg, word);
    }
    m_tree.SetRegisterValue(reg, word, reg->LastWord());
    m_tree.SetSource(reg, source);
    return true;
}

bool RegisterMap::Offline() const
{
    return LoadSettings(m_env.config, SettingsPart::DataSourceOnly).dataSource == Stored(DataSource::Offline);
}

void RegisterWindow::ApplyEdit(RegisterRow *row, const QString &typed)
{
    if (row)
        row = row->EditedRow();
    RegisterRow *reg = row ? row->Parent() : nullptr;
    if (!reg)
        return;
    const RegisterTransfer::Shown before{reg->Number(), reg->LastWord(), reg->Source()};
    if (!EditValue(row, typed))
        return;
    if (RegisterWriteMode() == Stored(RegisterWriteMode::Immediate)) {
        SetSelection(reg, true);
        WriteRow(reg, true, before);
    }
}

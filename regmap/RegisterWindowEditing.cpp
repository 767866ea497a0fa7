// Register windows: the selected row, the context menus and in-place edits.
#include "regmap/RegisterWindow.h"

#include "link/MessageText.h"
#include "link/Settings.h"
#include "regmap/RegisterWindowMessages.h"
#include "regmap/PeripheralImage.h"
#include "regmap/RowText.h"

#include <QStringList>

#include <algorithm>

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
    const uint32_t registerBits = RowText::ValueBits(row.Parent()->Traits().bits);
    if (row.RowKind() != RegisterRow::Kind::Field)
        return registerBits;
    const RegisterRowTraits &traits = row.Traits();
    if (traits.low >= registerBits)
        return 0;
    return std::min(traits.width, registerBits - traits.low);
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
    const bool isField = row->RowKind() == RegisterRow::Kind::Field;
    // Nothing changes until the text is known to be a value that fits: a
    // refused edit leaves the row showing what it showed.
    std::optional<RowText::TypedNumber> number = RowText::ReadTypedNumber(typed, hex);
    std::optional<QString> shownText = typed;
    if (!number) {
        if (const SvdEnumValue *choice = ChoiceNamed(*row, typed)) {
            number = RowText::TypedNumber{choice->value, false};
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
    // A narrow register holds only its own bits, a field only those of its
    // bits that lie in the register.
    const uint32_t width = UsableBits(*row);
    const uint64_t limit = RowText::FieldMask(width);
    if (number->tooWide || number->value > limit) {
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
        source.editedBits |= RowText::RegisterMask(reg->Traits().bits);
    else if (width > 0)
        source.editedBits |= limit << row->Traits().low;
    if (const WordPlan plan = PlanWord(*reg, source); plan.blocked != WordPlan::Blocked::No && !Offline()) {
        ShowFailure(WordRefusal(plan, *row, *reg));
        m_tree.Refresh(row);
        return false;
    }
    const uint64_t value = number->value;
    const bool typedHex = RowText::HasHexPrefix(typed);
    m_tree.SetEditedValue(row, value, typedHex ? NumberForm::Hex : NumberForm::Decimal, shownText);

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

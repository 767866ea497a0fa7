// Register windows: the selected row, the context menus and in-place edits.
#include "regmap/RegisterWindow.h"

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
    const bool offline =
        LoadSettings(m_env.config, SettingsPart::DataSourceOnly).dataSource == Stored(DataSource::Offline);
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

bool RegisterMap::EditValue(RegisterRow *row, const QString &typed)
{
    RegisterRow *reg = row ? row->Parent() : nullptr;
    if (!reg || !row->IsEditable())
        return false;
    const uint32_t value = RowText::ReadAuto(typed);
    const NumberForm typedForm = RowText::HasHexPrefix(typed) ? NumberForm::Hex : NumberForm::Decimal;
    m_tree.SetEditedValue(row, value, typedForm, typed);
    const uint32_t old = reg->Number();
    const uint32_t registerBits = reg->Traits().bits;
    uint32_t word = value;

    // A narrow register holds only its own bits.
    if (row->RowKind() == RegisterRow::Kind::Value && value > RowText::RegisterMask(registerBits)) {
        m_env.user.messages.ShowFailure(QString::fromLatin1(RegisterWindowMessages::kOutOfRange));
        m_tree.RevertValue(row);
        return false;
    }

    if (row->RowKind() == RegisterRow::Kind::Field) {
        const uint32_t width = row->Traits().width;
        if (width != 32) {
            const uint32_t mask = RowText::FieldMask(width);
            const uint32_t low = row->Traits().low % 32;
            if (value > mask) {
                m_env.user.messages.ShowFailure(QString::fromLatin1(RegisterWindowMessages::kOutOfRange));
                m_tree.RevertValue(row);
                return false;
            }
            word = ((value << low) | (old & ~(mask << low))) & RowText::RegisterMask(registerBits);
        }
        m_tree.SetFilledValue(reg->Child(0), word, NumberForm::Word);
        m_tree.AcceptValue(row);
    } else {
        PeripheralImage::FillFields(m_tree, reg, word);
    }
    m_tree.SetRegisterValue(reg, word, reg->LastWord());
    return true;
}

void RegisterWindow::ApplyEdit(RegisterRow *row, const QString &typed)
{
    if (!EditValue(row, typed))
        return;
    if (RegisterWriteMode() == Stored(RegisterWriteMode::Immediate)) {
        SetSelection(row->Parent(), true);
        WriteSelection();
    }
}

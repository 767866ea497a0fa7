// Register windows: the selected row, the context menus and in-place edits.
#include "regmap/RegisterWindow.h"

#include "link/Settings.h"
#include "regmap/RegisterWindowMessages.h"
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

void RegisterWindow::ApplyEdit(RegisterRow *row, const QString &typed)
{
    RegisterRow *reg = row ? row->Parent() : nullptr;
    if (!reg || !row->IsEditable())
        return;
    m_tree.SetEditedValue(row, typed);
    const uint32_t old = RowText::CaptionValue(reg->Name());
    const QString prefix = RowText::CaptionPrefix(reg->Name());
    const uint32_t value = RowText::ReadAuto(typed);
    const uint32_t registerBits = reg->Traits().bits;
    uint32_t word = value;

    // A narrow register holds only its own bits.
    if (row->RowKind() == RegisterRow::Kind::Value && value > RowText::RegisterMask(registerBits)) {
        m_env.user.messages.ShowFailure(QString::fromLatin1(RegisterWindowMessages::kOutOfRange));
        m_tree.SetEditedValue(row, row->Baseline());
        return;
    }

    if (row->RowKind() == RegisterRow::Kind::Field) {
        const RowText::FieldBits bits = RowText::ReadFieldBits(row->Description());
        if (bits.width != 32) {
            const uint32_t mask = (1u << (bits.width % 32)) - 1u;
            const uint32_t low = bits.low % 32;
            if (value > mask) {
                m_env.user.messages.ShowFailure(QString::fromLatin1(RegisterWindowMessages::kOutOfRange));
                m_tree.SetEditedValue(row, row->Baseline());
                m_tree.SetName(reg, prefix + RowText::SizedWord(old, registerBits));
                return;
            }
            word = ((value << low) | (old & ~(mask << low))) & RowText::RegisterMask(registerBits);
        }
        m_tree.SetFilledValue(reg->Child(0), RowText::SizedWord(word, registerBits));
        m_tree.SetBaseline(row, typed);
    } else {
        for (std::size_t i = 1; i < reg->ChildCount(); ++i)
            m_tree.SetFilledValue(reg->Child(i), DecodeField(word, *reg->Child(i)));
    }
    m_tree.SetName(reg, prefix + RowText::SizedWord(word, registerBits));

    if (RegisterWriteMode() == Stored(RegisterWriteMode::Immediate)) {
        SetSelection(reg, true);
        WriteSelection();
    }
}

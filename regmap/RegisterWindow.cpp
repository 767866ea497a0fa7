#include "regmap/RegisterWindow.h"

#include "link/MessageText.h"
#include "link/Settings.h"
#include "regmap/RegisterWindowTable.h"
#include "regmap/RowText.h"
#include "regmap/SvdDeviceModel.h"
#include "xml/XmlDocument.h"

#include <algorithm>

namespace {

constexpr int kMinNameWidth = 160;
constexpr int kMaxNameWidth = 400;

} // namespace

RegisterWindow::RegisterWindow(const RegisterWindowEnv &env, RegisterWindowTable &table)
    : m_env(env)
    , m_table(table)
    , m_slot(table.NextWindowSlot())
{
    m_table.Enter(m_slot, this);
}

RegisterWindow::~RegisterWindow()
{
    m_table.Leave(m_slot, this);
}

QString RegisterWindow::Title() const
{
    return QString::asprintf("window_%d", m_slot);
}

QString RegisterWindow::ChipModel() const
{
    return m_env.user.panel.ChipModel();
}

int RegisterWindow::NumberBase() const
{
    const int entry = m_env.user.panel.NumberBaseEntry();
    return entry >= 0 ? entry : m_env.config.ReadInt(ConfigKey::kCommon, ConfigKey::kHexDec, 0);
}

int RegisterWindow::RegisterWriteMode() const
{
    const int entry = m_env.user.panel.RegisterWriteModeEntry();
    return entry >= 0 ? entry : m_env.config.ReadInt(ConfigKey::kCommon, ConfigKey::kRegWr, 0);
}

void RegisterWindow::ShowNote(const QString &text) const
{
    m_env.user.messages.ShowNote(MessageText::Cut(text));
}

void RegisterWindow::ShowFailure(const QString &text) const
{
    m_env.user.messages.ShowFailure(MessageText::Cut(text));
}

void RegisterWindow::Open()
{
    m_tree.SetHeaderTitles(QString(), QLatin1String(RowText::kRightTitle));
    m_tree.SetHeaderTitles(QString(), QString());
    RebuildGrid();
}

void RegisterWindow::RebuildGrid()
{
    m_tree.Clear();
    m_selectedId = 0;
    m_tree.SetHeaderTitles(QString(), QLatin1String(RowText::kRightTitle));
    const QString chip = ChipModel();
    const QString path = SvdDeviceModel::SvdFilePath(m_env.home, chip);
    if (m_slot < 0 || m_slot >= RegisterWindowTable::kSlots)
        return;
    // One parse serves every walk of the rebuild.
    XmlDocument document;
    document.LoadFile(path);
    for (const QString &name : SvdDeviceModel::ReadPeripheralNames(document)) {
        const int mask = m_env.config.ReadInt(chip, name, 0);
        if (mask & (1 << m_slot))
            AddRowsFrom(document, name);
    }
}

void RegisterWindow::AddPeripheralRows(const QString &name)
{
    XmlDocument document;
    document.LoadFile(SvdDeviceModel::SvdFilePath(m_env.home, ChipModel()));
    AddRowsFrom(document, name);
}

void RegisterWindow::AddRowsFrom(XmlDocument &document, const QString &name)
{
    const int expandLevel = m_env.config.ReadInt(ConfigKey::kCommon, ConfigKey::kExpandType, 0);
    const bool hex = NumberBase() == Stored(NumberBase::Hexadecimal);
    const int column = RowText::BuildColumn(m_tree.LastWidth());

    const SvdPeripheralResult result = SvdDeviceModel::ReadPeripheral(document, name);
    if (result.outcome == SvdPeripheralResult::Outcome::Failed) {
        ShowFailure(result.message);
        return;
    }
    if (result.outcome == SvdPeripheralResult::Outcome::Found) {
        const SvdPeripheral &svd = result.peripheral;
        auto peripheral = m_tree.MakeRow(svd.name, QString(), false);
        const QString zero = QLatin1String(RowText::kZeroWord);
        const QString fieldZero = hex ? QStringLiteral("0x0") : QStringLiteral("0");
        for (const SvdRegister &reg : svd.registers) {
            const QString regZero = reg.size == 32 ? zero : RowText::SizedWord(0, reg.size);
            QString description = RowText::RegisterDescription(reg.address, reg.addressOffset, reg.description);
            if (reg.readHasSideEffect)
                description += QString::fromUtf8(RowText::kReadClearsNote);
            auto regRow = m_tree.MakeRow(RowText::Caption(reg.name, regZero, column), description, false);
            regRow->m_traits.bits = reg.size;
            regRow->m_traits.readHasSideEffect = reg.readHasSideEffect;
            regRow->AddChild(m_tree.MakeRow(QLatin1String(RowText::kValueRowName),
                                            QString::fromUtf8(RowText::kValueRowDescription), !reg.readOnly, regZero));
            for (const SvdField &field : reg.fields) {
                RegisterRow *fieldRow = regRow->AddChild(m_tree.MakeRow(
                    field.name, RowText::FieldDescription(field.bitOffset, field.bitWidth, field.description),
                    !reg.readOnly && !field.readOnly, fieldZero + RowText::EnumSuffix(0, field.enumValues)));
                fieldRow->m_traits.choices = field.enumValues;
            }
            regRow->m_expanded = expandLevel >= 2;
            peripheral->AddChild(std::move(regRow));
        }
        peripheral->m_description = RowText::PeripheralDescription(svd.baseAddress, svd.span);
        peripheral->m_expanded = expandLevel != 0;
        m_tree.AppendTopRow(std::move(peripheral));
    }
    m_tree.SetHeaderTitles(name, QLatin1String(RowText::kRightTitle));
}

void RegisterWindow::RemovePeripheralRows(const QString &name)
{
    RegisterRow *row = m_tree.FindTopRow(name);
    if (!row)
        return;
    m_tree.SetExpanded(row, false);
    m_tree.SetDescription(row, QString());
    m_tree.Select(nullptr);
    if (RegisterRow *selected = SelectedRow()) {
        RegisterRow *top = selected;
        while (top->Parent())
            top = top->Parent();
        if (top == row)
            m_selectedId = 0;
    }
    m_tree.RemoveTopRow(row);
    if (m_tree.TopRowCount() > 0) {
        RegisterRow *first = m_tree.TopRow(0);
        m_tree.Select(first);
        m_tree.SetHeaderTitles(first->Name(), QLatin1String(RowText::kRightTitle));
    }
}

PeripheralSpan RegisterWindow::FindPeripheralSpan(const QString &name) const
{
    const RegisterRow *row = m_tree.FindTopRow(name);
    if (!row)
        return {};
    return {true, RowText::FirstNumber(row->Description()), RowText::SecondNumber(row->Description())};
}

QString RegisterWindow::DecodeField(uint32_t word, const RegisterRow &fieldRow) const
{
    const QString text = RowText::DecodeField(word, fieldRow.Description(), fieldRow.Value());
    if (fieldRow.Traits().choices.isEmpty())
        return text;
    return text + RowText::EnumSuffix(RowText::ReadAuto(text), fieldRow.Traits().choices);
}

void RegisterWindow::ApplyNumberBase()
{
    const int base = m_env.config.ReadInt(ConfigKey::kCommon, ConfigKey::kHexDec, 0);
    for (const auto &peripheral : m_tree.TopRows()) {
        for (const auto &reg : peripheral->Children()) {
            for (const auto &row : reg->Children()) {
                const QString &text = row->Value();
                const bool hexText = RowText::HasHexPrefix(text);
                const QList<SvdEnumValue> &choices = row->Traits().choices;
                if (base == Stored(NumberBase::Decimal) && hexText) {
                    const uint32_t value = RowText::ReadUnsigned(text, 16);
                    m_tree.SetFilledValue(row.get(),
                                          QString::asprintf("%u", value) + RowText::EnumSuffix(value, choices));
                } else if (base == Stored(NumberBase::Hexadecimal) && !hexText) {
                    const uint32_t value = RowText::ReadUnsigned(text, 10);
                    m_tree.SetFilledValue(row.get(),
                                          QString::asprintf("0x%X", value) + RowText::EnumSuffix(value, choices));
                }
            }
        }
    }
}

void RegisterWindow::ApplyExpandLevel(int level)
{
    for (const auto &peripheral : m_tree.TopRows()) {
        m_tree.SetExpanded(peripheral.get(), level != 0);
        for (const auto &reg : peripheral->Children())
            m_tree.SetExpanded(reg.get(), level >= 2);
    }
}

void RegisterWindow::RealignCaptions(int column)
{
    QString valueText;
    for (const auto &peripheral : m_tree.TopRows()) {
        for (const auto &reg : peripheral->Children()) {
            const QString &caption = reg->Name();
            const qsizetype at = RowText::CaptionValueIndex(caption);
            if (at >= 0)
                valueText = caption.mid(at, 10);
            const qsizetype space = caption.indexOf(u' ');
            const QString name = space < 0 ? caption : caption.left(space);
            m_tree.SetName(reg.get(), RowText::Caption(name, valueText, column));
        }
    }
}

void RegisterWindow::GridResized(int cx)
{
    if (cx <= m_tree.NameColumnWidth() + 110)
        m_tree.SetNameColumnWidth(cx / 2);
}

void RegisterWindow::NameColumnSettled()
{
    const int width = std::clamp(m_tree.NameColumnWidth(), kMinNameWidth, kMaxNameWidth);
    m_tree.SetNameColumnWidth(width);
    if (width != m_tree.LastWidth()) {
        RealignCaptions(RowText::RealignColumn(width, m_env.dotsPerInch));
        m_tree.SetLastWidth(width);
    }
}

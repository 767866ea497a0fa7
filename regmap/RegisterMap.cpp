#include "regmap/RegisterMap.h"

#include "link/MessageText.h"
#include "link/Settings.h"
#include "regmap/CorePeripherals.h"
#include "regmap/RowText.h"
#include "regmap/SvdDeviceModel.h"
#include "xml/XmlDocument.h"

#include <algorithm>

namespace {

constexpr int kMinNameWidth = 160;
constexpr int kMaxNameWidth = 400;

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

XmlDocument &RegisterMap::SvdDocument()
{
    return m_svd.Document(SvdDeviceModel::SvdFilePath(m_env.home, ChipModel()));
}

XmlDocument &RegisterMap::CoreSvdDocument()
{
    return m_coreSvd.Document(CorePeripherals::FilePath(m_env.home));
}

void RegisterMap::AddPeripheralRows(const QString &name)
{
    AddRowsFrom(SvdDocument(), name);
}

void RegisterMap::AddRowsFrom(XmlDocument &document, const QString &name)
{
    RegisterRowTree::BuildOptions options;
    options.expandLevel = m_env.config.ReadInt(ConfigKey::kCommon, ConfigKey::kExpandType, 0);
    options.hex = NumberBase() == Stored(NumberBase::Hexadecimal);
    options.captionColumn = RowText::BuildColumn(m_tree.LastWidth());
    options.chipModel = ChipModel();

    SvdPeripheralResult result = SvdDeviceModel::ReadPeripheral(document, name);
    // A core peripheral the chip's file lacks comes from the core's file
    // (missing in an installation without it: the chip's answer stands).
    if (result.outcome == SvdPeripheralResult::Outcome::NotPresent && &document != &CoreSvdDocument()) {
        SvdPeripheralResult core = SvdDeviceModel::ReadPeripheral(CoreSvdDocument(), name);
        if (core.outcome == SvdPeripheralResult::Outcome::Found)
            result = std::move(core);
    }
    if (result.outcome == SvdPeripheralResult::Outcome::Failed) {
        ShowFailure(result.message);
        return;
    }
    m_tree.SetHexBase(options.hex);
    if (result.outcome == SvdPeripheralResult::Outcome::Found) {
        RegisterRow *added = m_tree.AppendPeripheral(result.peripheral, options);
        if (m_showLastSnapshot)
            ShowLastSnapshot(added);
    }
    m_tree.SetHeaderTitles(name, QLatin1String(RowText::kRightTitle));
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

#include "regmap/RegisterWindow.h"

#include "link/Settings.h"
#include "regmap/CorePeripherals.h"
#include "regmap/RegisterWindowTable.h"
#include "regmap/RowText.h"
#include "regmap/SvdDeviceModel.h"

RegisterWindow::RegisterWindow(const RegisterWindowEnv &env, RegisterWindowTable &table)
    : RegisterMap(env)
    , m_table(table)
    , m_slot(table.NextWindowSlot())
{
    m_showLastSnapshot = true;
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

int RegisterWindow::RegisterWriteMode() const
{
    const int entry = m_env.user.panel.RegisterWriteModeEntry();
    return entry >= 0 ? entry : m_env.config.ReadInt(ConfigKey::kCommon, ConfigKey::kRegWr, 0);
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
    if (m_slot < 0 || m_slot >= RegisterWindowTable::kSlots)
        return;
    // One parse serves every walk of the rebuild.
    XmlDocument &document = SvdDocument();
    QStringList names = SvdDeviceModel::ReadPeripheralNames(document);
    names += CorePeripherals::Missing(names, SvdDeviceModel::ReadPeripheralNames(CoreSvdDocument()));
    for (const QString &name : names) {
        const int mask = m_env.config.ReadInt(chip, name, 0);
        if (mask & (1 << m_slot))
            AddRowsFrom(document, name);
    }
}

void RegisterWindow::RemovePeripheralRows(const QString &name)
{
    RegisterRow *row = m_tree.FindTopRow(name);
    if (!row)
        return;
    m_tree.SetExpanded(row, false);
    m_tree.Select(nullptr);
    if (RegisterRow *selected = SelectedRow()) {
        if (&selected->Peripheral() == row)
            m_selectedId = 0;
    }
    m_tree.RemoveTopRow(row);
    if (m_tree.TopRowCount() > 0) {
        RegisterRow *first = m_tree.TopRow(0);
        m_tree.Select(first);
        m_tree.SetHeaderTitles(first->Name(), QLatin1String(RowText::kRightTitle));
    }
}

void RegisterWindow::GridResized(int cx)
{
    if (cx <= m_tree.NameColumnWidth() + 110)
        m_tree.SetNameColumnWidth(cx / 2);
}

#pragma once

// The register rows of the peripherals a command names, for the commands
// that print, read, write, watch or compare them, as the register windows
// do on screen, without a window.

#include "regmap/RegisterMap.h"
#include "regmap/SvdDeviceModel.h"
#include "tools/cli/CliMessages.h"
#include "tools/cli/CliTarget.h"
#include "link/Tr.h"

#include <QStringList>

#include <functional>
#include <memory>

// The panel's selectors as the options set them; the rest from CliUser.
class OptionPanel : public PanelSelections
{
public:
    explicit OptionPanel(const PanelSelections &panel)
        : m_panel(panel)
    {}
    QString ChipModel() const override { return m_panel.ChipModel(); }
    int DataSourceEntry() const override { return m_panel.DataSourceEntry(); }
    QString ProbeText() const override { return m_panel.ProbeText(); }
    int NumberBaseEntry() const override { return numberBase; }
    int RegisterWriteModeEntry() const override { return writeMode; }

    int numberBase = -1;
    int writeMode = -1;

private:
    const PanelSelections &m_panel;
};

struct RowOptions
{
    int width = -1;
    int dpi = 96;
    int numberBase = -1;
    QString format = QStringLiteral("text"); // text, csv or json
    QStringList names;
};

// A CliTarget with one register map on it.
class CliRegisters
{
public:
    CliRegisters(const CliContext &context, const RowOptions &options)
        : m_target(context)
        , m_panel(m_target.user)
        , m_user{m_target.user, m_target.user, m_target.user, m_panel}
        , m_env{m_target.config, m_target.links, m_user, context.home, options.dpi}
    {
        m_panel.numberBase = options.numberBase;
        m_map = std::make_unique<RegisterMap>(m_env);
    }

    // False with a message when a name is no peripheral of the chip.
    bool Build(const QStringList &names)
    {
        for (const QString &name : names) {
            m_map->AddPeripheralRows(name);
            if (m_target.user.Failed())
                return false;
            if (!m_map->Tree().FindTopRow(name)) {
                m_target.user.ShowFailure(
                    Tr(CliMessages::kNoPeripheral)
                        .arg(name, SvdDeviceModel::SvdFilePath(m_env.home, m_target.user.ChipModel())));
                return false;
            }
        }
        return true;
    }

    void Realign(int width)
    {
        m_map->Tree().SetNameColumnWidth(width);
        m_map->NameColumnSettled();
    }

    void Print() const
    {
        std::function<void(const RegisterRow &, int)> print = [&](const RegisterRow &row, int depth) {
            QString description = row.Description();
            description.replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
            CliPrintLine(QString(2 * depth, u' ') + row.ShownName() + u'\t' + row.ShownValue() + u'\t' + description);
            for (const auto &child : row.Children())
                print(*child, depth + 1);
        };
        for (const auto &top : m_map->Tree().TopRows())
            print(*top, 0);
    }

    RegisterMap &Map() { return *m_map; }
    // The register of a peripheral the map shows, by its name.
    RegisterRow *FindRegister(const QString &peripheral, const QString &name)
    {
        if (RegisterRow *top = m_map->Tree().FindTopRow(peripheral))
            for (const auto &reg : top->Children())
                if (reg->BareName() == name)
                    return reg.get();
        return nullptr;
    }
    CliUser &User() { return m_target.user; }
    CliTarget &Target() { return m_target; }
    OptionPanel &Panel() { return m_panel; }

private:
    CliTarget m_target;
    OptionPanel m_panel;
    UserContext m_user;
    RegisterWindowEnv m_env;
    std::unique_ptr<RegisterMap> m_map;
};

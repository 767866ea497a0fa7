#pragma once

// A register window in memory (slot 0) for the commands that print, read,
// write, watch or compare its rows, as the register windows do on screen.

#include "regmap/RegisterWindow.h"
#include "regmap/RegisterWindowTable.h"
#include "regmap/SvdDeviceModel.h"
#include "tools/cli/CliMessages.h"
#include "tools/cli/CliTarget.h"

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

// A CliTarget with one register window on it.
class CliWindow
{
public:
    CliWindow(const CliContext &context, const RowOptions &options)
        : m_target(context)
        , m_panel(m_target.user)
        , m_user{m_target.user, m_target.user, m_target.user, m_panel}
        , m_env{m_target.config, m_target.links, m_user, context.home, options.dpi}
    {
        m_panel.numberBase = options.numberBase;
        m_table.SetNextWindowSlot(0);
        m_window = std::make_unique<RegisterWindow>(m_env, m_table);
    }

    // False with a message when a name is no peripheral of the chip.
    bool Build(const QStringList &names)
    {
        for (const QString &name : names) {
            m_window->AddPeripheralRows(name);
            if (m_target.user.Failed())
                return false;
            if (!m_window->Tree().FindTopRow(name)) {
                m_target.user.ShowFailure(
                    QString::fromLatin1(CliMessages::kNoPeripheral)
                        .arg(name, SvdDeviceModel::SvdFilePath(m_env.home, m_target.user.ChipModel())));
                return false;
            }
        }
        return true;
    }

    void Realign(int width)
    {
        m_window->Tree().SetNameColumnWidth(width);
        m_window->NameColumnSettled();
    }

    void Print() const
    {
        std::function<void(const RegisterRow &, int)> print = [&](const RegisterRow &row, int depth) {
            QString description = row.Description();
            description.replace(u'\n', QStringLiteral("\\n")).replace(u'\r', QStringLiteral("\\r"));
            CliPrintLine(QString(2 * depth, u' ') + row.Name() + u'\t' + row.Value() + u'\t' + description);
            for (const auto &child : row.Children())
                print(*child, depth + 1);
        };
        for (const auto &top : m_window->Tree().TopRows())
            print(*top, 0);
    }

    RegisterWindow &Window() { return *m_window; }
    CliUser &User() { return m_target.user; }
    CliTarget &Target() { return m_target; }
    OptionPanel &Panel() { return m_panel; }

private:
    CliTarget m_target;
    OptionPanel m_panel;
    UserContext m_user;
    RegisterWindowEnv m_env;
    RegisterWindowTable m_table;
    std::unique_ptr<RegisterWindow> m_window;
};

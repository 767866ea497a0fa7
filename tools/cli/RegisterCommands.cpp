// Commands that build a register window in memory (slot 0) and print or
// change its rows, as the register windows do on screen.
#include "regmap/RegisterWindow.h"
#include "regmap/RegisterWindowTable.h"
#include "regmap/RowText.h"
#include "regmap/SvdDeviceModel.h"
#include "tools/cli/CliTarget.h"

#include <QFile>

#include <functional>
#include <memory>

namespace {

// The panel's selectors as the options set them; the rest from CliUser.
class OptionPanel : public PanelSelections
{
public:
    explicit OptionPanel(const PanelSelections &panel) : m_panel(panel) {}
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
    QStringList names;
};

bool ParseNumber(const QString &text, int &into)
{
    bool ok = false;
    into = text.toInt(&ok);
    return ok && into > 0;
}

bool ParseOptions(const QStringList &args, RowOptions &options)
{
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (arg == u"--width" || arg == u"--dpi" || arg == u"--base") {
            if (i + 1 >= args.size())
                return false;
            const QString &value = args[++i];
            if (arg == u"--width" && !ParseNumber(value, options.width))
                return false;
            if (arg == u"--dpi" && !ParseNumber(value, options.dpi))
                return false;
            if (arg == u"--base") {
                if (value != u"dec" && value != u"hex")
                    return false;
                options.numberBase = value == u"hex" ? 1 : 0;
            }
        } else {
            options.names << arg;
        }
    }
    return !options.names.isEmpty();
}

// A CliTarget with one register window on it.
class CliWindow
{
public:
    CliWindow(const CliContext &context, const RowOptions &options)
        : m_target(context),
          m_panel(m_target.user),
          m_user{m_target.user, m_target.user, m_target.user, m_panel},
          m_env{m_target.config, m_target.links, m_user, context.home, options.dpi}
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
                m_target.user.ShowMessage(QStringLiteral("no peripheral %1 in %2\n")
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
    OptionPanel &Panel() { return m_panel; }

private:
    CliTarget m_target;
    OptionPanel m_panel;
    UserContext m_user;
    RegisterWindowEnv m_env;
    RegisterWindowTable m_table;
    std::unique_ptr<RegisterWindow> m_window;
};

int Rows(const CliContext &context)
{
    RowOptions options;
    if (!ParseOptions(context.args, options))
        return CliUsageError;
    CliWindow window(context, options);
    if (!window.Build(options.names))
        return CliFailure;
    if (options.width > 0)
        window.Realign(options.width);
    window.Print();
    return window.User().ExitStatus();
}

int PeripheralRead(const CliContext &context)
{
    RowOptions options;
    if (!ParseOptions(context.args, options) || options.width > 0)
        return CliUsageError;
    CliWindow window(context, options);
    if (!window.Build(options.names))
        return CliFailure;
    for (const auto &top : window.Window().Tree().TopRows()) {
        window.Window().SetSelection(top.get(), false);
        window.Window().ReadSelection();
        if (window.User().Failed())
            return CliFailure;
    }
    window.Print();
    return window.User().ExitStatus();
}

RegisterRow *FindRegister(RegisterRow &peripheral, const QString &name)
{
    for (const auto &reg : peripheral.Children()) {
        const QString prefix = RowText::CaptionPrefix(reg->Name());
        if (prefix.trimmed() == name || prefix.section(u' ', 0, 0) == name)
            return reg.get();
    }
    return nullptr;
}

int RegisterWrite(const CliContext &context)
{
    if (context.args.size() != 3)
        return CliUsageError;
    RowOptions options;
    options.names = {context.args[0]};
    CliWindow window(context, options);
    if (!window.Build(options.names))
        return CliFailure;
    RegisterWindow &regs = window.Window();
    RegisterRow *peripheral = regs.Tree().FindTopRow(context.args[0]);
    RegisterRow *reg = FindRegister(*peripheral, context.args[1]);
    if (!reg) {
        window.User().ShowMessage(QStringLiteral("no register %1 in %2\n").arg(context.args[1], context.args[0]));
        return CliFailure;
    }
    const QString snapshot = regs.DefaultSnapshotPath(context.args[0]);
    if (QFile::exists(snapshot))
        regs.LoadSnapshot(context.args[0], snapshot);
    // "立即写入": the edit goes to the chip at once.
    window.Panel().writeMode = 0;
    regs.ApplyEdit(reg->Child(0), context.args[2]);
    return window.User().ExitStatus();
}

const CliCommandRegistration kRegistration{
    {"rows", "[--width W] [--dpi D] [--base dec|hex] NAME...",
     "print the register window rows of these peripherals", Rows},
    {"peripheral-read", "[--base dec|hex] NAME...",
     "read these peripherals into their snapshot files and print their rows", PeripheralRead},
    {"register-write", "NAME REGISTER VALUE", "set a register's value and write it to the chip", RegisterWrite},
};

} // namespace

// Commands over the IP check: the IP list of a chip model and analyzer runs.
#include "tools/cli/CliCommand.h"
#include "tools/cli/CliTarget.h"

#include "ipcheck/IpCheckCycle.h"
#include "ipcheck/IpCheckOutput.h"
#include "ipcheck/IpListBuilder.h"
#include "link/ConfigFile.h"
#include "link/Settings.h"

#include <QtGlobal>
#include <QDir>

#include <atomic>
#include <cstdio>
#include <optional>

namespace {

// The options of the IP commands ("--name VALUE" or "--name=VALUE"); the
// other arguments are kept in order. Nothing when an option is unknown or
// lacks its value.
struct IpOptions
{
    std::optional<QString> analyzer;
    std::optional<QString> port;
    std::optional<QString> speed;
    QStringList rest;
};

std::optional<IpOptions> ParseOptions(const QStringList &args, bool allowRunOptions)
{
    IpOptions options;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        if (!arg.startsWith(QStringLiteral("--"))) {
            options.rest << arg;
            continue;
        }
        const qsizetype equals = arg.indexOf(u'=');
        const QString name = equals < 0 ? arg : arg.left(equals);
        std::optional<QString> *slot = nullptr;
        if (name == u"--analyzer")
            slot = &options.analyzer;
        if (allowRunOptions && name == u"--port")
            slot = &options.port;
        if (allowRunOptions && name == u"--speed")
            slot = &options.speed;
        if (slot == nullptr)
            return std::nullopt;
        if (equals >= 0) {
            *slot = arg.mid(equals + 1);
        } else {
            if (i + 1 >= args.size())
                return std::nullopt;
            *slot = args[++i];
        }
    }
    return options;
}

QString AnalyzerPath(const IpOptions &options, const ConfigFile &config)
{
    if (options.analyzer)
        return *options.analyzer;
    return config.ReadText(ConfigKey::kCommon, ConfigKey::kCheckIpPath, QString(), ConfigKey::kPathSize);
}

int IpList(const CliContext &context)
{
    const std::optional<IpOptions> options = ParseOptions(context.args, false);
    if (!options || !options->rest.isEmpty())
        return CliUsageError;
    const ConfigFile config(QDir(context.home).filePath("Corvane.ini"));
    const QString chip = CliTarget::ChipModelFor(context, config);
    QString out;
    for (const IpListRow &row : BuildIpList(chip, AnalyzerPath(*options, config), context.home))
        out += (row.enabled ? QStringLiteral("+ ") : QStringLiteral("- ")) + row.name + u'\n';
    CliWrite(out);
    return CliSuccess;
}

// Every row the output list would receive, one per line as it comes.
class PrintedOutput : public IpCheckOutput
{
public:
    void SetProgressText(const QString &) override {}
    void ReleaseRow(int, const QString &, bool) override {}
    void AppendOutputLines(const QStringList &rows) override
    {
        QString text;
        for (const QString &row : rows)
            text += row + u'\n';
        CliWrite(text);
        std::fflush(stdout);
    }
};

int IpCheck(const CliContext &context)
{
    const std::optional<IpOptions> options = ParseOptions(context.args, true);
    if (!options || options->rest.isEmpty())
        return CliUsageError;
    const ConfigFile config(QDir(context.home).filePath("Corvane.ini"));

    IpRunRequest request;
    request.runRequest = -1;
    for (const QString &name : options->rest)
        request.rows.push_back(IpRunRow{name, true, true});
    request.pathField = AnalyzerPath(*options, config);
    request.chipModel = CliTarget::ChipModelFor(context, config);
    // As the control panel shows them: the configured port, and the speed
    // entry at the configured index.
    request.uartPort = options->port.value_or(
        config.ReadText(ConfigKey::kCommon, ConfigKey::kUartPort, QString(), ConfigKey::kPanelPortSize));
    request.uartSpeed = options->speed.value_or(config.ReadText(
        ConfigKey::kUartBaundSection,
        QString::asprintf(ConfigKey::kBaund, config.ReadInt(ConfigKey::kCommon, ConfigKey::kUartBaund, 0)), QString(),
        ConfigKey::kListTextSize));

    PrintedOutput output;
    const std::atomic<bool> stop{false};
    RunIpCheckCycle(request, QDir(context.home).absolutePath(), output, stop);
    return CliSuccess;
}

const CliCommandRegistration kIpCommands{
    {"ip-list", "[--analyzer PATH]",
     QT_TRANSLATE_NOOP(
         "Corvane",
         "list the IP blocks of the chip's analyzer files: \"+ NAME\" for a known block, \"- NAME\" otherwise"),
     IpList},
    {"ip-check", "[--analyzer PATH] [--port P] [--speed S] IP...",
     QT_TRANSLATE_NOOP("Corvane", "run the analyzer for each IP block and print every output row on its own line"),
     IpCheck},
};

} // namespace

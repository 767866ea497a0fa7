// corvane-cli [--home DIR] [--chip NAME] [--language en|zh] COMMAND [ARGS...]
#include "link/Language.h"
#include "tools/cli/CliCommand.h"
#include "tools/cli/CliMessages.h"
#include "link/Tr.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdio>

namespace {

void PrintUsage(std::FILE *out)
{
    QString text = Tr(CliMessages::kUsageHead);
    std::vector<CliCommand> commands = CliCommandTable::Commands();
    std::sort(commands.begin(), commands.end(),
              [](const CliCommand &a, const CliCommand &b) { return qstrcmp(a.name, b.name) < 0; });
    for (const CliCommand &command : commands)
        text += QStringLiteral("  %1  %2\n")
                    .arg(QStringLiteral("%1 %2").arg(QLatin1StringView(command.name), QString::fromUtf8(command.usage)),
                         -30)
                    .arg(Tr(command.help));
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), out);
}

// The global options end at the command's name; what follows is the command's.
QStringList GlobalOptions(const QStringList &arguments)
{
    qsizetype i = 0;
    while (i < arguments.size() && arguments[i].startsWith(u'-'))
        i += arguments[i] == u"--home" || arguments[i] == u"--chip" || arguments[i] == u"--language" ? 2 : 1;
    return arguments.mid(0, i);
}

int UsageError(const QString &problem)
{
    CliWriteError(Tr(CliMessages::kProblem).arg(problem));
    PrintUsage(stderr);
    return CliUsageError;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    // Messages and help follow the locale or --language; what commands
    // print as their output never does.
    QString badLanguage;
    const std::optional<Language> asked = UiLanguage::FromArguments(GlobalOptions(arguments), &badLanguage);
    UiLanguage::Install(app, UiLanguage::Choose(asked, std::nullopt, QLocale::system()));

    CliContext context;
    context.home = QCoreApplication::applicationDirPath();
    qsizetype i = 0;
    for (; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        if (arg == u"--help" || arg == u"-h") {
            PrintUsage(stdout);
            return CliSuccess;
        }
        if (arg == u"--language" || arg.startsWith(u"--language=")) {
            if (arg == u"--language" && ++i >= arguments.size())
                return UsageError(Tr(CliMessages::kNeedsValue).arg(arg));
            if (!badLanguage.isEmpty())
                return UsageError(Tr(CliMessages::kUnknownLanguage).arg(badLanguage));
            continue;
        }
        if (arg == u"--home" || arg == u"--chip") {
            if (i + 1 >= arguments.size())
                return UsageError(Tr(CliMessages::kNeedsValue).arg(arg));
            (arg == u"--home" ? context.home : context.chip) = arguments[++i];
            continue;
        }
        if (arg.startsWith(u'-'))
            return UsageError(Tr(CliMessages::kUnknownOption).arg(arg));
        break;
    }
    if (i >= arguments.size())
        return UsageError(Tr(CliMessages::kNoCommand));

    const CliCommand *command = CliCommandTable::Find(arguments[i]);
    if (command == nullptr)
        return UsageError(Tr(CliMessages::kUnknownCommand).arg(arguments[i]));
    context.args = arguments.mid(i + 1);
    const int status = command->run(context);
    std::fflush(stdout);
    if (status == CliUsageError)
        CliWriteError(
            Tr(CliMessages::kCommandUsage).arg(QLatin1StringView(command->name), QString::fromUtf8(command->usage)));
    return status == CliTrouble ? CliUsageError : status;
}

#include "tools/cli/CliCommand.h"

#include <cstdio>

std::vector<CliCommand> &CliCommandTable::Commands()
{
    static std::vector<CliCommand> commands;
    return commands;
}

const CliCommand *CliCommandTable::Find(const QString &name)
{
    for (const CliCommand &command : Commands())
        if (name == QLatin1StringView(command.name))
            return &command;
    return nullptr;
}

CliCommandRegistration::CliCommandRegistration(std::initializer_list<CliCommand> commands)
{
    for (const CliCommand &command : commands)
        CliCommandTable::Commands().push_back(command);
}

void CliWrite(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
}

void CliWriteError(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stderr);
}

#pragma once

#include <QString>
#include <QStringList>

#include <vector>

// What a command gets: the global options and its own arguments.
struct CliContext
{
    QString home; // --home DIR, else the executable's directory
    QString chip; // --chip NAME, empty when not given
    QStringList args;
};

// Exit statuses shared by all commands.
enum CliExit : int {
    CliSuccess = 0,
    CliFailure = 1,
    CliUsageError = 2, // main prints the command's usage line
    // Status 2 without the usage line: a command that compares (as diff(1))
    // says 1 for "they differ", so its errors take 2.
    CliTrouble = 0x102,
};

struct CliCommand
{
    const char *name;
    const char *usage; // arguments after the name, e.g. "FILE NAME"
    const char *help;  // one line for --help
    int (*run)(const CliContext &context);
};

// The table main() dispatches through. Each command file adds its commands
// with a static CliCommandRegistration, so adding one touches no other file.
class CliCommandTable
{
public:
    static std::vector<CliCommand> &Commands();
    static const CliCommand *Find(const QString &name);
};

struct CliCommandRegistration
{
    CliCommandRegistration(std::initializer_list<CliCommand> commands);
};

// Output in UTF-8, exactly as given (no line break added).
void CliWrite(const QString &text);
void CliWriteError(const QString &text);
// One line on standard output.
inline void CliPrintLine(const QString &line)
{
    CliWrite(line + u'\n');
}

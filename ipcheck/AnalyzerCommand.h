#pragma once

#include <QString>
#include <QStringList>

// One run of the analyzer: the interpreter beside the executable, the script
// relative to the current directory, one argument per field. Nothing is
// quoted and no shell is involved, so a field with blanks or shell
// characters reaches the analyzer as one argument. The text is the command
// line as shown in messages, with its two double blanks.
struct AnalyzerCommand
{
    QString program;
    QStringList arguments;
    QString text;
};

AnalyzerCommand MakeAnalyzerCommand(const QString &exeDir, const QString &chipModel, const QString &ipName,
                                    const QString &uartPort, const QString &uartSpeed);

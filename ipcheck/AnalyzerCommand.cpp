#include "ipcheck/AnalyzerCommand.h"

AnalyzerCommand MakeAnalyzerCommand(const QString &exeDir, const QString &chipModel, const QString &ipName,
                                    const QString &uartPort, const QString &uartSpeed)
{
    AnalyzerCommand command;
    command.program = exeDir + QStringLiteral("/python/python");
    command.arguments = QStringList{QStringLiteral("./reg_analyzer.py"), chipModel, ipName,
                                    QStringLiteral("--port=") + uartPort, QStringLiteral("--baudrate=") + uartSpeed};
    command.text =
        QStringLiteral("%1  %2  %3 %4 %5 %6")
            .arg(command.program, command.arguments[0], chipModel, ipName, command.arguments[3], command.arguments[4]);
    return command;
}

#pragma once

#include "jlink/StandInHandle.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// One run of corvane-cli as a child process.
struct CliRun
{
    int status = -1;
    QByteArray out;
    QByteArray err;

    static CliRun Run(const QStringList &arguments,
                      const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(BinDir() + "/corvane-cli", arguments);
        CliRun run;
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            return run;
        }
        run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }
};

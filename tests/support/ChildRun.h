#pragma once

// One run of a program as a child process, to its end: its exit code and
// both output streams.

#include "support/BuildPaths.h"
#include "support/QtPrinters.h"
#include "support/SourceLanguage.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct ChildRun
{
    // Variables added to (or, with an empty value, removed from) the test's
    // own environment, in the C locale unless they set one.
    using Environment = QList<QPair<QString, QString>>;

    bool finished = false; // false: it did not start, or not end within the limit
    int status = -1;       // the exit code; -1 unless it finished normally
    QByteArray out;
    QByteArray err; // when it did not finish: why

    static ChildRun Of(const QString &program, const QStringList &arguments, const Environment &environment = {},
                       int limitMs = 60000)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        InSourceLanguage(env);
        for (const auto &[name, value] : environment) {
            if (value.isEmpty())
                env.remove(name);
            else
                env.insert(name, value);
        }
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(program, arguments);
        ChildRun run;
        if (!process.waitForFinished(limitMs)) {
            process.kill();
            process.waitForFinished();
            run.err = (program + QStringLiteral(" did not finish: ") + process.errorString()).toLocal8Bit();
            return run;
        }
        run.finished = true;
        run.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }
};

// corvane-cli from the build's bin/ folder.
inline ChildRun RunCli(const QStringList &arguments, const ChildRun::Environment &environment = {}, int limitMs = 60000)
{
    return ChildRun::Of(CliProgramPath(), arguments, environment, limitMs);
}

#pragma once

#include "jlink/StandInHandle.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// One run of jlink_peer: a separate process that binds the probe library
// through the real search order.
struct JLinkPeerRun
{
    int exitCode = -1;
    QString out;
    QString err;

    // `environment` adds to (or, with an empty value, removes from) the
    // test's own environment.
    static JLinkPeerRun Run(const QStringList &arguments, const QList<QPair<QString, QString>> &environment = {})
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const auto &[name, value] : environment) {
            if (value.isEmpty())
                env.remove(name);
            else
                env.insert(name, value);
        }
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(BinDir() + "/jlink_peer", arguments);
        JLinkPeerRun run;
        if (!process.waitForFinished(60000)) {
            process.kill();
            process.waitForFinished();
            run.err = "jlink_peer did not finish: " + process.errorString();
            return run;
        }
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = QString::fromLocal8Bit(process.readAllStandardOutput());
        run.err = QString::fromLocal8Bit(process.readAllStandardError());
        return run;
    }
};

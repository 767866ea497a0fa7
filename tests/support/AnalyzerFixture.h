#pragma once

#include "support/QtPrinters.h"
#include "support/SyntheticSvd.h"

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QTemporaryDir>

// An installation folder in a temporary directory: the "executable's
// folder" of the IP check, with an analyzer folder inside it.
class AnalyzerFixture
{
public:
    QString ExeDir() const { return m_dir.path(); }
    QString Path(const QString &relative) const { return m_dir.filePath(relative); }

    void WriteFile(const QString &relative, const QByteArray &content, bool executable = false) const
    {
        const QString path = Path(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(content);
        file.close();
        if (executable)
            file.setPermissions(file.permissions() | QFileDevice::ExeOwner | QFileDevice::ExeGroup);
    }

private:
    QTemporaryDir m_dir;
};

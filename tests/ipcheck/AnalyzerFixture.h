#pragma once

#include <QDir>
#include <QFile>
#include <QFileDevice>
#include <QStringList>
#include <QTemporaryDir>

#include <ostream>

// Readable QString values in test failures.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

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

    // An SVD file listing the peripherals by name; a null name writes a
    // peripheral without a name element.
    static QByteArray Svd(const QStringList &names)
    {
        QByteArray text = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<device>\n  <name>VX21A</name>\n"
                          "  <peripherals>\n";
        for (const QString &name : names) {
            text += "    <peripheral>\n";
            if (!name.isNull())
                text += "      <name>" + name.toUtf8() + "</name>\n";
            text += "      <baseAddress>0x40000000</baseAddress>\n    </peripheral>\n";
        }
        return text + "  </peripherals>\n</device>\n";
    }

private:
    QTemporaryDir m_dir;
};

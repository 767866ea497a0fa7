#pragma once

#include "regmap/SvdDeviceModel.h"
#include "xml/XmlDocument.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

// A chip's SVD file as one version of it: parsed once, its peripheral names
// listed once and each peripheral walked (registers, fields, enumerated
// values, derived and array elements expanded) the first time it is asked
// for, then kept. Adding, removing and rebuilding a window's rows reads them
// from here. A file that changed on disk (time or size), or another path, is
// a new version: everything kept is dropped and read anew.
class SvdDocumentCache
{
public:
    // Makes the cache hold `path` as it is on disk now; one look at the file.
    void Follow(const QString &path);

    // The version followed last (Follow first).
    XmlDocument &Document();
    const QStringList &PeripheralNames();
    const SvdPeripheralResult &Peripheral(const QString &name);

    // Follows `path`, then its document.
    XmlDocument &Document(const QString &path)
    {
        Follow(path);
        return Document();
    }

    // How often a file was parsed and a peripheral walked since the cache was
    // made: what tests count to see that nothing is read twice.
    int Parses() const { return m_parses; }
    int Walks() const { return m_walks; }

private:
    QString m_path;
    QDateTime m_modified;
    qint64 m_size = -1;
    std::unique_ptr<XmlDocument> m_document;
    std::optional<QStringList> m_names;
    QHash<QString, SvdPeripheralResult> m_peripherals;
    int m_parses = 0;
    int m_walks = 0;
};

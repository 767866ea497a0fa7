#pragma once

#include "xml/XmlDocument.h"

#include <QDateTime>
#include <QString>

#include <memory>

// The parsed SVD file of a window, kept while the file stays the same, so
// adding several peripherals one after another parses it once. A file that
// changed on disk (time or size) or another path is parsed anew.
class SvdDocumentCache
{
public:
    XmlDocument &Document(const QString &path);

private:
    QString m_path;
    QDateTime m_modified;
    qint64 m_size = -1;
    std::unique_ptr<XmlDocument> m_document;
};

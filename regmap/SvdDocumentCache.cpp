#include "regmap/SvdDocumentCache.h"

#include <QFileInfo>

XmlDocument &SvdDocumentCache::Document(const QString &path)
{
    const QFileInfo info(path);
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    const qint64 size = info.exists() ? info.size() : -1;
    if (!m_document || path != m_path || modified != m_modified || size != m_size) {
        m_document = std::make_unique<XmlDocument>();
        m_document->LoadFile(path);
        m_path = path;
        m_modified = modified;
        m_size = size;
    }
    return *m_document;
}

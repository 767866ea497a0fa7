#include "regmap/SvdDocumentCache.h"

#include <QFileInfo>

void SvdDocumentCache::Follow(const QString &path)
{
    const QFileInfo info(path);
    const bool exists = info.exists();
    const QDateTime modified = exists ? info.lastModified() : QDateTime();
    const qint64 size = exists ? info.size() : -1;
    if (m_document && path == m_path && modified == m_modified && size == m_size)
        return;
    m_document = std::make_unique<XmlDocument>();
    m_document->LoadFile(path);
    ++m_parses;
    m_names.reset();
    m_peripherals.clear();
    m_path = path;
    m_modified = modified;
    m_size = size;
}

XmlDocument &SvdDocumentCache::Document()
{
    if (!m_document)
        m_document = std::make_unique<XmlDocument>();
    return *m_document;
}

const QStringList &SvdDocumentCache::PeripheralNames()
{
    if (!m_names)
        m_names = SvdDeviceModel::ReadPeripheralNames(Document());
    return *m_names;
}

const SvdPeripheralResult &SvdDocumentCache::Peripheral(const QString &name)
{
    auto found = m_peripherals.constFind(name);
    if (found == m_peripherals.constEnd()) {
        ++m_walks;
        found = m_peripherals.insert(name, SvdDeviceModel::ReadPeripheral(Document(), name));
    }
    return *found;
}

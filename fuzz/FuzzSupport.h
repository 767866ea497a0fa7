#pragma once

// What several fuzz targets share: a scratch folder for the inputs that are
// files, the abort on a broken property, and a reader of the input's parts.

#include <QByteArray>
#include <QByteArrayView>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace Fuzz {

// A broken property is a finding, like a crash.
inline void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// A folder of the process's own for the files a target writes, in memory
// (/dev/shm) where there is one: a run writes them many thousand times.
inline QString ScratchFolder()
{
    static QTemporaryDir folder(QDir(QStringLiteral("/dev/shm")).exists()
                                    ? QStringLiteral("/dev/shm/corvane-fuzz-XXXXXX")
                                    : QDir::tempPath() + QStringLiteral("/corvane-fuzz-XXXXXX"));
    return folder.path();
}

inline QString ScratchPath(const QString &name)
{
    return ScratchFolder() + u'/' + name;
}

inline void PutFile(const QString &path, QByteArrayView bytes)
{
    QFile file(path);
    Check(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    Check(file.write(bytes.data(), bytes.size()) == bytes.size());
}

inline QByteArray FileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Takes the input apart front to back; past its end every read gives zero
// or nothing.
class InputReader
{
public:
    InputReader(const std::uint8_t *data, std::size_t size)
        : m_bytes(reinterpret_cast<const char *>(data), qsizetype(size))
    {}

    std::uint8_t Byte() { return m_pos < m_bytes.size() ? std::uint8_t(m_bytes[m_pos++]) : 0; }
    // A part with a one-byte length before it.
    QByteArrayView Part()
    {
        const qsizetype length = std::min<qsizetype>(Byte(), Left());
        const QByteArrayView part = m_bytes.sliced(m_pos, length);
        m_pos += length;
        return part;
    }
    QByteArrayView Rest()
    {
        const QByteArrayView rest = m_bytes.sliced(m_pos);
        m_pos = m_bytes.size();
        return rest;
    }
    qsizetype Left() const { return m_bytes.size() - m_pos; }

private:
    QByteArrayView m_bytes;
    qsizetype m_pos = 0;
};

} // namespace Fuzz

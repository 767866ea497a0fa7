#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

// The values of an INI file as a reader sees them: the first section of a
// name, the first key of a name in it, names folded so that letter case does
// not count.
class IniValues
{
public:
    static QString FoldedName(const QString &name);

    // Keeps the value unless the section already has the key.
    void Add(const QString &foldedSection, const QString &foldedKey, const QString &value);
    // An empty section, so that a later section of the same name is passed over.
    void AddSection(const QString &foldedSection);
    bool HasSection(const QString &foldedSection) const;

    std::optional<QString> Find(const QString &section, const QString &key) const;

private:
    QHash<QString, QHash<QString, QString>> m_sections;
};

// The parsed files of this process, one per path, checked against the file's
// version (device, inode, size, modification and change times, to the
// nanosecond) at each read: a file that did not change since it was parsed
// is neither opened nor parsed again. A file changed within the timestamps'
// granularity of its parse keeps the same version, so until its change time
// lies well before a read the file is read again at every read (its bytes
// compared, parsed only when they differ). Safe from any thread.
namespace IniFileCache {

using Parse = std::function<IniValues(const QByteArray &bytes)>;

// The values of the file as it is now; nullptr when it is missing or cannot
// be read (not a regular file, too large, refused).
std::shared_ptr<const IniValues> Current(const QString &path, const Parse &parse);

// What this process just wrote to the file: the next read need not parse it.
void Remember(const QString &path, const QByteArray &bytes, IniValues values);

// How often files were read and parsed, for tests and benches.
struct Counters
{
    uint64_t fileReads = 0;
    uint64_t parses = 0;
};
Counters Count();

} // namespace IniFileCache

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

// What one thread derived from a version of a file's values (settings, an
// entry of the halt record), kept while the file stays as it is: a link
// cycle asks at every refresh of a watch, the file seldom changes. `key`
// names what was derived (the path, and what else it depends on).
template<typename Value> class DerivedPerVersion
{
public:
    template<typename Derive>
    Value Get(const QString &key, const std::shared_ptr<const IniValues> &values, const Derive &derive)
    {
        if (!values)
            return derive();
        if (m_key != key || m_values.lock() != values) {
            m_key = key;
            m_values = values;
            m_value.reset();
        }
        if (!m_value)
            m_value = derive();
        return *m_value;
    }

private:
    QString m_key;
    std::weak_ptr<const IniValues> m_values;
    std::optional<Value> m_value;
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

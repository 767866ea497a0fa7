#include "link/IniValues.h"

#include "link/DiskFile.h"

#include <QFile>
#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <array>
#include <atomic>
#include <ctime>
#include <utility>

#include <sys/stat.h>

QString IniValues::FoldedName(const QString &name)
{
    // Names are nearly always ASCII, whose folding is A-Z to a-z; looked up
    // at every value read, so without a detour through UCS-4.
    if (std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c.unicode() < 0x80; })) {
        QString folded = name;
        for (QChar &c : folded)
            if (c >= u'A' && c <= u'Z')
                c = QChar(c.unicode() + (u'a' - u'A'));
        return folded;
    }
    // Per code point, as the case-insensitive comparison of names folds.
    QString folded;
    folded.reserve(name.size());
    for (const char32_t c : name.toUcs4()) {
        const char32_t f = QChar::toCaseFolded(c);
        if (QChar::requiresSurrogates(f)) {
            folded += QChar(QChar::highSurrogate(f));
            folded += QChar(QChar::lowSurrogate(f));
        } else {
            folded += QChar(char16_t(f));
        }
    }
    return folded;
}

void IniValues::Add(const QString &foldedSection, const QString &foldedKey, const QString &value)
{
    QHash<QString, QString> &keys = m_sections[foldedSection];
    if (!keys.contains(foldedKey))
        keys.insert(foldedKey, value);
}

void IniValues::AddSection(const QString &foldedSection)
{
    m_sections[foldedSection];
}

bool IniValues::HasSection(const QString &foldedSection) const
{
    return m_sections.contains(foldedSection);
}

std::optional<QString> IniValues::Find(const QString &section, const QString &key) const
{
    const auto keys = m_sections.constFind(FoldedName(section));
    if (keys == m_sections.cend())
        return std::nullopt;
    const auto value = keys->constFind(FoldedName(key));
    if (value == keys->cend())
        return std::nullopt;
    return *value;
}

namespace IniFileCache {

namespace {

int64_t Nanoseconds(const timespec &t)
{
    return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

struct FileVersion
{
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    int64_t modified = 0;
    int64_t changed = 0; // no program can set it back, unlike the modification time

    friend bool operator==(const FileVersion &, const FileVersion &) = default;
};

FileVersion VersionOf(const struct stat &info)
{
    return {info.st_dev, info.st_ino, info.st_size, Nanoseconds(info.st_mtim), Nanoseconds(info.st_ctim)};
}

// A change later than `now` gets a change time past the version's only when
// the version's own change time lies more than one timestamp tick before
// now. File systems with nanosecond fields tick with the kernel's clock (at
// most 10 ms); one without them has whole seconds (two on FAT).
bool IsSettled(const FileVersion &version, int64_t now)
{
    const bool wholeSeconds = version.changed % 1000000000 == 0 && version.modified % 1000000000 == 0;
    const int64_t margin = wholeSeconds ? int64_t(2100) * 1000000 : int64_t(50) * 1000000;
    return version.changed + margin <= now;
}

int64_t RealTimeNow()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return Nanoseconds(now);
}

struct Entry
{
    FileVersion version;
    bool settled = false;
    QByteArray bytes;
    std::shared_ptr<const IniValues> values;
};

QMutex g_mutex;
QHash<QString, Entry> g_entries; // guarded by g_mutex
std::atomic<uint64_t> g_fileReads{0};
std::atomic<uint64_t> g_parses{0};

// Asked at every value a link cycle reads: the encodings of the few files
// a thread asks for (Corvane.ini and the halt record beside it) are kept.
QByteArray EncodedName(const QString &path)
{
    struct Known
    {
        QString path;
        QByteArray encoded;
    };
    thread_local std::array<Known, 4> known;
    thread_local std::size_t next = 0;
    for (const Known &k : known)
        if (!k.encoded.isEmpty() && k.path == path)
            return k.encoded;
    Known &slot = known[next++ % known.size()];
    slot = {path, QFile::encodeName(path)};
    return slot.encoded;
}

std::optional<FileVersion> VersionNow(const QString &path)
{
    struct stat info
    {
    };
    if (::stat(EncodedName(path).constData(), &info) != 0)
        return std::nullopt;
    return VersionOf(info);
}

void Forget(const QString &path)
{
    const QMutexLocker lock(&g_mutex);
    g_entries.remove(path);
}

} // namespace

std::shared_ptr<const IniValues> Current(const QString &path, const Parse &parse)
{
    // Taken before the version: a change after it cannot carry this version.
    const int64_t now = RealTimeNow();
    const std::optional<FileVersion> version = VersionNow(path);
    if (!version) {
        Forget(path);
        return nullptr;
    }
    Entry known;
    {
        const QMutexLocker lock(&g_mutex);
        known = g_entries.value(path);
    }
    if (known.values && known.settled && known.version == *version)
        return known.values;

    ++g_fileReads;
    std::optional<QByteArray> bytes = DiskFile::ReadWhole(path, DiskFile::kTextLimit);
    if (!bytes) {
        Forget(path);
        return nullptr;
    }
    // Bytes changed after the version was taken show in the next version.
    Entry fresh{*version, IsSettled(*version, now), *bytes, known.values};
    if (!known.values || known.bytes != *bytes) {
        ++g_parses;
        fresh.values = std::make_shared<const IniValues>(parse(*bytes));
    }
    const QMutexLocker lock(&g_mutex);
    g_entries.insert(path, fresh);
    return fresh.values;
}

void Remember(const QString &path, const QByteArray &bytes, IniValues values)
{
    const std::optional<FileVersion> version = VersionNow(path);
    if (!version) {
        Forget(path);
        return;
    }
    // Never settled: another writer may change the file within the same tick.
    Entry written{*version, false, bytes, std::make_shared<const IniValues>(std::move(values))};
    const QMutexLocker lock(&g_mutex);
    g_entries.insert(path, std::move(written));
}

Counters Count()
{
    return {g_fileReads.load(), g_parses.load()};
}

} // namespace IniFileCache

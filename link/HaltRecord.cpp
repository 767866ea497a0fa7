#include "link/HaltRecord.h"

#include "link/IniValues.h"
#include "link/SettingValues.h"
#include "link/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

// Core names, time and identity with room to spare.
constexpr int kValueSize = 256;

constexpr char16_t kTimeMark[] = u"at";
constexpr char16_t kIdentityMark[] = u"id";

} // namespace

namespace HaltRecord {

QString EntryText(const HaltEntry &entry)
{
    QStringList words;
    if (entry.cores.hcpu)
        words << QStringLiteral("HCPU");
    if (entry.cores.lcpu)
        words << QStringLiteral("LCPU");
    if (words.isEmpty())
        return QString();
    if (entry.at.isValid())
        words << QString::fromUtf16(kTimeMark) << entry.at.toUTC().toString(Qt::ISODate);
    if (!entry.identity.isEmpty())
        words << QString::fromUtf16(kIdentityMark) << entry.identity;
    return words.join(u' ');
}

// The core names come first, so a reader that looks for them alone still
// finds them; a word it does not know is passed over.
HaltEntry ParseEntry(const QString &text)
{
    HaltEntry entry;
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString &word = words[i];
        if (word == u"HCPU")
            entry.cores.hcpu = true;
        else if (word == u"LCPU")
            entry.cores.lcpu = true;
        else if (word == QStringView(kTimeMark) && i + 1 < words.size())
            entry.at = QDateTime::fromString(words[++i], Qt::ISODate);
        else if (word == QStringView(kIdentityMark) && i + 1 < words.size())
            entry.identity = words[++i];
    }
    return entry;
}

QString PathFor(const ConfigFile &config)
{
    // Asked at every link cycle: the folder cut off the path as text.
    const QString &path = config.Path();
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return QFileInfo(path).dir().filePath(QString::fromLatin1(kFileName));
    return path.left(slash + 1) + QLatin1StringView(kFileName);
}

QString TargetName(int dataSource, const QString &address)
{
    if (dataSource == Stored(DataSource::Offline))
        return QString();
    const char *link = dataSource == Stored(DataSource::JLink) ? "JLINK"
                       : dataSource == Stored(DataSource::Gdb) ? "GDB"
                                                               : "UART";
    return QLatin1StringView(link) + u' ' + address.trimmed();
}

QString SelectedTarget(const ConfigFile &config)
{
    const int source = LoadSettings(config, SettingsPart::DataSourceOnly).dataSource;
    if (source == Stored(DataSource::Offline))
        return QString();
    if (source == Stored(DataSource::JLink))
        return TargetName(source,
                          QString::number(uint32_t(LoadSettings(config, SettingsPart::JLink).jlinkSerialNumber)));
    if (source == Stored(DataSource::Gdb))
        return TargetName(source, LoadSettings(config, SettingsPart::Gdb).gdbServer);
    return TargetName(source, LoadSettings(config, SettingsPart::Uart).uartPort);
}

HaltEntry ReadEntry(const ConfigFile &config, const QString &target)
{
    if (target.isEmpty())
        return {};
    const ConfigFile record(PathFor(config));
    thread_local DerivedPerVersion<HaltEntry> known;
    return known.Get(record.Path() + u'\n' + target, record.Values(), [&] {
        return ParseEntry(record.ReadText(QString::fromLatin1(kSection), target, QString(), kValueSize));
    });
}

HaltedCores Read(const ConfigFile &config, const QString &target)
{
    return ReadEntry(config, target).cores;
}

bool Update(const ConfigFile &config, const QString &target, const std::function<HaltEntry(HaltEntry)> &change,
            QString *failure)
{
    if (target.isEmpty())
        return false;
    ConfigFile record(PathFor(config));
    const bool written = record.UpdateText(QString::fromLatin1(kSection), target,
                                           [&](const QString &now) { return EntryText(change(ParseEntry(now))); });
    if (!written && failure)
        *failure = record.WriteFailure();
    return written;
}

bool Write(const ConfigFile &config, const QString &target, HaltedCores cores, QString *failure)
{
    return Update(
        config, target,
        [&](HaltEntry entry) {
            if (entry.cores == cores)
                return entry;
            return HaltEntry{cores, QString(), QDateTime::currentDateTimeUtc()};
        },
        failure);
}

} // namespace HaltRecord

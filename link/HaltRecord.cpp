#include "link/HaltRecord.h"

#include "link/SettingValues.h"
#include "link/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace {

constexpr int kValueSize = 32;

QString Text(HaltedCores cores)
{
    QStringList names;
    if (cores.hcpu)
        names << QStringLiteral("HCPU");
    if (cores.lcpu)
        names << QStringLiteral("LCPU");
    return names.join(u' ');
}

} // namespace

namespace HaltRecord {

QString PathFor(const ConfigFile &config)
{
    return QFileInfo(config.Path()).dir().filePath(QString::fromLatin1(kFileName));
}

QString TargetName(int dataSource, const QString &address)
{
    if (dataSource == Stored(DataSource::Offline))
        return QString();
    const char *link = dataSource == Stored(DataSource::JLink) ? "JLINK"
                       : dataSource == Stored(DataSource::Gdb) ? "GDB"
                                                               : "UART";
    return QStringLiteral("%1 %2").arg(QLatin1StringView(link), address.trimmed());
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

HaltedCores Read(const ConfigFile &config, const QString &target)
{
    if (target.isEmpty())
        return {};
    const QStringList names = ConfigFile(PathFor(config))
                                  .ReadText(QString::fromLatin1(kSection), target, QString(), kValueSize)
                                  .split(u' ', Qt::SkipEmptyParts);
    return HaltedCores{names.contains(QStringLiteral("HCPU")), names.contains(QStringLiteral("LCPU"))};
}

bool Write(const ConfigFile &config, const QString &target, HaltedCores cores, QString *failure)
{
    if (target.isEmpty())
        return false;
    if (Read(config, target) == cores)
        return true;
    ConfigFile record(PathFor(config));
    if (record.WriteText(QString::fromLatin1(kSection), target, Text(cores)))
        return true;
    if (failure)
        *failure = record.WriteFailure();
    return false;
}

} // namespace HaltRecord

#include "link/Settings.h"

#include "link/IniValues.h"
#include "link/SettingValues.h"

#include <array>

namespace {

Settings Load(const ConfigFile &file, SettingsPart part)
{
    using namespace ConfigKey;
    Settings settings;
    settings.dataSource = file.ReadInt(kCommon, kDataType, 0);
    switch (part) {
    case SettingsPart::DataSourceOnly:
        break;
    case SettingsPart::JLink:
        settings.jlinkSerialNumber = file.ReadInt(kCommon, kJlinkPort, 0);
        break;
    case SettingsPart::Uart:
        settings.uartPort = file.ReadText(kCommon, kUartPort, QString(), kOperationPortSize);
        settings.uartSpeedIndex = file.ReadInt(kCommon, kUartBaund, 0);
        break;
    case SettingsPart::Gdb:
        settings.gdbServer = file.ReadText(kCommon, kGdbServer, QString::fromLatin1(kGdbServerDefault), kServerSize);
        break;
    case SettingsPart::Display:
        settings.expandLevel = file.ReadInt(kCommon, kExpandType, 0);
        settings.numberBase = file.ReadInt(kCommon, kHexDec, 0);
        break;
    }
    return settings;
}

} // namespace

Settings LoadSettings(const ConfigFile &file, SettingsPart part)
{
    thread_local std::array<DerivedPerVersion<Settings>, kSettingsParts> known;
    return known[std::size_t(part)].Get(file.Path(), file.Values(), [&] { return Load(file, part); });
}

QString LinkIdentity(const ConfigFile &file)
{
    const Settings source = LoadSettings(file, SettingsPart::DataSourceOnly);
    if (source.dataSource == Stored(DataSource::JLink))
        return QStringLiteral("jlink %1").arg(LoadSettings(file, SettingsPart::JLink).jlinkSerialNumber);
    if (source.dataSource == Stored(DataSource::Gdb))
        return QStringLiteral("gdb ") + LoadSettings(file, SettingsPart::Gdb).gdbServer;
    if (source.dataSource == Stored(DataSource::Offline))
        return QStringLiteral("offline");
    return QStringLiteral("uart ") + LoadSettings(file, SettingsPart::Uart).uartPort;
}

#include "link/Settings.h"

#include "link/IniValues.h"
#include "link/SettingValues.h"

#include <array>
#include <optional>

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
    // Kept per version of the file and thread: every link cycle asks, a
    // watch many times a second, and the file seldom changes.
    struct Known
    {
        QString path;
        std::weak_ptr<const IniValues> values;
        std::array<std::optional<Settings>, kSettingsParts> parts;
    };
    static thread_local Known known;
    const std::shared_ptr<const IniValues> values = file.Values();
    if (!values)
        return Load(file, part);
    if (known.path != file.Path() || known.values.lock() != values)
        known = Known{file.Path(), values, {}};
    std::optional<Settings> &settings = known.parts[std::size_t(part)];
    if (!settings)
        settings = Load(file, part);
    return *settings;
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

#include "tools/cli/CliTarget.h"

#include "link/Settings.h"

#include <QCoreApplication>
#include <QDir>

namespace {

// The two length caps are notes: the operation goes on after them.
bool IsNote(const QString &text)
{
    return text == QLatin1String("LENGTH over 1024 Bytes, data show too long, use 1024 Bytes!") ||
           text == QLatin1String("LENGTH over 8*1024*1024 Bytes, use 8*1024*1024!");
}

} // namespace

void CliUser::ShowMessage(const QString &text)
{
    CliWriteError(text.endsWith(u'\n') ? text : text + u'\n');
    if (!IsNote(text))
        m_failed = true;
}

QString CliTarget::ChipModelFor(const CliContext &context, const ConfigFile &config)
{
    if (!context.chip.isEmpty())
        return context.chip;
    // As the control panel shows it: an index not below the count selects entry 0.
    const int count = int(config.ReadTextList(ConfigKey::kChipType, ConfigKey::kNum, ConfigKey::kChip, 1).size());
    int selected = config.ReadInt(ConfigKey::kChipType, ConfigKey::kSel, 0);
    if (selected >= count || selected < 0)
        selected = 0;
    return config.ReadText(ConfigKey::kChipType, QString::asprintf(ConfigKey::kChip, selected), QString(),
                           ConfigKey::kListTextSize);
}

CliTarget::CliTarget(const CliContext &context)
    : config(QDir(context.home).filePath("Corvane.ini"))
    , user(ChipModelFor(context, config))
    , userContext(user.Context())
    , links([this] { return user.ChipModel(); })
    , env{config, links, userContext, {}}
{
    const QString jlinkDll = config.ReadText(ConfigKey::kCommon, ConfigKey::kJlinkDll, QString(), ConfigKey::kPathSize);
    links.jlink.Bind(JLinkLibrary::SearchOrder(jlinkDll, QCoreApplication::applicationDirPath()));
}

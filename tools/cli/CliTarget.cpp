#include "tools/cli/CliTarget.h"

#include "link/Settings.h"
#include "tools/cli/CliSignals.h"

#include <QCoreApplication>
#include <QDir>

namespace {

QString AsLine(const QString &text)
{
    return text.endsWith(u'\n') ? text : text + u'\n';
}

} // namespace

// The reason goes on a line of its own, after the text the windows show.
void CliUser::ShowMessage(MessageKind kind, const QString &text, const QString &reason)
{
    CliWriteError(AsLine(text));
    if (!reason.isEmpty())
        CliWriteError(AsLine(reason));
    if (kind == MessageKind::Failure)
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
    , env{config, links, userContext, {}, CliSignals::StopRequested}
{
    CliSignals::CatchStops();
    const QString jlinkDll = config.ReadText(ConfigKey::kCommon, ConfigKey::kJlinkDll, QString(), ConfigKey::kPathSize);
    links.jlink.Bind(JLinkLibrary::SearchOrder(jlinkDll, QCoreApplication::applicationDirPath()));
}

#include "app/Workspace.h"

#include "app/TargetActionRunner.h"
#include "link/JLinkLibrary.h"
#include "link/Settings.h"

#include <QDir>

Workspace::Workspace(const QString &exeDir, int dpi, UserContext user, QObject *parent)
    : QObject(parent)
    , m_exeDir(exeDir)
    , m_dpi(dpi)
    , m_user(user)
{
    m_config = std::make_unique<ConfigFile>(QDir(m_exeDir).filePath(QStringLiteral("Corvane.ini")));
    // The window's thread never waits long for another writer, and no
    // choice fails to reach the file without a word.
    m_config->SetLockWaitMs(kConfigLockWaitMs);
    m_config->SetFailureReport([this](const QString &message) { m_user.messages.ShowFailure(message); });

    m_links = std::make_unique<TargetLinks>([this] { return m_user.panel.ChipModel(); });
    m_links->jlink.Bind(JLinkLibrary::SearchOrder(
        m_config->ReadText(ConfigKey::kCommon, ConfigKey::kJlinkDll, QString(), ConfigKey::kPathSize), m_exeDir));
}

Workspace::~Workspace()
{
    EndActions();
}

TargetActionRunner &Workspace::Actions()
{
    if (!m_actions)
        m_actions = std::make_unique<TargetActionRunner>(Config(), Links(), Context());
    return *m_actions;
}

void Workspace::EndActions()
{
    m_actions.reset();
}

void Workspace::SelectChip(const QString &chip)
{
    if (chip == m_chip)
        return;
    m_chip = chip;
    emit ChipSelected(m_chip);
}

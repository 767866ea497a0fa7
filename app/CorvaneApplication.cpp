#include "app/CorvaneApplication.h"

#include "app/AppIcon.h"
#include "app/AppMessages.h"
#include "app/ControlPanel.h"
#include "app/Looks.h"
#include "app/MainWindow.h"
#include "app/CoreWindow.h"
#include "app/MemoryWindow.h"
#include "app/RegisterWindowFrame.h"
#include "app/RegisterWindowView.h"
#include "app/TargetActionRunner.h"
#include "link/ChipProfile.h"
#include "link/Settings.h"

#include <QApplication>
#include <QDir>
#include <QScreen>
#include <QSettings>

CorvaneApplication::CorvaneApplication(AppOptions options)
    : m_options(std::move(options))
{}

CorvaneApplication::~CorvaneApplication()
{
    if (!m_workspace)
        return;
    // Windows that go with the application keep their open-marks.
    m_workspace->SetClosing();
    // An action still running ends first (its link's deadlines bound the
    // wait): nothing it hands back may find its window gone.
    m_workspace->EndActions();
    m_mainFrame.reset();
}

bool CorvaneApplication::InitInstance()
{
    // The installation folder is the working directory of the whole run.
    const QString exeDir = m_options.exeDir.isEmpty() ? QCoreApplication::applicationDirPath() : m_options.exeDir;
    QDir::setCurrent(exeDir);
    m_exeDir = QDir::currentPath();

    if (!m_lock.TryAcquire(m_exeDir)) {
        m_user.ShowFailure(QString::fromUtf8(AppMessages::kAlreadyRunning));
        return false;
    }

    QDir home(m_exeDir);
    home.mkpath(QStringLiteral("data/temp"));
    for (const QString &model : ChipProfile::Models())
        home.mkpath(QStringLiteral("data/") + model);

    if (QScreen *screen = QGuiApplication::primaryScreen())
        m_dpi = qMax(1, int(screen->logicalDotsPerInch()));
    m_workspace = std::make_unique<Workspace>(m_exeDir, m_dpi, m_user.Context());
    m_configPath = m_workspace->Config().Path();

    QApplication::setWindowIcon(AppIcon());
    QCoreApplication::setOrganizationName(QString::fromUtf8(UserProfile::kCompany));
    QCoreApplication::setApplicationName(QString::fromLatin1(UserProfile::kAppName));

    const int look =
        UserProfile::Open()
            .value(QStringLiteral("Workspace/") + QString::fromLatin1(MainWindow::kLookKey), Looks::kDefaultLook)
            .toInt();
    m_mainFrame = std::make_unique<MainWindow>(*m_workspace, look);
    m_user.SetPanel(&m_mainFrame->Panel());
    m_user.SetDialogParent(m_mainFrame.get());
    m_mainFrame->Panel().portSource = m_options.serialPorts;
    m_mainFrame->InitialUpdate();

    if (m_options.showMainWindow) {
        m_mainFrame->show();
        m_mainFrame->raise();
        m_mainFrame->activateWindow();
    }

    ConfigFile &config = m_workspace->Config();
    const QString chip = m_workspace->Chip();
    for (int k = 0; k < kSlotCount; ++k)
        if (config.ReadInt(chip, QString::asprintf(ConfigKey::kWindowOpen, k), 0) != 0)
            m_mainFrame->OpenWindow(k);
    // The memory windows open when the application last closed.
    for (int number = 1; number <= MemoryWindow::kReopenLimit; ++number)
        if (const std::optional<uint32_t> address = MemoryWindow::MarkedAddress(config, number))
            m_mainFrame->AddMemoryWindow(address, number);
    return true;
}

RegisterWindowFrame *CorvaneApplication::ChildFrame(int slot) const
{
    return m_mainFrame ? m_mainFrame->Frame(slot) : nullptr;
}

RegisterWindowView *CorvaneApplication::RegisterWindow(int slot) const
{
    return m_mainFrame ? m_mainFrame->Window(slot) : nullptr;
}

void CorvaneApplication::OpenRegisterWindow(int slot)
{
    if (m_mainFrame)
        m_mainFrame->OpenWindow(slot);
}

MemoryWindow *CorvaneApplication::OpenMemoryWindow(std::optional<uint32_t> address, int number)
{
    return m_mainFrame ? m_mainFrame->AddMemoryWindow(address, number) : nullptr;
}

CoreWindow *CorvaneApplication::FindCoreWindow() const
{
    return m_mainFrame ? m_mainFrame->FindCoreWindow() : nullptr;
}

CoreWindow *CorvaneApplication::OpenCoreWindow()
{
    return m_mainFrame ? m_mainFrame->AddCoreWindow() : nullptr;
}

QList<MemoryWindow *> CorvaneApplication::MemoryWindows() const
{
    return m_mainFrame ? m_mainFrame->MemoryWindows() : QList<MemoryWindow *>();
}

void CorvaneApplication::SetClosing()
{
    if (m_workspace)
        m_workspace->SetClosing();
}

#include "app/CorvaneApplication.h"
#include "app/TargetActionRunner.h"

#include "app/AppIcon.h"
#include "app/AppMessages.h"
#include "app/RegisterWindowFrame.h"
#include "app/ControlPanel.h"
#include "app/Looks.h"
#include "app/MainWindow.h"
#include "app/CoreWindow.h"
#include "app/MemoryWindow.h"
#include "app/RegisterWindowView.h"
#include "link/ChipProfile.h"
#include "link/JLinkLibrary.h"
#include "link/Settings.h"

#include <QApplication>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QSettings>

#include <algorithm>

CorvaneApplication::CorvaneApplication(AppOptions options)
    : m_options(std::move(options))
{}

CorvaneApplication::~CorvaneApplication()
{
    // Windows that go with the application keep their open-marks.
    m_closing = true;
    // An action still running ends first (its link's deadlines bound the
    // wait): nothing it hands back may find its window gone.
    m_actions.reset();
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

    m_configPath = home.filePath(QStringLiteral("Corvane.ini"));
    m_config = std::make_unique<ConfigFile>(m_configPath);
    // The window's thread never waits long for another writer, and no
    // choice fails to reach the file without a word.
    m_config->SetLockWaitMs(kConfigLockWaitMs);
    m_config->SetFailureReport([this](const QString &message) { m_user.ShowFailure(message); });

    m_links = std::make_unique<TargetLinks>([this] { return m_user.ChipModel(); });
    m_links->jlink.Bind(JLinkLibrary::SearchOrder(
        m_config->ReadText(ConfigKey::kCommon, ConfigKey::kJlinkDll, QString(), ConfigKey::kPathSize), m_exeDir));

    if (QScreen *screen = QGuiApplication::primaryScreen())
        m_dpi = qMax(1, int(screen->logicalDotsPerInch()));

    QApplication::setWindowIcon(AppIcon());
    QCoreApplication::setOrganizationName(QString::fromUtf8(MainWindow::kCompany));
    QCoreApplication::setApplicationName(QString::fromLatin1(kAppName));

    QSettings settings(QString::fromUtf8(MainWindow::kCompany), QString::fromLatin1(kAppName));
    const int look =
        settings.value(QStringLiteral("Workspace/") + QString::fromLatin1(MainWindow::kLookKey), Looks::kDefaultLook)
            .toInt();
    m_mainFrame = std::make_unique<MainWindow>(*this, look);
    m_user.SetPanel(&m_mainFrame->Panel());
    m_user.SetDialogParent(m_mainFrame.get());
    m_mainFrame->Panel().portSource = m_options.serialPorts;
    m_mainFrame->InitialUpdate();

    if (m_options.showMainWindow) {
        m_mainFrame->show();
        m_mainFrame->raise();
        m_mainFrame->activateWindow();
    }

    const QString chip = m_mainFrame->Panel().ChipModel();
    for (int k = 0; k < kSlotCount; ++k)
        if (m_config->ReadInt(chip, QString::asprintf(ConfigKey::kWindowOpen, k), 0) != 0)
            OpenRegisterWindow(k);
    // The memory windows open when the application last closed.
    for (int number = 1; number <= MemoryWindow::kReopenLimit; ++number)
        if (const std::optional<uint32_t> address = MemoryWindow::MarkedAddress(*m_config, number))
            OpenMemoryWindow(address, number);
    return true;
}

RegisterWindowFrame *CorvaneApplication::ChildFrame(int slot) const
{
    return slot >= 0 && slot < kSlotCount ? m_childFrames[slot] : nullptr;
}

RegisterWindowView *CorvaneApplication::RegisterWindow(int slot) const
{
    const RegisterWindowFrame *frame = ChildFrame(slot);
    return frame ? frame->View() : nullptr;
}

void CorvaneApplication::EnterChildFrame(int slot, RegisterWindowFrame *frame)
{
    if (slot >= 0 && slot < kSlotCount)
        m_childFrames[slot] = frame;
}

void CorvaneApplication::OpenRegisterWindow(int slot)
{
    if (slot < 0 || slot >= kSlotCount || m_childFrames[slot] || !m_mainFrame)
        return; // two windows never share a slot
    auto *frame = new RegisterWindowFrame(*this, slot);
    auto *view = new RegisterWindowView(*this, slot);
    frame->SetView(view);
    frame->setWindowTitle(QStringLiteral("window_%1").arg(slot));
    m_mainFrame->AddRegisterWindow(frame);
    view->OnInitialUpdate();
    m_mainFrame->TileRegisterWindows();
}

void CorvaneApplication::ChildFrameDestroyed(int slot)
{
    if (m_closing || !m_mainFrame)
        return;
    m_mainFrame->TileRegisterWindows();
    m_mainFrame->Panel().CloseSlot(slot);
}

QList<MemoryWindow *> CorvaneApplication::MemoryWindows() const
{
    QList<MemoryWindow *> windows;
    if (!m_mainFrame)
        return windows;
    for (QMdiSubWindow *frame : m_mainFrame->DocumentArea().subWindowList(QMdiArea::CreationOrder))
        if (auto *window = qobject_cast<MemoryWindow *>(frame->widget()))
            windows << window;
    return windows;
}

MemoryWindow *CorvaneApplication::OpenMemoryWindow(std::optional<uint32_t> address, int number)
{
    if (!m_mainFrame)
        return nullptr;
    const QList<MemoryWindow *> open = MemoryWindows();
    const auto taken = [&open](int n) {
        return std::any_of(open.begin(), open.end(), [n](const MemoryWindow *window) { return window->Number() == n; });
    };
    if (number < 1 || taken(number)) {
        number = 1;
        while (taken(number))
            ++number;
    }
    auto *frame = new QMdiSubWindow;
    frame->setAttribute(Qt::WA_DeleteOnClose);
    auto *view = new MemoryWindow(*this, number, address.value_or(MemoryWindow::kDefaultAddress));
    frame->setWidget(view);
    frame->setObjectName(view->Title());
    frame->setWindowTitle(view->Title());
    QMdiArea &area = m_mainFrame->DocumentArea();
    area.addSubWindow(frame);
    // At the right of the document area, over the register windows, each
    // further one a little lower.
    const QRect space = area.viewport()->rect();
    const int width = std::min(space.width(), view->sizeHint().width());
    const int step = Scaled(24) * ((number - 1) % 4);
    frame->setGeometry(std::max(0, space.width() - width - step), step, width, std::max(200, space.height() - step));
    frame->show();
    area.setActiveSubWindow(frame);
    view->setFocus(Qt::OtherFocusReason);
    view->Remember();
    return view;
}

CoreWindow *CorvaneApplication::FindCoreWindow() const
{
    if (!m_mainFrame)
        return nullptr;
    for (QMdiSubWindow *frame : m_mainFrame->DocumentArea().subWindowList())
        if (auto *window = qobject_cast<CoreWindow *>(frame->widget()))
            return window;
    return nullptr;
}

CoreWindow *CorvaneApplication::OpenCoreWindow()
{
    if (!m_mainFrame)
        return nullptr;
    QMdiArea &area = m_mainFrame->DocumentArea();
    if (CoreWindow *open = FindCoreWindow()) {
        area.setActiveSubWindow(qobject_cast<QMdiSubWindow *>(open->parentWidget()));
        return open;
    }
    auto *frame = new QMdiSubWindow;
    frame->setAttribute(Qt::WA_DeleteOnClose);
    auto *view =
        new CoreWindow({Config(), Context(), Actions(), [this](uint32_t address) { OpenMemoryWindow(address); }});
    frame->setWidget(view);
    frame->setObjectName(view->windowTitle());
    frame->setWindowTitle(view->windowTitle());
    area.addSubWindow(frame);
    const QRect space = area.viewport()->rect();
    frame->setGeometry(0, 0, std::min(space.width(), Scaled(560)), std::max(200, space.height()));
    frame->show();
    area.setActiveSubWindow(frame);
    view->setFocus(Qt::OtherFocusReason);
    return view;
}

TargetActionRunner &CorvaneApplication::Actions()
{
    if (!m_actions)
        m_actions = std::make_unique<TargetActionRunner>(Config(), Links(), Context());
    return *m_actions;
}

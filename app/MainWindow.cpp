#include "app/MainWindow.h"

#include "app/AboutBox.h"
#include "app/ControlPaneDock.h"
#include "app/AppMessages.h"
#include "app/CoreWindow.h"
#include "app/ControlPanel.h"
#include "app/Looks.h"
#include "app/MemoryWindow.h"
#include "app/PeripheralList.h"
#include "app/RegisterWindowFrame.h"
#include "app/RegisterWindowView.h"
#include "ipcheck/ui/IpCheckWindow.h"
#include "link/Language.h"
#include "link/Settings.h"
#include "regmap/RegisterWindow.h"
#include "link/Tr.h"
#include "regmap/RegisterWindowTable.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QProcess>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QToolBar>

#include <algorithm>

namespace {

// A tool bar button names its command only: "新建(&N)\tCtrl+N" gives "新建".
QString ButtonText(QString text)
{
    text = text.section(QLatin1Char('\t'), 0, 0);
    if (const int mnemonic = text.indexOf(QLatin1String("(&")); mnemonic > 0)
        text.truncate(mnemonic);
    text.remove(QLatin1Char('&'));
    if (text.endsWith(QLatin1String("...")))
        text.chop(3);
    return text.trimmed();
}

// The per-user profile's group of the visual look and the saved layout.
struct LayoutProfile
{
    LayoutProfile() { settings.beginGroup(QString::fromLatin1(MainWindow::kWorkspace)); }
    QSettings settings{QString::fromUtf8(UserProfile::kCompany), QString::fromLatin1(UserProfile::kAppName)};
};

} // namespace

MainWindow::MainWindow(Workspace &workspace, int look)
    : m_workspace(workspace)
{
    setObjectName(QStringLiteral("128"));
    m_area = new QMdiArea(this);
    m_area->setObjectName(QStringLiteral("MDIClient"));
    m_area->setViewMode(QMdiArea::SubWindowView);
    m_area->setContextMenuPolicy(Qt::CustomContextMenu);
    // The frame's menu belongs to the empty space of the document area; a
    // right click inside a register window is that window's own.
    connect(m_area, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        if (m_area->viewport()->childAt(at) == nullptr)
            ShowFrameMenu(m_area->viewport()->mapToGlobal(at));
    });
    // Whatever changes the document area's size (the pane or the tool bar
    // shown, hidden, docked or floated, the frame resized) re-tiles.
    m_area->viewport()->installEventFilter(this);
    connect(m_area, &QMdiArea::subWindowActivated, this, [this] { UpdateCaption(); });
    setCentralWidget(m_area);

    BuildMenus();
    BuildToolBar();
    menuBar()->hide();
    m_toolBar->hide();
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);

    m_pane = new ControlPaneDock(workspace, *this, this);
    // The pane's title bar offers the frame's menu; its forms open none.
    m_pane->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_pane, &QWidget::customContextMenuRequested, this, [this](const QPoint &at) {
        if (m_pane->widget() == nullptr || !m_pane->widget()->geometry().contains(at))
            ShowFrameMenu(m_pane->mapToGlobal(at));
    });
    addDockWidget(Qt::LeftDockWidgetArea, m_pane);
    resizeDocks({m_pane}, {workspace.Scaled(370)}, Qt::Horizontal);
    m_pane->show();

    SetLook(look);

    ConfigFile &config = m_workspace.Config();
    if (config.ReadInt(ConfigKey::kCommon, ConfigKey::kInitDockPane, 0) != 0) {
        // The layout built above is used at this start and saved at exit.
        config.WriteText(ConfigKey::kCommon, ConfigKey::kInitDockPane, QStringLiteral("0"));
        DefaultGeometry();
    } else {
        RestoreLayout();
    }
    UpdateCaption();
}

MainWindow::~MainWindow()
{
    // The register windows go after the menus: their last activation
    // changes must not reach the caption and the menus any more.
    disconnect(m_area, nullptr, this, nullptr);
    m_ending = true;
    for (RegisterWindowFrame *frame : m_frames)
        delete frame;
}

ControlPanel &MainWindow::Panel() const
{
    return m_pane->Panel();
}

void MainWindow::InitialUpdate()
{
    m_pane->InitialUpdate();
    connect(m_pane->CheckWindow(), &IpCheckWindow::RetileRequested, this, &MainWindow::TileRegisterWindows);
}

// View -> Language: the choice is remembered in the per-user profile and
// read at start (main.cpp), so it takes effect at the next start.
void MainWindow::AddLanguageMenu(QMenu *view)
{
    QMenu *menu = view->addMenu(Tr(AppMessages::kLanguageMenu));
    menu->setObjectName(QStringLiteral("LanguageMenu"));
    auto *group = new QActionGroup(menu);
    const std::pair<Language, QString> choices[] = {{Language::English, QStringLiteral("English")},
                                                    {Language::Chinese, QStringLiteral("中文")}};
    for (const auto &[language, name] : choices) {
        QAction *action = menu->addAction(name);
        action->setObjectName(QStringLiteral("Language_") + UiLanguage::Code(language));
        action->setCheckable(true);
        action->setChecked(UiLanguage::Installed() == language);
        action->setStatusTip(Tr(AppMessages::kLanguageNextStart));
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, language] {
            QSettings profile = UserProfile::Open();
            UiLanguage::Remember(profile, language);
            m_workspace.Context().messages.ShowNote(Tr(AppMessages::kLanguageNextStart));
        });
    }
}

void MainWindow::BuildMenus()
{
    auto add = [this](QMenu *menu, const QString &text, int id, const QKeySequence &key = {}) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QString::number(id));
        action->setData(id);
        if (!key.isEmpty())
            action->setShortcut(key);
        addAction(action); // keys work with the menu bar hidden
        return action;
    };

    QMenu *file = menuBar()->addMenu(Tr(QT_TRANSLATE_NOOP("Corvane", "文件(&F)")));
    // Register windows are not files: "new" opens the first free slot, the
    // others have nothing to act on.
    connect(add(file, Tr(QT_TRANSLATE_NOOP("Corvane", "新建(&N)\tCtrl+N")), 57600, QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this, [this] {
                for (int k = 0; k < Workspace::kSlotCount; ++k)
                    if (!m_frames[k]) {
                        Panel().OpenSlot(k);
                        return;
                    }
            });
    add(file, Tr(QT_TRANSLATE_NOOP("Corvane", "打开(&O)...\tCtrl+O")), 57601, QKeySequence(Qt::CTRL | Qt::Key_O))
        ->setEnabled(false);
    connect(add(file, Tr(QT_TRANSLATE_NOOP("Corvane", "关闭(&C)")), 57602), &QAction::triggered, this, [this] {
        if (QMdiSubWindow *active = m_area->activeSubWindow())
            active->close();
    });
    // Saving is the register window's own "保存数据"; disabled entries also
    // leave Ctrl+S to the IP check's log list.
    m_documentOnly << add(file, Tr(QT_TRANSLATE_NOOP("Corvane", "保存(&S)\tCtrl+S")), 57603,
                          QKeySequence(Qt::CTRL | Qt::Key_S));
    m_documentOnly << add(file, Tr(QT_TRANSLATE_NOOP("Corvane", "另存为(&A)...")), 57604);
    m_documentOnly.at(0)->setEnabled(false);
    m_documentOnly.at(1)->setEnabled(false);
    file->addSeparator();
    connect(add(file, Tr(QT_TRANSLATE_NOOP("Corvane", "退出(&X)")), 57665), &QAction::triggered, this, &QWidget::close);

    QMenu *edit = menuBar()->addMenu(Tr(QT_TRANSLATE_NOOP("Corvane", "编辑(&E)")));
    add(edit, Tr(QT_TRANSLATE_NOOP("Corvane", "撤消(&U)\tCtrl+Z")), 57643, QKeySequence(Qt::CTRL | Qt::Key_Z));
    edit->addSeparator();
    add(edit, Tr(QT_TRANSLATE_NOOP("Corvane", "剪切(&T)\tCtrl+X")), 57635, QKeySequence(Qt::CTRL | Qt::Key_X));
    add(edit, Tr(QT_TRANSLATE_NOOP("Corvane", "复制(&C)\tCtrl+C")), 57634, QKeySequence(Qt::CTRL | Qt::Key_C));
    add(edit, Tr(QT_TRANSLATE_NOOP("Corvane", "粘贴(&P)\tCtrl+V")), 57637, QKeySequence(Qt::CTRL | Qt::Key_V));
    for (QAction *action : edit->actions())
        action->setEnabled(false); // nothing in a register window is cut or pasted
    m_documentOnly << edit->menuAction();

    QMenu *view = menuBar()->addMenu(Tr(QT_TRANSLATE_NOOP("Corvane", "视图(&V)")));
    QMenu *bars = view->addMenu(Tr(QT_TRANSLATE_NOOP("Corvane", "工具栏和停靠窗口(&T)")));
    bars->setObjectName(QStringLiteral("59392"));
    connect(bars, &QMenu::aboutToShow, this, [this, bars] {
        bars->clear();
        QMenu *list = createPopupMenu();
        for (QAction *action : list->actions())
            bars->addAction(action);
        list->deleteLater();
    });
    add(view, Tr(QT_TRANSLATE_NOOP("Corvane", "状态栏(&S)")), 59393)->setEnabled(false); // the frame has no status bar
    m_looksMenu = view->addMenu(Tr(QT_TRANSLATE_NOOP("Corvane", "应用程序外观(&A)")));
    QMenu *looks = m_looksMenu;
    m_lookGroup = new QActionGroup(this);
    m_lookGroup->setExclusive(true);
    auto addLook = [this, add](QMenu *menu, const Looks::MenuEntry &entry) {
        QAction *action = add(menu, Tr(entry.text), entry.id);
        action->setCheckable(true);
        m_lookGroup->addAction(action);
        connect(action, &QAction::triggered, this, [this, id = entry.id] { SetLook(id); });
    };
    for (const Looks::MenuEntry &entry : Looks::MainEntries())
        addLook(looks, entry);
    QMenu *office = looks->addMenu(QStringLiteral("Office 2007(&7)"));
    for (const Looks::MenuEntry &entry : Looks::Office2007Entries())
        addLook(office, entry);

    AddLanguageMenu(view);

    QMenu *window = menuBar()->addMenu(Tr(QT_TRANSLATE_NOOP("Corvane", "窗口(&W)")));
    add(window, Tr(QT_TRANSLATE_NOOP("Corvane", "新建窗口(&N)")), 57648)->setEnabled(false); // would share a slot
    m_memoryWindow = add(window, Tr(QT_TRANSLATE_NOOP("Corvane", "内存窗口(&M)\tCtrl+M")), kMemoryWindowCommand,
                         QKeySequence(Qt::CTRL | Qt::Key_M));
    connect(m_memoryWindow, &QAction::triggered, this, [this] { AddMemoryWindow(); });
    m_coreWindow = add(window, Tr(CoreWindowText::kMenuEntry), kCoreWindowCommand, QKeySequence(Qt::CTRL | Qt::Key_K));
    connect(m_coreWindow, &QAction::triggered, this, [this] { AddCoreWindow(); });
    connect(add(window, Tr(QT_TRANSLATE_NOOP("Corvane", "层叠(&C)")), 57650), &QAction::triggered, m_area,
            &QMdiArea::cascadeSubWindows);
    connect(add(window, Tr(QT_TRANSLATE_NOOP("Corvane", "平铺(&T)")), 57651), &QAction::triggered, this,
            &MainWindow::TileRegisterWindows);
    add(window, Tr(QT_TRANSLATE_NOOP("Corvane", "排列图标(&A)")), 57649);
    m_documentOnly << window->menuAction();

    QMenu *help = menuBar()->addMenu(Tr(QT_TRANSLATE_NOOP("Corvane", "帮助(&H)")));
    connect(add(help, Tr(QT_TRANSLATE_NOOP("Corvane", "关于 Corvane(&A)...")), 57664), &QAction::triggered, this,
            &MainWindow::ShowAboutBox);

    // The menu bar is hidden; its Alt keys still open their menus, at the
    // document area's corner.
    for (QAction *top : menuBar()->actions()) {
        const QKeySequence key = QKeySequence::mnemonic(top->text());
        if (key.isEmpty() || top->menu() == nullptr)
            continue;
        auto *open = new QAction(this);
        open->setShortcut(key);
        connect(open, &QAction::triggered, this, [this, top] {
            if (top->isVisible())
                top->menu()->popup(m_area->mapToGlobal(QPoint(0, 0)));
        });
        addAction(open);
    }

    QAction *next = new QAction(this);
    next->setObjectName(QStringLiteral("57680"));
    next->setShortcut(QKeySequence(Qt::Key_F6));
    connect(next, &QAction::triggered, m_area, &QMdiArea::activateNextSubWindow);
    addAction(next);
    QAction *previous = new QAction(this);
    previous->setObjectName(QStringLiteral("57681"));
    previous->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
    connect(previous, &QAction::triggered, m_area, &QMdiArea::activatePreviousSubWindow);
    addAction(previous);
}

void MainWindow::BuildToolBar()
{
    m_toolBar = new QToolBar(Tr(QT_TRANSLATE_NOOP("Corvane", "标准")), this);
    m_toolBar->setObjectName(QStringLiteral("toolbar128"));
    for (int id : {57600, 57601, 57603, 0, 57635, 57634, 57637, 0, 57607, 57664}) {
        if (id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction *action = findChild<QAction *>(QString::number(id));
        if (!action) {
            action = new QAction(Tr(QT_TRANSLATE_NOOP("Corvane", "打印")), this); // no printing here
            action->setObjectName(QString::number(id));
            action->setEnabled(false);
        }
        action->setIconText(ButtonText(action->text()));
        m_toolBar->addAction(action);
    }
    addToolBar(Qt::TopToolBarArea, m_toolBar);
}

QMenu *MainWindow::createPopupMenu()
{
    QMenu *menu = QMainWindow::createPopupMenu();
    if (!menu)
        menu = new QMenu(this);
    QAction *customize = menu->addAction(Tr(QT_TRANSLATE_NOOP("Corvane", "自定义...")));
    customize->setObjectName(QStringLiteral("126"));
    customize->setEnabled(false);
    // The window's system-menu entries.
    menu->addSeparator();
    // The menu bar is hidden: the memory window and the looks are offered here.
    menu->addAction(m_memoryWindow);
    menu->addAction(m_coreWindow);
    menu->addMenu(m_looksMenu);
    menu->addSeparator();
    connect(menu->addAction(Tr(QT_TRANSLATE_NOOP("Corvane", "关于Corvane..."))), &QAction::triggered, this,
            [this] { SystemCommand(kAboutCommand); });
    connect(menu->addAction(QStringLiteral("update")), &QAction::triggered, this,
            [this] { SystemCommand(kUpdateCommand); });
    menu->addSeparator();
    return menu;
}

void MainWindow::ShowFrameMenu(const QPoint &globalPosition)
{
    QMenu *menu = createPopupMenu();
    menu->setObjectName(QStringLiteral("frameMenu"));
    if (frameMenuExec)
        frameMenuExec(*menu, globalPosition);
    else
        menu->exec(globalPosition);
    delete menu;
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_area->viewport() && event->type() == QEvent::Resize)
        TileRegisterWindows();
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::RestoreLayout()
{
    LayoutProfile profile;
    QSettings &settings = profile.settings;
    if (!restoreGeometry(settings.value(QStringLiteral("Geometry")).toByteArray()))
        DefaultGeometry();
    restoreState(settings.value(QStringLiteral("WindowState")).toByteArray());
}

void MainWindow::DefaultGeometry()
{
    // No saved place: most of the screen, like a desktop's default window.
    if (QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        resize(available.width() * 4 / 5, available.height() * 4 / 5);
    }
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    m_workspace.SetClosing();
    LayoutProfile profile;
    QSettings &settings = profile.settings;
    settings.setValue(QStringLiteral("Geometry"), saveGeometry());
    settings.setValue(QStringLiteral("WindowState"), saveState());
    QMainWindow::closeEvent(event);
}

void MainWindow::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    TileRegisterWindows();
}

void MainWindow::AddRegisterWindow(RegisterWindowFrame *frame)
{
    m_area->addSubWindow(frame);
    frame->show();
    m_area->setActiveSubWindow(frame);
    UpdateCaption();
}

void MainWindow::UpdateCaption()
{
    QString caption = QString::fromLatin1(kTitle);
    QMdiSubWindow *active = m_area->activeSubWindow();
    if (active)
        caption += QStringLiteral(" - ") + active->windowTitle();
    setWindowTitle(caption);
    for (QAction *action : m_documentOnly)
        action->setVisible(active != nullptr);
}

int MainWindow::ActiveWindowSlot() const
{
    return RegisterWindowTable::ActiveWindowSlot(windowTitle());
}

QList<QRect> MainWindow::TileLayout(const QRect &area, int paneWidth, int frameWidth, int count)
{
    return TileLayout(area, frameWidth - paneWidth - 8, count);
}

QList<QRect> MainWindow::TileLayout(const QRect &area, int width, int count)
{
    QList<QRect> places;
    if (count <= 0)
        return places;
    for (int i = 0; i < count; ++i)
        places << QRect(area.left() + (i * width) / count, area.top(), width / count, area.height());
    return places;
}

void MainWindow::TileRegisterWindows()
{
    QList<RegisterWindowFrame *> frames;
    for (RegisterWindowFrame *frame : m_frames)
        if (frame)
            frames << frame;
    if (frames.isEmpty())
        return;
    // The windows share the document area as it stands, wherever the pane
    // and the tool bar are docked, floated or hidden.
    const QRect area = m_area->viewport()->rect();
    const QList<QRect> places = TileLayout(area, area.width(), int(frames.size()));
    for (int i = 0; i < frames.size(); ++i) {
        frames[i]->setGeometry(places[i]);
        frames[i]->update();
    }
}

void MainWindow::SetLook(int id)
{
    m_workspace.Context().busy.SetBusy(true);
    m_look = id;
    Looks::Install(id);
    for (QAction *action : m_lookGroup->actions())
        action->setChecked(action->data().toInt() == id);
    update();
    LayoutProfile profile;
    profile.settings.setValue(QString::fromLatin1(kLookKey), id);
    m_workspace.Context().busy.SetBusy(false);
}

void MainWindow::SystemCommand(int id)
{
    if (id == kAboutCommand) {
        ShowAboutBox();
    } else if (id == kUpdateCommand) {
        // Whatever becomes of the updater is its own business.
        QProcess::startDetached(QDir(m_workspace.ExeDir()).filePath(QStringLiteral("update")), {},
                                m_workspace.ExeDir());
    }
}

void MainWindow::ShowAboutBox()
{
    AboutBox about(this);
    about.exec();
}

RegisterWindowFrame *MainWindow::Frame(int slot) const
{
    return slot >= 0 && slot < Workspace::kSlotCount ? m_frames[slot] : nullptr;
}

RegisterWindowView *MainWindow::Window(int slot) const
{
    const RegisterWindowFrame *frame = Frame(slot);
    return frame ? frame->View() : nullptr;
}

void MainWindow::OpenWindow(int slot)
{
    if (slot < 0 || slot >= Workspace::kSlotCount || m_frames[slot])
        return; // two windows never share a slot
    auto *frame = new RegisterWindowFrame(slot, [this](int gone) { FrameGone(gone); });
    m_frames[slot] = frame;
    auto *view = new RegisterWindowView(m_workspace, slot);
    frame->SetView(view);
    frame->setWindowTitle(QStringLiteral("window_%1").arg(slot));
    AddRegisterWindow(frame);
    view->OnInitialUpdate();
    TileRegisterWindows();
}

void MainWindow::FrameGone(int slot)
{
    m_frames[slot] = nullptr;
    if (m_ending || m_workspace.Closing())
        return;
    TileRegisterWindows();
    Panel().CloseSlot(slot);
}

RegisterWindows::Shown MainWindow::ShowPeripheral(const QString &name)
{
    PeripheralList &list = Panel().Peripherals();
    if (!list.FindRow(name))
        return Shown::NoPeripheral;
    // The register window the user had last, or the first free slot's new one.
    int slot = -1;
    const QList<QMdiSubWindow *> order = m_area->subWindowList(QMdiArea::ActivationHistoryOrder);
    for (auto window = order.rbegin(); window != order.rend() && slot < 0; ++window)
        if (auto *registers = qobject_cast<RegisterWindowFrame *>(*window))
            slot = registers->Slot();
    for (int k = 0; k < Workspace::kSlotCount && slot < 0; ++k)
        if (!m_frames[k]) {
            Panel().OpenSlot(k);
            slot = k;
        }
    RegisterWindowView *window = Window(slot);
    if (!window)
        return Shown::NoWindow;
    list.ShowInWindow(name, slot);
    RegisterRowTree &tree = window->Logic()->Tree();
    if (RegisterRow *row = tree.FindTopRow(name))
        tree.Select(row);
    m_area->setActiveSubWindow(m_frames[slot]);
    return Shown::Shown;
}

void MainWindow::ApplyNumberBase()
{
    for (int k = 0; k < Workspace::kSlotCount; ++k)
        if (RegisterWindowView *window = Window(k))
            window->ApplyNumberBase();
}

QList<MemoryWindow *> MainWindow::MemoryWindows() const
{
    QList<MemoryWindow *> windows;
    for (QMdiSubWindow *frame : m_area->subWindowList(QMdiArea::CreationOrder))
        if (auto *window = qobject_cast<MemoryWindow *>(frame->widget()))
            windows << window;
    return windows;
}

CoreWindow *MainWindow::FindCoreWindow() const
{
    for (QMdiSubWindow *frame : m_area->subWindowList())
        if (auto *window = qobject_cast<CoreWindow *>(frame->widget()))
            return window;
    return nullptr;
}

CoreWindow *MainWindow::AddCoreWindow()
{
    if (CoreWindow *open = FindCoreWindow()) {
        m_area->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(open->parentWidget()));
        return open;
    }
    auto *frame = new QMdiSubWindow;
    frame->setAttribute(Qt::WA_DeleteOnClose);
    auto *view = new CoreWindow({m_workspace.Config(), m_workspace.Context(), m_workspace.Actions(),
                                 [this](uint32_t address) { AddMemoryWindow(address); }});
    connect(&m_workspace, &Workspace::ChipSelected, view, &CoreWindow::FollowChip);
    frame->setWidget(view);
    frame->setObjectName(view->windowTitle());
    frame->setWindowTitle(view->windowTitle());
    m_area->addSubWindow(frame);
    const QRect space = m_area->viewport()->rect();
    frame->setGeometry(0, 0, std::min(space.width(), m_workspace.Scaled(560)), std::max(200, space.height()));
    frame->show();
    m_area->setActiveSubWindow(frame);
    view->setFocus(Qt::OtherFocusReason);
    return view;
}

MemoryWindow *MainWindow::AddMemoryWindow(std::optional<uint32_t> address, int number)
{
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
    auto *view = new MemoryWindow(m_workspace, *this, number, address.value_or(MemoryWindow::kDefaultAddress));
    frame->setWidget(view);
    frame->setObjectName(view->Title());
    frame->setWindowTitle(view->Title());
    m_area->addSubWindow(frame);
    // At the right of the document area, over the register windows, each
    // further one a little lower.
    const QRect space = m_area->viewport()->rect();
    const int width = std::min(space.width(), view->sizeHint().width());
    const int step = m_workspace.Scaled(24) * ((number - 1) % 4);
    frame->setGeometry(std::max(0, space.width() - width - step), step, width, std::max(200, space.height() - step));
    frame->show();
    m_area->setActiveSubWindow(frame);
    view->setFocus(Qt::OtherFocusReason);
    view->Remember();
    return view;
}

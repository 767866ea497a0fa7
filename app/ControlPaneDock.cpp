#include "app/ControlPaneDock.h"

#include "link/Tr.h"

#include "app/ControlPanel.h"
#include "app/Workspace.h"
#include "ipcheck/ui/IpCheckWindow.h"

#include <QScrollArea>
#include <QTabWidget>

namespace {

// The forms keep their template size and scroll when the pane is smaller.
QScrollArea *Scrolling(QWidget *form, QWidget *parent)
{
    auto *area = new QScrollArea(parent);
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(form);
    return area;
}

} // namespace

ControlPaneDock::ControlPaneDock(Workspace &workspace, RegisterWindows &windows, QWidget *parent)
    : QDockWidget(parent)
{
    setObjectName(QStringLiteral("149"));
    setWindowTitle(Tr(kTitle));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    // Right clicks inside the pane open nothing.
    setContextMenuPolicy(Qt::PreventContextMenu);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("1"));
    m_tabs->setTabPosition(QTabWidget::South);
    m_tabs->setDocumentMode(true);
    m_tabs->setTabsClosable(false);
    m_panel = new ControlPanel(workspace, windows);
    auto *check = new IpCheckWindow(workspace.Config(), *m_panel, workspace.ExeDir(), workspace.Dpi());
    check->setObjectName(QStringLiteral("103"));
    check->SetUser(&workspace.Context().files, &workspace.Context().messages);
    m_panel->chipChangedHook = [check] { check->BuildIpList(); };
    m_check = check;
    m_tabs->addTab(Scrolling(m_panel, m_tabs), Tr(kControlTab));
    m_tabs->addTab(Scrolling(m_check, m_tabs), Tr(kCheckTab));
    m_tabs->setCurrentIndex(0);
    setWidget(m_tabs);
}

void ControlPaneDock::InitialUpdate()
{
    // The IP check window sets itself up when it is first shown.
    m_panel->Setup();
}

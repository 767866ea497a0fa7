#include "app/OutputWnd.h"

#include "app/CorvaneApp.h"
#include "app/CtrlWnd.h"
#if HAVE_CORVANE_IPCHECK_UI
#include "app/CheckipWnd.h"
#endif

#include <QLabel>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

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

[[maybe_unused]] QWidget *CheckWindowPlaceholder(QWidget *parent)
{
    auto *form = new QWidget(parent);
    form->setObjectName(QStringLiteral("103"));
    auto *layout = new QVBoxLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("IP check"), form));
    layout->addStretch(1);
    return form;
}

} // namespace

COutputWnd::COutputWnd(CCorvaneApp &app, QWidget *parent) : QDockWidget(parent)
{
    setObjectName(QStringLiteral("149"));
    setWindowTitle(QString::fromLatin1(kTitle));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable |
                QDockWidget::DockWidgetFloatable);
    // Right clicks inside the pane open nothing.
    setContextMenuPolicy(Qt::PreventContextMenu);

    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("1"));
    m_tabs->setTabPosition(QTabWidget::South);
    m_tabs->setDocumentMode(true);
    m_tabs->setTabsClosable(false);
    m_panel = new CCtrlWnd(app);
#if HAVE_CORVANE_IPCHECK_UI
    auto *check = new CCheckipWnd(app.Config(), *m_panel, app.ExeDir(), app.Dpi());
    check->setObjectName(QStringLiteral("103"));
    check->SetUser(&app.User(), &app.User());
    m_panel->chipChangedHook = [check] { check->BuildIpList(); };
    m_check = check;
#else
    m_check = CheckWindowPlaceholder(nullptr);
#endif
    m_tabs->addTab(Scrolling(m_panel, m_tabs), QString::fromUtf8(kControlTab));
    m_tabs->addTab(Scrolling(m_check, m_tabs), QString::fromUtf8(kCheckTab));
    m_tabs->setCurrentIndex(0);
    setWidget(m_tabs);
}

void COutputWnd::InitialUpdate()
{
    // The IP check window sets itself up when it is first shown.
    m_panel->Setup();
}

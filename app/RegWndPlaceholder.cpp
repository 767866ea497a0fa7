// The register window for a build without the register window logic: an
// empty grid, so the rest of the application still runs.
#include "app/CorvaneApp.h"
#include "app/PropertyGrid.h"
#include "app/RegWnd.h"

struct CRegWnd::Impl
{
};

CRegWnd::CRegWnd(CCorvaneApp &app, int slot, QWidget *parent) : QWidget(parent), m_app(app), m_slot(slot)
{
    setObjectName(QStringLiteral("CRegWnd_%1").arg(slot));
    m_grid = new PropertyGrid(this);
    m_app.EnterRegisterWindow(slot, this);
}

CRegWnd::~CRegWnd()
{
    m_app.EnterRegisterWindow(m_slot, nullptr);
}

void CRegWnd::OnInitialUpdate()
{
    m_grid->SetHeaderTitles(QString(), QStringLiteral("Value"));
}

void CRegWnd::RebuildGrid() {}
void CRegWnd::AddPeripheralRows(const QString &) {}
void CRegWnd::RemovePeripheralRows(const QString &) {}
void CRegWnd::ApplyNumberBase() {}
void CRegWnd::ApplyExpandLevel(int) {}
void CRegWnd::ShowContextMenu(int, const QPoint &) {}

RegisterWindow *CRegWnd::Logic() const
{
    return nullptr;
}

void CRegWnd::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_grid->setGeometry(-2, -2, width() + 4, height() + 3);
}

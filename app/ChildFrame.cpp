#include "app/ChildFrame.h"

#include "app/CorvaneApp.h"
#include "app/RegisterWindowView.h"

#include <utility>

CChildFrame::CChildFrame(CCorvaneApp &app, int slot, QWidget *parent)
    : QMdiSubWindow(parent)
    , m_app(app)
    , m_slot(slot)
{
    setObjectName(QStringLiteral("window_%1").arg(slot));
    setAttribute(Qt::WA_DeleteOnClose);
    m_app.EnterChildFrame(slot, this);
}

CChildFrame::~CChildFrame()
{
    // The view goes before its frame, as the slot tables expect.
    delete std::exchange(m_view, nullptr);
    m_app.EnterChildFrame(m_slot, nullptr);
    m_app.ChildFrameDestroyed(m_slot);
}

void CChildFrame::SetView(CRegWnd *view)
{
    m_view = view;
    setWidget(view);
}

#include "app/RegisterWindowFrame.h"

#include "app/CorvaneApplication.h"
#include "app/RegisterWindowView.h"

#include <utility>

RegisterWindowFrame::RegisterWindowFrame(CorvaneApplication &app, int slot, QWidget *parent)
    : QMdiSubWindow(parent)
    , m_app(app)
    , m_slot(slot)
{
    setObjectName(QStringLiteral("window_%1").arg(slot));
    setAttribute(Qt::WA_DeleteOnClose);
    m_app.EnterChildFrame(slot, this);
}

RegisterWindowFrame::~RegisterWindowFrame()
{
    // The view goes before its frame, as the slot tables expect.
    delete std::exchange(m_view, nullptr);
    m_app.EnterChildFrame(m_slot, nullptr);
    m_app.ChildFrameDestroyed(m_slot);
}

void RegisterWindowFrame::SetView(RegisterWindowView *view)
{
    m_view = view;
    setWidget(view);
}

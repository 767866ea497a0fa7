#include "app/RegisterWindowFrame.h"

#include "app/RegisterWindowView.h"

#include <utility>

RegisterWindowFrame::RegisterWindowFrame(int slot, std::function<void(int)> gone, QWidget *parent)
    : QMdiSubWindow(parent)
    , m_slot(slot)
    , m_gone(std::move(gone))
{
    setObjectName(QStringLiteral("window_%1").arg(slot));
    setAttribute(Qt::WA_DeleteOnClose);
}

RegisterWindowFrame::~RegisterWindowFrame()
{
    // The view goes before its frame, as the slot tables expect.
    delete std::exchange(m_view, nullptr);
    if (m_gone)
        m_gone(m_slot);
}

void RegisterWindowFrame::SetView(RegisterWindowView *view)
{
    m_view = view;
    setWidget(view);
}

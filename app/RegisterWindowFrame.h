#pragma once

#include <QMdiSubWindow>

class CorvaneApplication;
class RegisterWindowView;

// The frame of one register window in the document area. It holds its slot
// in the application's frame table for its whole life.
class RegisterWindowFrame : public QMdiSubWindow
{
    Q_OBJECT

public:
    RegisterWindowFrame(CorvaneApplication &app, int slot, QWidget *parent = nullptr);
    ~RegisterWindowFrame() override;

    int Slot() const { return m_slot; }
    RegisterWindowView *View() const { return m_view; }
    void SetView(RegisterWindowView *view);

private:
    CorvaneApplication &m_app;
    int m_slot;
    RegisterWindowView *m_view = nullptr;
};

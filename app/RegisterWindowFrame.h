#pragma once

#include <QMdiSubWindow>

#include <functional>

class RegisterWindowView;

// The frame of one register window in the document area. It holds its slot
// for its whole life; `gone` hears of the slot when the frame goes.
class RegisterWindowFrame : public QMdiSubWindow
{
    Q_OBJECT

public:
    RegisterWindowFrame(int slot, std::function<void(int slot)> gone, QWidget *parent = nullptr);
    ~RegisterWindowFrame() override;

    int Slot() const { return m_slot; }
    RegisterWindowView *View() const { return m_view; }
    void SetView(RegisterWindowView *view);

private:
    int m_slot;
    std::function<void(int)> m_gone;
    RegisterWindowView *m_view = nullptr;
};

#pragma once

#include <QMdiSubWindow>

class CCorvaneApp;
class CRegWnd;

// The frame of one register window in the document area. It holds its slot
// in the application's frame table for its whole life.
class CChildFrame : public QMdiSubWindow
{
    Q_OBJECT

public:
    CChildFrame(CCorvaneApp &app, int slot, QWidget *parent = nullptr);
    ~CChildFrame() override;

    int Slot() const { return m_slot; }
    CRegWnd *View() const { return m_view; }
    void SetView(CRegWnd *view);

private:
    CCorvaneApp &m_app;
    int m_slot;
    CRegWnd *m_view = nullptr;
};

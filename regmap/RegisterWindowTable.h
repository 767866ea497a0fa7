#pragma once

#include <QString>

#include <array>

class RegisterWindow;

// The four register window slots: which window owns each, and the slot the
// next window to be created takes (set by whoever opens it).
class RegisterWindowTable
{
public:
    static constexpr int kSlots = 4;

    RegisterWindow *At(int slot) const;
    int NextWindowSlot() const { return m_nextSlot; }
    void SetNextWindowSlot(int slot) { m_nextSlot = slot; }

    // Called by the windows themselves when they are created and destroyed.
    void Enter(int slot, RegisterWindow *window);
    void Leave(int slot, RegisterWindow *window);

    // The slot named by "window_<n>" in the main window's caption (its first
    // 100 characters), or -1 when the caption names none.
    static int ActiveWindowSlot(const QString &mainCaption);

private:
    std::array<RegisterWindow *, kSlots> m_windows{};
    int m_nextSlot = -1;
};

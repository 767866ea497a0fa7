#include "regmap/RegisterWindowTable.h"

#include "regmap/RowText.h"

RegisterWindow *RegisterWindowTable::At(int slot) const
{
    return slot >= 0 && slot < kSlots ? m_windows[slot] : nullptr;
}

void RegisterWindowTable::Enter(int slot, RegisterWindow *window)
{
    if (slot >= 0 && slot < kSlots)
        m_windows[slot] = window;
}

void RegisterWindowTable::Leave(int slot, RegisterWindow *window)
{
    if (slot >= 0 && slot < kSlots && m_windows[slot] == window) {
        m_windows[slot] = nullptr;
        m_nextSlot = slot;
    }
}

int RegisterWindowTable::ActiveWindowSlot(const QString &mainCaption)
{
    const QString caption = mainCaption.left(100);
    const qsizetype at = caption.indexOf(QLatin1String("window_"));
    if (at < 0)
        return -1;
    // Digits only, as an integer reading that stops at the first non-digit.
    int slot = 0;
    for (qsizetype i = at + 7; i < caption.size() && caption[i].isDigit() && caption[i].unicode() < 128; ++i) {
        slot = slot * 10 + (caption[i].unicode() - '0');
        if (slot > 1000)
            break;
    }
    return slot;
}

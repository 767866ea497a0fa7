#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class RegisterWindowView;

// The frame's document windows as the other windows use them: the register
// windows of the slots, a peripheral shown in one of them, a new memory
// window. The frame implements it; the panel, the peripheral list and the
// memory windows get it through their constructors instead of the frame.
class RegisterWindows
{
public:
    // How ShowPeripheral went.
    enum class Shown { Shown, NoPeripheral, NoWindow };

    virtual ~RegisterWindows() = default;

    // The register window of a slot; null while the slot is closed.
    virtual RegisterWindowView *Window(int slot) const = 0;
    // Opens the register window of a free slot; nothing for a slot in use.
    virtual void OpenWindow(int slot) = 0;
    // The slot of the active register window (named in the frame's caption), or -1.
    virtual int ActiveSlot() const = 0;
    // Shows the peripheral selected in the register window the user had last
    // (or, with none open, in the first free slot's new one), adding it to
    // that window when it does not show it yet, and makes that window active.
    virtual Shown ShowPeripheral(const QString &name) = 0;
    // Every open register window draws its numbers in the selected base again.
    virtual void ApplyNumberBase() = 0;
    // Lays the register windows out side by side again.
    virtual void TileWindows() = 0;
    // A new memory window at the address (the usual one when none is given).
    virtual void OpenMemoryWindow(std::optional<uint32_t> address) = 0;
    // The core window, brought forward when it is open already.
    virtual void OpenCoreWindow() = 0;

protected:
    RegisterWindows() = default;
    RegisterWindows(const RegisterWindows &) = default;
    RegisterWindows &operator=(const RegisterWindows &) = default;
};

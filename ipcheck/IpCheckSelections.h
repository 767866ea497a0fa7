#pragma once

#include <QString>

// The control panel's selectors that a run of the analyzer passes on, read
// on the user-interface thread when the run is requested.
class IpCheckSelections
{
public:
    virtual ~IpCheckSelections() = default;
    // Text of the chip selector: the current chip model.
    virtual QString ChipModel() const = 0;
    // Text of the serial port list (control 1004).
    virtual QString UartPortText() const = 0;
    // Text of the UART speed list (control 1005).
    virtual QString UartSpeedText() const = 0;
};

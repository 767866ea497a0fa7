#pragma once

#include "link/GdbRemote.h"
#include "link/JLinkLibrary.h"
#include "link/LinkCycleGate.h"
#include "link/TransferBuffer.h"
#include "link/UartLink.h"

#include <QString>

#include <atomic>
#include <functional>

// The objects of the whole run that reach a target: the one transfer buffer,
// the J-Link binding made at start-up, and the UART link with its single
// reply deadline, and the GDB server connection. Link cycles borrow them one
// at a time, through the gate.
struct TargetLinks
{
    explicit TargetLinks(UartLink::ChipModelSource chipModel)
        : uart(buffer, std::move(chipModel))
    {}

    TransferBuffer buffer;
    JLinkLibrary jlink;
    UartLink uart;
    GdbRemote gdb;
    LinkCycleGate gate;
    // Watches running now that keep the GDB server's connection open between
    // their cycles (see GdbConnectionHold), and the server it is open to;
    // the server changes only inside a cycle.
    std::atomic<int> gdbHolders{0};
    QString gdbHeldServer;
};

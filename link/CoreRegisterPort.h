#pragma once

#include "link/CoreRegisters.h"

#include <cstdint>
#include <optional>

// The core registers of the core an open link reaches. Every failure of the
// link shows its one message and closes the link, as a failed transfer does;
// a register the link cannot give is NotGiven and shows nothing.
class CoreRegisterPort
{
public:
    enum class Outcome { Done, NotGiven, Failed };

    virtual ~CoreRegisterPort() = default;

    // Whether the core is halted; nothing when the link failed.
    virtual std::optional<bool> Halted() = 0;
    virtual Outcome Read(CoreRegister id, uint32_t *value) = 0;
    virtual Outcome Write(CoreRegister id, uint32_t value) = 0;
};

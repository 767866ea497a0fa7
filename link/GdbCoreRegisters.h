#pragma once

#include "link/CoreRegisterPort.h"

#include <QByteArray>
#include <QHash>

#include <functional>

class GdbRemote;
class LinkCycle;

// The core registers through a GDB server's register packets: `p` for one
// register by the number the server's target description gives it, `g` for
// the core block when the server has no description or no `p`, `P` to write.
// A register the server does not describe is NotGiven.
class GdbCoreRegisters final : public CoreRegisterPort
{
public:
    GdbCoreRegisters(LinkCycle &cycle, GdbRemote &gdb, bool foundRunning);

    std::optional<bool> Halted() override;
    Outcome Read(CoreRegister id, uint32_t *value) override;
    Outcome Write(CoreRegister id, uint32_t value) override;

    // One register of a target description.
    struct Described
    {
        int number;
        int bits;
    };
    // The registers of a target description by lower-case name, numbered as
    // GDB numbers them (in order, from a regnum on where one is given); the
    // included files come from `fetch`. Public for its own test.
    static QHash<QByteArray, Described> Parse(const QByteArray &xml,
                                              const std::function<QByteArray(const QByteArray &)> &fetch);

private:
    bool LoadDescription();
    // A file of the description, "" when the server gives none.
    bool FetchFeatures(const QByteArray &annex, QByteArray *text);
    bool LoadBlock();
    Outcome LinkFailed(const char *registerName, bool write);

    LinkCycle &m_cycle;
    GdbRemote &m_gdb;
    bool m_foundRunning;
    bool m_described = false;
    QHash<QByteArray, Described> m_registers;
    bool m_blockLoaded = false;
    QByteArray m_block;        // the `g` reply, decoded
    bool m_singleReads = true; // until the server answers `p` with nothing
};

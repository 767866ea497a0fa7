#include "link/GdbConnectionHold.h"

#include "link/TargetLinks.h"

GdbConnectionHold::GdbConnectionHold(TargetLinks &links)
    : m_links(links)
{
    ++m_links.gdbHolders;
}

GdbConnectionHold::~GdbConnectionHold()
{
    if (--m_links.gdbHolders > 0)
        return;
    // A cycle running now ends the connection itself; the next cycle ends
    // one left over by a close that counted this hold a moment before.
    const LinkCycleGateAttempt pass(m_links.gate, LinkCycleGate::Turn::User, [] { return true; });
    if (pass.Entered())
        EndUnheld(m_links);
}

void GdbConnectionHold::EndUnheld(TargetLinks &links)
{
    if (links.gdbHolders > 0 || !links.gdb.IsConnected())
        return;
    // A target let run is detached, so it runs on; one left stopped was left
    // so by a halt that is kept.
    if (links.gdb.IsResumed())
        links.gdb.Detach();
    else
        links.gdb.Close();
    links.gdbHeldServer.clear();
}

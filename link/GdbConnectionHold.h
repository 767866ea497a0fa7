#pragma once

struct TargetLinks;

// Keeps the GDB server's connection open for the life of a watch: every
// cycle meanwhile reuses it instead of connecting and detaching. Between
// cycles the target runs (or stays halted when a halt is kept); the last
// hold to end detaches, so the target runs on as before, or closes leaving a
// halted core halted. Other links are not affected.
//
// When another cycle holds the gate as the hold ends, that cycle's close
// ends the connection in its turn (no hold is left), so the end never waits
// for a target.
class GdbConnectionHold
{
public:
    explicit GdbConnectionHold(TargetLinks &links);
    ~GdbConnectionHold();
    GdbConnectionHold(const GdbConnectionHold &) = delete;
    GdbConnectionHold &operator=(const GdbConnectionHold &) = delete;

    // The end of a connection no hold keeps any more; called inside the gate.
    static void EndUnheld(TargetLinks &links);

private:
    TargetLinks &m_links;
};

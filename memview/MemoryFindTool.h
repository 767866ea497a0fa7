#pragma once

#include "memview/MemoryFind.h"
#include "ops/Operation.h"

#include <cstdint>
#include <memory>
#include <optional>

// The find of a memory window: the request from its inputs, going on after
// the last match when the same search is asked for again, and the search as
// a target action for the one runner of actions.
class MemoryFindTool
{
public:
    // How a find ended.
    struct Outcome
    {
        enum class Kind { Found, NotFound, Cancelled, Failed };
        Kind kind = Kind::NotFound;
        uint32_t address = 0; // of the match
        uint32_t size = 0;    // of the pattern
        QString failure;      // the link's message
    };

    // The stretch to search: from `first` for `length` bytes, or from just
    // after the last match when the pattern and the end are the same and
    // that place lies in the stretch.
    MemoryFind::Request Plan(const MemoryFind::Pattern &pattern, uint32_t first, uint64_t length);

    // The search of the request last planned; `outcome` receives its end.
    TargetAction Action(const ReadRules &rules, std::shared_ptr<Outcome> outcome) const;

    // The outcome of the action on the windows' thread: a match is where the
    // same search goes on next time.
    void Take(const Outcome &outcome);

private:
    struct Place
    {
        QByteArray pattern;
        uint64_t end = 0;
        uint32_t next = 0;
    };
    MemoryFind::Request m_request;
    uint64_t m_end = 0;
    std::optional<Place> m_place;
};

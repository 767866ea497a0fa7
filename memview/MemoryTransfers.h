#pragma once

#include "ops/MemoryOps.h"

#include <cstdint>
#include <memory>

// A memory window's "保存到文件" and "从文件载入": the panel's own file
// operations as target actions for the one runner of actions, so a transfer
// shows in the busy mark and its messages come in order while it waits.
namespace MemoryTransfers {

// How a transfer ended; `entered` is false when it was cancelled while
// another action held the link, before anything was transferred.
struct Outcome
{
    bool entered = false;
    MemoryOps::Result result;
};

// The dump view handed to an action is the runner's: a window starts its
// transfers with none, so nothing reaches the panel's dump field.
// `length` bytes from `address` into the file at `path`, chosen by the
// user (MemoryFileRequest); an empty path is refused as no file chosen.
TargetAction Save(uint32_t address, uint32_t length, const QString &path, std::shared_ptr<Outcome> outcome);
// The file at `path` written from `address` on.
TargetAction Load(uint32_t address, const QString &path, std::shared_ptr<Outcome> outcome);

} // namespace MemoryTransfers

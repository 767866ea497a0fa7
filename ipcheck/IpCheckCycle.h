#pragma once

#include "ipcheck/IpRunRequest.h"

#include <atomic>

class IpCheckOutput;

namespace IpCheckCycle {
// The chip model, port and speed texts are read through buffers of this size.
inline constexpr int kSelectionLength = 49;
} // namespace IpCheckCycle

// One cycle of the IP check worker: makes the analyzer folder the current
// directory, runs the analyzer for every checked row (request -1) or for one
// enabled row, each run preceded by a separator row "  " and reported on the
// progress label, and makes the executable's folder the current directory
// again. A stop request ends the cycle after the running child.
void RunIpCheckCycle(const IpRunRequest &request, const QString &exeDir, IpCheckOutput &output,
                     const std::atomic<bool> &stop);

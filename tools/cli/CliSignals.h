#pragma once

#include <csignal>

// The requests to end a command: Ctrl+C, a termination request, a closed
// terminal, Ctrl+\. While a command reaches a target they are noted instead
// of ending the process, and the command ends at its next safe point: the
// chip gets its leave frame, the GDB server its detach.
namespace CliSignals {

inline constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

// Installs the handlers that note a stop request.
void CatchStops();
bool StopRequested();
// The set of kStopSignals, for a thread that waits for them.
sigset_t StopSet();

} // namespace CliSignals

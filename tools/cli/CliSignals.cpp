#include "tools/cli/CliSignals.h"

namespace {

volatile std::sig_atomic_t g_stopRequested = 0;

void NoteStop(int)
{
    g_stopRequested = 1;
}

} // namespace

namespace CliSignals {

void CatchStops()
{
    struct sigaction action
    {
    };
    action.sa_handler = NoteStop;
    sigemptyset(&action.sa_mask);
    // Interrupted waits are resumed with what is left of their deadlines.
    action.sa_flags = SA_RESTART;
    for (int signal : kStopSignals)
        sigaction(signal, &action, nullptr);
}

bool StopRequested()
{
    return g_stopRequested != 0;
}

sigset_t StopSet()
{
    sigset_t set;
    sigemptyset(&set);
    for (int signal : kStopSignals)
        sigaddset(&set, signal);
    return set;
}

} // namespace CliSignals

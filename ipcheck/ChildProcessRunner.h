#pragma once

#include "ipcheck/AnalyzerCommand.h"

#include <atomic>

class IpCheckOutput;

// Runs one analyzer command to the end of its output: standard output and
// standard error share one pipe, standard input and the environment are the
// parent's, and the child starts in the current directory. Its output goes
// to the output list row by row while it runs (one call per read); an
// unfinished last line is shown when the output ends. There is no time limit;
// only a stop request ends the wait early, leaving the child to itself.
// Failures show one of the runner's rows and return.
void RunChildProcess(const AnalyzerCommand &command, IpCheckOutput &output, const std::atomic<bool> &stop);

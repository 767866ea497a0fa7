#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The start state of the stand-in probe, read from the text file named by
// JLINK_STANDIN_CONFIG when the library loads. One setting per line, '#'
// starts a comment:
//
//   probes 123456 654321     serial numbers; "probes" alone: no probe
//   fault connect            see StandInControl.h for the fault names
//   fault short-read 2       short from the 2nd read on
//   memory /tmp/target.txt   memory file shared between processes
struct StandInConfig
{
    struct FaultSetting
    {
        std::string name;
        int fromCall = 1;
    };

    std::vector<uint32_t> probes{123456};
    std::vector<FaultSetting> faults;
    std::string memoryFile;

    // Lines that do not parse are described in `error` and skipped.
    static StandInConfig Parse(const std::string &text, std::string &error);
    static StandInConfig Load(const std::string &path, std::string &error);
};

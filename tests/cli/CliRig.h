#pragma once

#include "support/ChildRun.h"
#include "support/RegwinRig.h"

// An installation folder with the fixture SVD for VX21A, reached over the
// simulated chip's UART link, for corvane-cli runs on it.
struct CliRig : RegwinRig
{
    CliRig()
    {
        config.WriteInt("CHIP_TYPE", "NUM", 1);
        config.WriteText("CHIP_TYPE", "CHIP_0", "VX21A");
        config.WriteText("COMMON", "JLINKDLL", StandInPath());
    }
    ChildRun Cli(const QStringList &arguments) { return RunCli(QStringList{"--home", home.path()} + arguments); }
};

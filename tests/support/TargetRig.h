#pragma once

// A complete target set-up for operation tests: a private installation
// folder with Corvane.ini, the user stand-in, the run's links bound to the
// stand-in probe library, and a simulated chip on a pseudo-terminal.

#include "jlink/StandInHandle.h"
#include "link/ConfigFile.h"
#include "link/Settings.h"
#include "link/TargetLinks.h"
#include "support/FakeUser.h"
#include "SimulatedChip.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

class TargetRig
{
public:
    explicit TargetRig(const QString &model = "VX21A")
        : chip(ChipProfileHasUart(model) ? model : QString("VX21A"))
        , config(home.filePath("Corvane.ini"))
        , links([this] { return user.ChipModel(); })
    {
        user.chip = model;
        chipStarted = chip.Start();
        probe.Reset();
        links.jlink.Bind({StandInPath()});
        UseUart();
    }

    void UseProbe(uint32_t serialNumber = 123456)
    {
        config.WriteInt(ConfigKey::kCommon, ConfigKey::kDataType, 1);
        config.WriteText(ConfigKey::kCommon, ConfigKey::kJlinkPort, QString::number(serialNumber));
    }
    void UseUart(int speedIndex = 1)
    {
        config.WriteInt(ConfigKey::kCommon, ConfigKey::kDataType, 2);
        config.WriteText(ConfigKey::kCommon, ConfigKey::kUartPort, chip.PortPath());
        config.WriteInt(ConfigKey::kCommon, ConfigKey::kUartBaund, speedIndex);
    }
    void UseOffline() { config.WriteInt(ConfigKey::kCommon, ConfigKey::kDataType, 0); }

    QString FilePath(const QString &name) const { return home.filePath(name); }

    // True while some process holds the port's lock, i.e. the link has it open.
    bool PortHeld() const
    {
        const int fd = ::open(chip.PortPath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0)
            return true;
        const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
        ::close(fd);
        return held;
    }

    static bool ChipProfileHasUart(const QString &model)
    {
        return model == "VX21A" || model == "VX21C" || model == "VX21D";
    }

    QTemporaryDir home;
    SimulatedChip chip;
    FakeUser user;
    UserContext context = user.Context();
    ConfigFile config;
    StandInHandle probe;
    TargetLinks links;
    bool chipStarted = false;
};

#pragma once

// A complete target set-up for operation tests: a private installation
// folder with Corvane.ini, the user stand-in, the run's links bound to the
// stand-in probe library, and a simulated chip on a pseudo-terminal.

#include "support/StandInHandle.h"
#include "link/ConfigFile.h"
#include "link/Settings.h"
#include "link/TargetLinks.h"
#include "support/FakeUser.h"
#include "support/TestFiles.h"
#include "SimulatedChip.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

// The two links a target is reached over, and their names for traces.
enum class Over { Probe, Uart };
inline const char *Name(Over over)
{
    return over == Over::Probe ? "probe" : "uart";
}

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

    void Use(Over link) { link == Over::Probe ? UseProbe() : UseUart(); }
    void UseProbe(uint32_t serialNumber = 123456)
    {
        over = Over::Probe;
        config.WriteInt(ConfigKey::kCommon, ConfigKey::kDataType, 1);
        config.WriteText(ConfigKey::kCommon, ConfigKey::kJlinkPort, QString::number(serialNumber));
    }
    void UseUart(int speedIndex = 1)
    {
        over = Over::Uart;
        config.WriteInt(ConfigKey::kCommon, ConfigKey::kDataType, 2);
        config.WriteText(ConfigKey::kCommon, ConfigKey::kUartPort, chip.PortPath());
        config.WriteInt(ConfigKey::kCommon, ConfigKey::kUartBaund, speedIndex);
    }
    void UseOffline() { config.WriteInt(ConfigKey::kCommon, ConfigKey::kDataType, 0); }

    // A word of the target behind the link in use.
    void Poke(uint32_t address, uint32_t word)
    {
        over == Over::Probe ? probe.PokeWord(address, word) : chip.PokeWord(address, word);
    }
    uint32_t Peek(uint32_t address) { return over == Over::Probe ? probe.PeekWord(address) : chip.PeekWord(address); }

    QString FilePath(const QString &name) const { return home.filePath(name); }

    // Files by name in the installation folder, or by full path.
    void PutFile(const QString &file, const QByteArray &bytes) const { ::PutFile(Resolve(file), bytes); }
    QByteArray ReadFile(const QString &file) const { return FileBytes(Resolve(file)); }
    QString Resolve(const QString &file) const { return QDir::isAbsolutePath(file) ? file : FilePath(file); }

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
    Over over = Over::Uart;
};

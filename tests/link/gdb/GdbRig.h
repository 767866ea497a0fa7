#pragma once

// An installation folder whose Corvane.ini chooses the GDB server data
// source, the user stand-in and the run's links: what an operation over a
// GDB server needs, with no other target behind it.

#include "link/ConfigFile.h"
#include "link/Settings.h"
#include "link/TargetLinks.h"
#include "ops/Operation.h"
#include "support/FakeUser.h"

#include <QTemporaryDir>

#include <chrono>

struct GdbRig
{
    explicit GdbRig(const QString &server, const QString &model = "AN505")
    {
        user.chip = model;
        config.WriteInt(ConfigKey::kCommon, ConfigKey::kDataType, 3);
        config.WriteText(ConfigKey::kCommon, ConfigKey::kGdbServer, server);
    }

    QString FilePath(const QString &name) const { return home.filePath(name); }

    QTemporaryDir home;
    FakeUser user;
    UserContext context = user.Context();
    ConfigFile config{home.filePath("Corvane.ini")};
    TargetLinks links{[this] { return user.ChipModel(); }};
    OperationEnv env{config, links, context, {}};
};

// Milliseconds a call takes.
template<typename F> long long MillisecondsOf(F &&call)
{
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
}

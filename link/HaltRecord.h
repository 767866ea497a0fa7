#pragma once

#include "link/ConfigFile.h"

#include <QString>

// The cores Corvane halted on a target, until the user lets them run. A GDB
// server halts the target for every connection and lets it run at the
// detach, so only this record tells a later action to leave it halted; the
// window and corvane-cli share it through a file beside Corvane.ini
// (halted-cores.ini, section HALTED, one key per target). The file is
// written only when a halt or a run changes what it says.
struct HaltedCores
{
    bool hcpu = false;
    bool lcpu = false;

    bool Any() const { return hcpu || lcpu; }
    friend bool operator==(const HaltedCores &, const HaltedCores &) = default;
};

namespace HaltRecord {

inline constexpr char kFileName[] = "halted-cores.ini";
inline constexpr char kSection[] = "HALTED";

// The record file of the installation whose configuration file this is.
QString PathFor(const ConfigFile &config);
// A target's key: "JLINK 123456", "UART /dev/ttyUSB0", "GDB localhost:3333";
// empty for offline data.
QString TargetName(int dataSource, const QString &address);
// The target the data source and its setting select now.
QString SelectedTarget(const ConfigFile &config);

HaltedCores Read(const ConfigFile &config, const QString &target);
// False when the file refused the write; the record then stays as it was
// and *failure, when given, says why (a message naming the file, or empty).
bool Write(const ConfigFile &config, const QString &target, HaltedCores cores, QString *failure = nullptr);

} // namespace HaltRecord

#pragma once

#include "link/ConfigFile.h"

#include <QDateTime>
#include <QString>

#include <functional>

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

// One target's entry: the cores, what the link told of the target when they
// were halted (empty where it tells nothing) and when. An entry whose target
// shows another identity now, or runs, is stale: something else let the
// target run, or it started again, since.
struct HaltEntry
{
    HaltedCores cores;
    QString identity;
    QDateTime at; // UTC; invalid in entries written before identities were kept
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
HaltEntry ReadEntry(const ConfigFile &config, const QString &target);

// Changes the target's entry under the record's writer lock: the entry is
// read again, changed and written while the lock is held, so writers in
// other processes merge instead of overwriting each other. An entry without
// cores is removed. False when the file refused the write (held, unreadable,
// not UTF-8, a folder, a FIFO, read-only, too large); the record then stays as
// it was and *failure, when given, says why (a message naming the file).
bool Update(const ConfigFile &config, const QString &target, const std::function<HaltEntry(HaltEntry)> &change,
            QString *failure = nullptr);
// Sets the target's cores, as halted now by a link that tells no identity.
bool Write(const ConfigFile &config, const QString &target, HaltedCores cores, QString *failure = nullptr);

// The entry as the file keeps it ("HCPU LCPU at 2026-05-01T10:00:00Z id 1a2b…"),
// and back. Entries of older versions hold the core names alone.
QString EntryText(const HaltEntry &entry);
HaltEntry ParseEntry(const QString &text);

} // namespace HaltRecord

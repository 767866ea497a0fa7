#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

class QFile;
class TransferBuffer;

// Where snapshot files live and how they are written. A snapshot file is the
// raw image of a peripheral's address range, byte k at base + k.
namespace SnapshotFiles {

// "<home>/data/<chip>": the chip's snapshots, a register window's data folder.
QString DataFolder(const QString &home, const QString &chip);
// "<home>/data/<chip>/<name>.bin"
QString DefaultPath(const QString &home, const QString &chip, const QString &name);
// "<home>/data/temp/<name>_temp.bin", shared by every chip.
QString TemporaryPath(const QString &home, const QString &name);

// Names that become one path component: not empty, not "." or "..", no "/"
// and no NUL. Anything else could reach outside the data folder.
bool IsPlainFileName(const QString &name);

// Creates "<home>/data/<folder>" when missing, for "temp" and for any chip of
// the configuration's list, the five models of the chip table or a board
// reached over a GDB server; a name that is no plain file name makes nothing.
void MakeFolderFor(const QString &home, const QString &folder);

// Replaces the file as a whole (DiskFile::Replace): a failure, a full disk
// included, leaves the old file as it was.
bool Replace(const QString &path, const uint8_t *bytes, qint64 size);

// Opens a regular file for reading; a FIFO or a device is refused rather
// than waited on.
bool OpenForReading(QFile &file, const QString &path);

// The whole file, or nothing when it cannot be opened or is not a regular
// file.
std::optional<QByteArray> ReadAll(const QString &path);

// The message that refuses a peripheral whose image would not fit the
// transfer buffer, or nothing when it fits.
std::optional<QString> CheckFits(const QString &name, uint32_t span, uint32_t highestWordEnd);

} // namespace SnapshotFiles

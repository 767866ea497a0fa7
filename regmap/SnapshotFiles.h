#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

class TransferBuffer;

// Where snapshot files live and how they are written. A snapshot file is the
// raw image of a peripheral's address range, byte k at base + k.
namespace SnapshotFiles {

// "<home>/data/<chip>/<name>.bin"
QString DefaultPath(const QString &home, const QString &chip, const QString &name);
// "<home>/data/temp/<name>_temp.bin", shared by every chip.
QString TemporaryPath(const QString &home, const QString &name);

// Names that become one path component: not empty, not "." or "..", no "/"
// and no NUL. Anything else could reach outside the data folder.
bool IsPlainFileName(const QString &name);

// Creates the folder a default or temporary file goes into, when missing.
void MakeFolderFor(const QString &path);

// Replaces the file as a whole: written to a temporary file beside it and
// renamed over it, so a failure leaves the old file as it was.
bool Replace(const QString &path, const uint8_t *bytes, qint64 size);

// The whole file, or nothing when it cannot be opened.
std::optional<QByteArray> ReadAll(const QString &path);

// The message that refuses a peripheral whose image would not fit the
// transfer buffer, or nothing when it fits.
std::optional<QString> CheckFits(const QString &name, uint32_t span, uint32_t highestWordEnd);

} // namespace SnapshotFiles

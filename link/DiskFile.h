#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

// How files on disk are read and replaced. Every file the system replaces
// (configuration, snapshots, temporary write images, saved logs) goes through
// Replace, and every input read whole goes through ReadWhole, so a full disk,
// a FIFO or a device in place of a file is handled the same way everywhere.
namespace DiskFile {

// Size above which a configuration or database read whole is refused.
inline constexpr qint64 kTextLimit = 8 * 1024 * 1024; // configuration, databases

// Replaces the file as a whole with content. The bytes go to a new file
// beside it with checked writes, are synced and their size checked, and only
// then is the new file renamed over the old one: on any failure the old file
// stays exactly as it was. A symbolic link is followed; an existing file
// keeps its permissions. A file that is not writable is never replaced.
//
// A folder that takes no new file fails the replacement even when the file
// itself is writable: rewriting it in place could leave it half written. On
// failure errno tells why (EACCES or EROFS for such a folder).
//
// beforeRename runs once the new content is safely on disk; returning false
// abandons the replacement.
bool Replace(const QString &path, QByteArrayView content, const std::function<bool()> &beforeRename = {});

// Removes the new files Replace left beside the file when their process
// ended before the rename (killed, crashed, the power gone). A file of a
// process that still runs stays, even a stopped one: its rename may still
// come. Only safe while the caller keeps every other writer of the file out.
void RemoveAbandoned(const QString &path);

// Opens an existing regular file for reading without ever blocking on a FIFO
// or a device: anything that is not a regular file is refused. The descriptor
// is blocking again when returned; -1 when refused or not openable.
int OpenRegular(const QString &path);

// Opens the output of a transfer into a file, never blocking: a regular
// file (made when missing, emptied when there) or a character device the user
// named on purpose (/dev/null, a terminal). A FIFO, a socket, a folder or a
// block device is refused: a FIFO without a reader would take 64 KiB and then
// block for ever. The descriptor stays non-blocking, for WriteWithin; -1 when
// refused (errno EINVAL) or not openable (errno says why).
int OpenOutput(const QString &path);

// Whether OpenOutput would take the path by its kind: missing, a regular
// file or a character device.
bool TakesOutput(const QString &path);

// How a write with a deadline ended.
enum class WriteEnd { Written, Failed, Stalled, Stopped };
// Writes all bytes to a descriptor of OpenOutput. An output that takes
// nothing for deadlineMs (a stopped terminal) is Stalled; stopRequested,
// asked while it waits, ends the wait as Stopped. Failed leaves errno.
WriteEnd WriteWithin(int fd, const char *bytes, qint64 size, int deadlineMs,
                     const std::function<bool()> &stopRequested = {});

// The whole content of a regular file of at most maxBytes, or nothing.
std::optional<QByteArray> ReadWhole(const QString &path, qint64 maxBytes);

// True when the path names an existing regular file (a symbolic link to one
// counts).
bool IsRegular(const QString &path);

} // namespace DiskFile

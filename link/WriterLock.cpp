#include "link/WriterLock.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kRetryMs = 2;

// The file, or its folder while the file does not exist; -1 when neither
// opens (the write then goes on without the lock).
int OpenLockTarget(const QByteArray &file, const QByteArray &folder, bool *onFolder)
{
    const int fd = ::open(file.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    *onFolder = fd < 0 && errno == ENOENT;
    if (!*onFolder)
        return fd;
    return ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

// Still what the path names: the file (same inode) or, for the folder, a
// file that is still missing.
bool StillCurrent(int fd, const QByteArray &file, bool onFolder)
{
    struct stat now
    {
    };
    const bool exists = ::stat(file.constData(), &now) == 0;
    if (onFolder)
        return !exists;
    struct stat held
    {
    };
    return exists && ::fstat(fd, &held) == 0 && held.st_dev == now.st_dev && held.st_ino == now.st_ino;
}

} // namespace

WriterLock::WriterLock(const QString &path, int waitMs)
{
    const QByteArray file = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        bool onFolder = false;
        const int fd = OpenLockTarget(file, folder, &onFolder);
        if (fd < 0) {
            // Nothing to lock (no read permission): a lone writer can still
            // write, so do not stand in its way.
            m_held = true;
            return;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (StillCurrent(fd, file, onFolder)) {
                m_fd = fd;
                m_held = true;
                return;
            }
            ::close(fd); // replaced while we waited: lock the new one
            continue;
        }
        ::close(fd);
        if (clock.elapsed() >= waitMs)
            return;
        ::usleep(kRetryMs * 1000);
    }
}

WriterLock::~WriterLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

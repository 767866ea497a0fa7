#include "link/WriterLock.h"

#include <QElapsedTimer>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kRetryMs = 2;

// The file; a missing file is made (empty) so there is an inode to lock. The
// folder itself is not locked: the running program holds its installation
// folder as its one-copy lock. -1 when neither opens (no permission: the
// write then goes on without the lock and meets the same refusal).
int OpenLockTarget(const QByteArray &file, bool *made)
{
    *made = false;
    const int fd = ::open(file.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0 || errno != ENOENT)
        return fd;
    const int created = ::open(file.constData(), O_RDONLY | O_CREAT | O_EXCL | O_NONBLOCK | O_CLOEXEC, 0666);
    if (created >= 0) {
        *made = true;
        return created;
    }
    // Another writer made it first: lock that one.
    return errno == EEXIST ? ::open(file.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC) : -1;
}

// Still what the path names: the same inode.
bool StillCurrent(int fd, const QByteArray &file)
{
    struct stat now
    {
    };
    struct stat held
    {
    };
    return ::stat(file.constData(), &now) == 0 && ::fstat(fd, &held) == 0 && held.st_dev == now.st_dev &&
           held.st_ino == now.st_ino;
}

} // namespace

WriterLock::WriterLock(const QString &path, int waitMs)
    : m_file(QFile::encodeName(path))
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        bool made = false;
        const int fd = OpenLockTarget(m_file, &made);
        if (fd < 0) {
            // Nothing to lock (no permission): a lone writer can still
            // write, so do not stand in its way.
            m_held = true;
            return;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            if (StillCurrent(fd, m_file)) {
                m_fd = fd;
                m_made = made;
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
    if (m_fd < 0)
        return;
    // The empty file made only to hold the lock goes again when the write
    // left nothing in it (a failed write, or a removal from no file).
    struct stat held
    {
    };
    if (m_made && StillCurrent(m_fd, m_file) && ::fstat(m_fd, &held) == 0 && held.st_size == 0)
        ::unlink(m_file.constData());
    ::close(m_fd);
}

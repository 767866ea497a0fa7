#include "app/InstanceLock.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

bool InstanceLock::TryAcquire(const QString &folder)
{
    if (m_fd >= 0)
        return true;
    // The folder's own inode is the lock: the same folder reached by any
    // path, from any environment, finds the same one.
    const QByteArray path = QFile::encodeName(folder);
    const int fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

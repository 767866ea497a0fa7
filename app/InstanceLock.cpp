#include "app/InstanceLock.h"

#include <QCryptographicHash>
#include <QDir>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString InstanceLock::LockName(const QString &exeDir, const QString &appName)
{
    QString name = exeDir;
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return name + appName;
}

QString InstanceLock::LockFilePath(const QString &lockName)
{
    // A folder path may be longer than a file name may be; the hash keeps
    // the name short and still one per folder.
    const QByteArray hash = QCryptographicHash::hash(lockName.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QDir(QDir::tempPath()).filePath(QStringLiteral("corvane-%1.lock").arg(QString::fromLatin1(hash)));
}

bool InstanceLock::TryAcquire(const QString &lockName)
{
    if (m_fd >= 0)
        return true;
    const QByteArray path = QFile::encodeName(LockFilePath(lockName));
    int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0)  // made by another user: a read-only descriptor locks as well
        fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

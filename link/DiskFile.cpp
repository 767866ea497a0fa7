#include "link/DiskFile.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace DiskFile {

namespace {

QAtomicInteger<unsigned> g_serial;

bool WriteAll(int fd, const char *bytes, qint64 size, off_t at)
{
    qint64 done = 0;
    while (done < size) {
        const ssize_t put = ::pwrite(fd, bytes + done, size_t(size - done), at + done);
        if (put < 0 && errno == EINTR)
            continue;
        if (put <= 0)
            return false;
        done += put;
    }
    return true;
}

// Synced, closed and of the expected size; closes fd in every case.
bool Finish(int fd, qint64 size)
{
    struct stat written
    {
    };
    const bool ok = ::fsync(fd) == 0 && ::fstat(fd, &written) == 0 && written.st_size == size;
    return (::close(fd) == 0) && ok;
}

// What the path names in the end: the file a symbolic link points at.
QFileInfo TargetOf(const QString &path)
{
    QFileInfo info(path);
    if (info.isSymLink() && info.exists())
        info = QFileInfo(info.canonicalFilePath());
    return info;
}

const char kNewMark[] = ".new";

// The process that made a new file beside `file` ("<file>.new<pid>-<serial>"),
// or 0 when the name is not one of these.
pid_t MakerOf(const QString &entry, const QString &file)
{
    const QString prefix = file + QLatin1StringView(kNewMark);
    if (!entry.startsWith(prefix))
        return 0;
    const QStringView rest = QStringView(entry).mid(prefix.size());
    const qsizetype dash = rest.indexOf(u'-');
    const auto digits = [](QStringView text) {
        return !text.isEmpty() && text.size() <= 10 &&
               std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    };
    if (dash < 0 || !digits(rest.left(dash)) || !digits(rest.mid(dash + 1)))
        return 0;
    const qlonglong pid = rest.left(dash).toLongLong();
    return pid > 0 && pid <= 0x7FFFFFFF ? pid_t(pid) : 0;
}

// A new file beside the target, created with the permissions a new file of
// the user gets (umask applied); -1 when the folder takes no new file.
int CreateBeside(const QByteArray &target, QByteArray &name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + kNewMark + QByteArray::number(::getpid()) + '-' + QByteArray::number(++g_serial);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

} // namespace

bool Replace(const QString &path, QByteArrayView content, const std::function<bool()> &beforeRename)
{
    const QByteArray target = QFile::encodeName(TargetOf(path).filePath());
    struct stat old
    {
    };
    const bool exists = ::stat(target.constData(), &old) == 0;
    constexpr mode_t kAnyWrite = S_IWUSR | S_IWGRP | S_IWOTH;
    // Only a regular file is replaced; a read-only one stays, even for root.
    if (exists && (!S_ISREG(old.st_mode) || !(old.st_mode & kAnyWrite))) {
        errno = EINVAL;
        return false;
    }

    QByteArray name;
    const int fd = CreateBeside(target, name);
    if (fd < 0)
        return false; // errno tells why: EACCES or EROFS for a folder that takes no new file
    if (exists) {
        ::fchmod(fd, old.st_mode & 07777);
        if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Only root may hand a file to another owner; the content matters more.
        }
    }
    bool written = WriteAll(fd, content.data(), content.size(), 0);
    if (written)
        written = Finish(fd, content.size()); // closes fd
    else
        ::close(fd);
    if (!written || (beforeRename && !beforeRename()) || ::rename(name.constData(), target.constData()) != 0) {
        ::unlink(name.constData());
        return false;
    }
    return true;
}

void RemoveAbandoned(const QString &path)
{
    const QFileInfo target = TargetOf(path);
    const QDir folder = target.dir();
    const QString file = target.fileName();
    const QStringList entries = folder.entryList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString &entry : entries) {
        const pid_t maker = MakerOf(entry, file);
        // kill(pid, 0) tells whether the process is there; EPERM means it is
        // someone else's, and running.
        if (maker > 0 && maker != ::getpid() && ::kill(maker, 0) != 0 && errno == ESRCH)
            ::unlink(QFile::encodeName(folder.filePath(entry)).constData());
    }
}

int OpenRegular(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat info
    {
    };
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return -1;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

namespace {

bool IsOutputKind(const struct stat &info)
{
    return S_ISREG(info.st_mode) || S_ISCHR(info.st_mode);
}

} // namespace

bool TakesOutput(const QString &path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) != 0 || IsOutputKind(info);
}

int OpenOutput(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    if (!TakesOutput(path)) {
        errno = EINVAL;
        return -1;
    }
    struct stat info
    {
    };
    // Non-blocking from the start: even the open of a FIFO waits for a reader.
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0)
        return -1;
    // Checked again on what was opened: the path may have changed in between.
    if (::fstat(fd, &info) != 0 || !IsOutputKind(info)) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    if (S_ISREG(info.st_mode) && ::ftruncate(fd, 0) != 0) {
        const int error = errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

WriteEnd WriteWithin(int fd, const char *bytes, qint64 size, int deadlineMs, const std::function<bool()> &stopRequested)
{
    constexpr int kSliceMs = 50; // how often a stop request is looked at while waiting
    qint64 done = 0;
    int waitedMs = 0;
    while (done < size) {
        const ssize_t put = ::write(fd, bytes + done, size_t(size - done));
        if (put > 0) {
            done += put;
            waitedMs = 0; // the deadline counts from the last progress
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return WriteEnd::Failed;
        if (put == 0) {
            errno = EIO;
            return WriteEnd::Failed;
        }
        if (stopRequested && stopRequested())
            return WriteEnd::Stopped;
        if (waitedMs >= deadlineMs)
            return WriteEnd::Stalled;
        pollfd entry{fd, POLLOUT, 0};
        const int slice = std::min(kSliceMs, deadlineMs - waitedMs);
        QElapsedTimer clock;
        clock.start();
        ::poll(&entry, 1, slice);
        waitedMs += std::max<int>(1, int(clock.elapsed()));
    }
    return WriteEnd::Written;
}

std::optional<QByteArray> ReadWhole(const QString &path, qint64 maxBytes)
{
    const int fd = OpenRegular(path);
    if (fd < 0)
        return std::nullopt;
    QByteArray content;
    // Read up to one byte past the limit: a file that grows while it is read
    // is still refused.
    char chunk[65536];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 || content.size() + got > maxBytes) {
            ::close(fd);
            return std::nullopt;
        }
        if (got == 0)
            break;
        content.append(chunk, got);
    }
    ::close(fd);
    return content;
}

bool IsRegular(const QString &path)
{
    struct stat info
    {
    };
    return ::stat(QFile::encodeName(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace DiskFile

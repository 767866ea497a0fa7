#include "link/SerialPort.h"

#include "link/LinkMessages.h"
#include "link/MessageText.h"
#include "link/Tr.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// A write that makes no progress for this long is abandoned: nobody is
// draining the line.
constexpr int kWriteStallMs = 1000;

void MakeRaw(int fd)
{
    struct termios tio;
    if (tcgetattr(fd, &tio) != 0)
        return;
    tio.c_iflag &= ~(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | IXON | IXOFF | IXANY);
    tio.c_oflag &= ~OPOST;
    tio.c_lflag &= ~(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS);
    tio.c_cflag |= CS8 | CLOCAL | CREAD;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    tcsetattr(fd, TCSANOW, &tio);
}

} // namespace

SerialPort SerialPort::Open(const QString &name, uint32_t baud)
{
    if (name.isEmpty())
        return {};
    const QString path = name.contains(QLatin1Char('/')) ? name : QStringLiteral("/dev/") + name;
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Refused(path, errno);
    SerialPort port(fd);
    // Only a terminal is a port. The lock comes first: a second opener must
    // not touch the exclusive mark of the holder.
    if (!isatty(fd))
        return Refused(path, ENOTTY);
    // A lock another opener holds is a busy port, as TIOCEXCL makes it for
    // everyone but root.
    if (flock(fd, LOCK_EX | LOCK_NB) != 0)
        return Refused(path, errno == EWOULDBLOCK ? EBUSY : errno);
    port.m_exclusive = ioctl(fd, TIOCEXCL) == 0;
    MakeRaw(fd);
    SerialSpeed::Apply(fd, baud);
    int lines = TIOCM_DTR | TIOCM_RTS;
    ioctl(fd, TIOCMBIC, &lines);
    port.Purge();
    return port;
}

SerialPort SerialPort::Refused(const QString &path, int error)
{
    SerialPort refused;
    const QString reason = error == ENOTTY ? Tr(LinkMessages::kNotATerminal) : qt_error_string(error);
    refused.m_openFailure =
        MessageText::Format(LinkMessages::kPortReason, path.toUtf8().constData(), reason.toUtf8().constData());
    return refused;
}

SerialPort::~SerialPort()
{
    Close();
}

SerialPort::SerialPort(SerialPort &&other) noexcept
    : m_fd(other.m_fd)
    , m_exclusive(other.m_exclusive)
    , m_failed(other.m_failed)
    , m_writeTap(std::move(other.m_writeTap))
    , m_openFailure(std::move(other.m_openFailure))
{
    other.m_fd = -1;
    other.m_exclusive = false;
    other.m_failed = false;
}

SerialPort &SerialPort::operator=(SerialPort &&other) noexcept
{
    if (this != &other) {
        Close();
        m_fd = other.m_fd;
        m_exclusive = other.m_exclusive;
        m_failed = other.m_failed;
        m_writeTap = std::move(other.m_writeTap);
        m_openFailure = std::move(other.m_openFailure);
        other.m_fd = -1;
        other.m_exclusive = false;
        other.m_failed = false;
    }
    return *this;
}

void SerialPort::Close()
{
    if (m_fd < 0)
        return;
    // Someone else may keep the terminal open (a simulated chip does); let
    // the next opener in.
    if (m_exclusive)
        ioctl(m_fd, TIOCNXCL);
    ::close(m_fd);
    m_fd = -1;
    m_exclusive = false;
    m_failed = false;
}

// Only what came in is dropped. Whatever this side wrote is on its way to
// the chip and must stay: a leave request written just before the previous
// close may not have reached the other end yet (on a pseudo-terminal an
// output flush throws away what the other end has not read).
void SerialPort::Purge()
{
    if (m_fd >= 0)
        tcflush(m_fd, TCIFLUSH);
}

int SerialPort::QueuedBytes()
{
    int queued = 0;
    if (m_fd < 0)
        return 0;
    if (ioctl(m_fd, FIONREAD, &queued) != 0) {
        m_failed = true; // EIO once the far end is gone
        return 0;
    }
    return queued < 0 ? 0 : queued;
}

int SerialPort::Read(uint8_t *into, int count)
{
    if (m_fd < 0 || count <= 0)
        return 0;
    for (;;) {
        const ssize_t got = ::read(m_fd, into, size_t(count));
        if (got >= 0)
            return int(got);
        if (errno != EINTR) {
            m_failed = errno != EAGAIN && errno != EWOULDBLOCK;
            return 0;
        }
    }
}

int SerialPort::Write(const uint8_t *from, int count)
{
    if (m_fd < 0 || count <= 0)
        return 0;
    if (m_writeTap)
        m_writeTap(count);
    int done = 0;
    while (done < count) {
        const ssize_t put = ::write(m_fd, from + done, size_t(count - done));
        if (put > 0) {
            done += int(put);
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            break;
        pollfd pfd{m_fd, POLLOUT, 0};
        const int ready = ::poll(&pfd, 1, kWriteStallMs);
        if (ready == 0 || (ready > 0 && !(pfd.revents & POLLOUT)))
            break;
    }
    return done;
}

bool SerialPort::WaitReadable(uint32_t milliseconds)
{
    if (m_fd < 0)
        return false;
    const int timeout = milliseconds > 0x7FFFFFFFu ? 0x7FFFFFFF : int(milliseconds);
    pollfd pfd{m_fd, POLLIN, 0};
    const int ready = ::poll(&pfd, 1, timeout);
    if (ready > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL))) {
        // Hung up or failed: nothing more will arrive. Bytes still queued
        // may be taken; the caller learns at once that no more will come.
        m_failed = true;
        return QueuedBytes() > 0;
    }
    return ready > 0 && (pfd.revents & POLLIN);
}

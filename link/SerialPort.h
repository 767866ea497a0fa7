#pragma once

#include <QString>

#include <cstdint>
#include <functional>

// An open serial device, or the invalid handle. The operating system stays
// behind these few functions; everything above them is portable.
// Move-only: the descriptor closes with its last owner.
class SerialPort
{
public:
    SerialPort() = default;
    ~SerialPort();
    SerialPort(SerialPort &&other) noexcept;
    SerialPort &operator=(SerialPort &&other) noexcept;
    SerialPort(const SerialPort &) = delete;
    SerialPort &operator=(const SerialPort &) = delete;

    // A name without "/" is taken under /dev/; an empty name fails. The port
    // is held exclusively (TIOCEXCL plus a non-blocking flock), set raw, 8N1,
    // without flow control, DTR and RTS low, at the given baud rate. Failures
    // to apply line settings are ignored: a pseudo-terminal refuses some.
    static SerialPort Open(const QString &name, uint32_t baud);

    bool IsOpen() const { return m_fd >= 0; }
    // Why Open() gave no port: the path and the system's reason ("/dev/ttyUSB0:
    // Device or resource busy"). Empty for an open port and for an empty name.
    const QString &OpenFailure() const { return m_openFailure; }
    void Close();
    void Purge();                              // drop everything received and not yet read
    int QueuedBytes();                         // bytes ready to read; 0 on error
    int Read(uint8_t *into, int count);        // bytes read, never negative
    int Write(const uint8_t *from, int count); // bytes written
    bool WaitReadable(uint32_t milliseconds);  // true when bytes may be read
    // The far end hung up or the device failed (a USB adapter unplugged):
    // once nothing is queued, no byte will ever come.
    bool HasFailed() const { return m_failed; }

    int Descriptor() const { return m_fd; }

    // Sees the byte count of every Write call before it is written: how the
    // link paces its frames, as the line receives them.
    void SetWriteTap(std::function<void(int count)> tap) { m_writeTap = std::move(tap); }

private:
    explicit SerialPort(int fd)
        : m_fd(fd)
    {}
    static SerialPort Refused(const QString &path, int error);

    int m_fd = -1;
    bool m_exclusive = false;
    bool m_failed = false;
    std::function<void(int)> m_writeTap;
    QString m_openFailure;
};

// Arbitrary baud rates through termios2 (BOTHER). Kept in their own unit:
// the kernel's termios2 header cannot share one with <termios.h>.
namespace SerialSpeed {
bool Apply(int fd, uint32_t baud);
uint32_t Current(int fd); // output rate of the line; 0 when unknown
} // namespace SerialSpeed

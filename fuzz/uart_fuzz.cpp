// Any bytes as the chip's replies in the UART debug mode, over a real
// pseudo-terminal: entering the mode, a read, a write and a second read, in
// either frame layout and at any line speed (the fast ones send byte by
// byte). Input: layout and speed (one byte), the three transfer sizes (one
// byte each), then each reply with a one-byte length before it. A reply is
// put on the line as its request goes out; the link's clock runs out the
// moment nothing is left to take, so a short reply costs no waiting.
// - an exchange that works found its reply in the bytes: a read's data is
//   the data after a read reply header, before the status 06;
// - an exact reply always works.
#include "FuzzSupport.h"

#include "link/TransferBuffer.h"
#include "link/UartFrame.h"
#include "link/UartLink.h"

#include <QElapsedTimer>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

using ChipProfile::FrameLayout;

namespace {

// The chip's end of the line.
struct ChipEnd
{
    ChipEnd()
    {
        master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        Fuzz::Check(master >= 0 && ::grantpt(master) == 0 && ::unlockpt(master) == 0);
        portPath = QString::fromLocal8Bit(::ptsname(master));
    }

    // Puts the reply on the line and waits until the port can take all of
    // it, so that "nothing queued" means "nothing more will come".
    void Send(int portFd, const QByteArray &reply)
    {
        Drain();
        if (reply.isEmpty())
            return;
        Fuzz::Check(::write(master, reply.constData(), size_t(reply.size())) == reply.size());
        QElapsedTimer waited;
        waited.start();
        int queued = 0;
        while ((::ioctl(portFd, FIONREAD, &queued) != 0 || queued < reply.size()) && waited.elapsed() < 2000)
            ::usleep(20);
    }

    // What the link sent: read and dropped.
    void Drain()
    {
        char sink[4096];
        while (::read(master, sink, sizeof sink) > 0) {
        }
    }

    int master = -1;
    QString portPath;
};

// Time stands still while the port has bytes queued and jumps past every
// limit once it has none: no reply ever comes later than its bytes.
class LineClock : public MillisecondClock
{
public:
    uint32_t NowMs() override
    {
        if (!port || port->QueuedBytes() == 0)
            m_now += 1000000;
        return m_now;
    }
    SerialPort *port = nullptr;

private:
    uint32_t m_now = 0;
};

// Some place p where the read reply header, `count` data bytes and the
// status 06 follow each other, with exactly the data read.
bool ReplyHolds(const QByteArray &reply, const QByteArray &head, const uint8_t *data, int count, FrameLayout layout)
{
    QByteArray expected(reinterpret_cast<const char *>(data), count);
    if (layout == FrameLayout::BigEndian)
        UartFrame::ReverseWords(reinterpret_cast<uint8_t *>(expected.data()), count);
    for (qsizetype p = reply.indexOf(head); p >= 0; p = reply.indexOf(head, p + 1)) {
        const qsizetype dataAt = p + head.size();
        if (dataAt + count < reply.size() && reply.mid(dataAt, count) == expected &&
            uint8_t(reply[dataAt + count]) == UartFrame::kStatusOk)
            return true;
    }
    return false;
}

void CheckRead(UartLink &link, SerialPort &port, TransferBuffer &buffer, FrameLayout layout, int count,
               const QByteArray &reply)
{
    const int rounded = (count + 3) & ~3;
    const QByteArray head = UartFrame::ReadReplyHead(layout, uint16_t(rounded));
    const bool exact = reply.size() == head.size() + rounded + 1 && reply.startsWith(head) &&
                       uint8_t(reply.back()) == UartFrame::kStatusOk;
    std::memset(buffer.data(), 0xEE, std::size_t(rounded));
    const bool read = link.ReadMem(port, 0x20000000, uint16_t(count));
    Fuzz::Check(read || !exact);
    Fuzz::Check(!read || ReplyHolds(reply, head, buffer.data(), rounded, layout));
}

void CheckShortReply(bool worked, const QByteArray &reply, const QByteArray &expected)
{
    Fuzz::Check(worked || reply != expected);
    Fuzz::Check(!worked || reply.contains(expected));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static ChipEnd chip;
    Fuzz::InputReader input(data, size);
    const std::uint8_t setting = input.Byte();
    const FrameLayout layout = setting & 1 ? FrameLayout::BigEndian : FrameLayout::LittleEndian;
    const int speedIndex = (setting >> 1) % 7;
    const int firstRead = 1 + input.Byte() % 64;
    const int written = 1 + input.Byte() % 64;
    const int secondRead = 1 + input.Byte() % 64;
    QByteArray replies[4];
    for (QByteArray &reply : replies)
        reply = input.Part().toByteArray();

    TransferBuffer buffer;
    UartLink link(buffer,
                  [layout] { return QString::fromLatin1(layout == FrameLayout::BigEndian ? "VX21C" : "VX21A"); });
    LineClock clock;
    link.SetClock(&clock);
    SerialPort port = link.OpenPort(chip.portPath, speedIndex);
    Fuzz::Check(port.IsOpen());
    clock.port = &port;
    const QByteArray *next = nullptr;
    // The reply goes out with the request's first byte, after the link has
    // dropped what came before.
    port.SetWriteTap([&](int) {
        chip.Send(port.Descriptor(), next ? *next : QByteArray());
        next = nullptr;
    });

    next = &replies[0];
    CheckShortReply(link.EnterDebugMode(port), replies[0], UartFrame::EnterReply(layout));
    next = &replies[1];
    CheckRead(link, port, buffer, layout, firstRead, replies[1]);
    std::memset(buffer.data(), 0x5A, 256);
    next = &replies[2];
    CheckShortReply(link.WriteMem(port, 0x20000000, uint16_t(written)), replies[2], UartFrame::WriteReply(layout));
    next = &replies[3];
    CheckRead(link, port, buffer, layout, secondRead, replies[3]);
    next = nullptr;
    link.LeaveDebugMode(port);
    chip.Drain();
    return 0;
}

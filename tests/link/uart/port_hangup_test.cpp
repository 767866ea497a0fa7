// A serial port whose far end goes away mid-exchange (the adapter unplugged,
// the other side closed): the exchange fails at once instead of spinning on
// the dead port until its time limit.

#include "link/TransferBuffer.h"
#include "link/UartLink.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

// Every look at the clock moves it on by one millisecond, so the number of
// looks counts the turns of the receive loop; real time never decides.
struct CountingClock : MillisecondClock
{
    uint32_t NowMs() override { return uint32_t(++looks); }
    std::atomic<int> looks{0};
};

// The far end only tries; whatever happens, it goes away.
void Ignore(ssize_t) {}

// The far end of a pseudo-terminal: takes the first bytes of a request,
// optionally answers part of the reply, then goes away.
class VanishingFarEnd
{
public:
    VanishingFarEnd()
    {
        m_master = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (m_master >= 0 && ::grantpt(m_master) == 0 && ::unlockpt(m_master) == 0)
            m_slave = QString::fromLocal8Bit(::ptsname(m_master));
    }
    ~VanishingFarEnd()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    const QString &PortPath() const { return m_slave; }

    void HangUpAfterRequest(QByteArray partialReply)
    {
        m_thread = std::thread([this, partialReply] {
            pollfd pfd{m_master, POLLIN, 0};
            char request[64];
            if (::poll(&pfd, 1, 10000) > 0)
                Ignore(::read(m_master, request, sizeof request));
            if (!partialReply.isEmpty())
                Ignore(::write(m_master, partialReply.constData(), partialReply.size()));
            ::usleep(20000); // let the partial reply reach the port first
            ::close(m_master);
        });
    }

private:
    int m_master = -1;
    QString m_slave;
    std::thread m_thread;
};

TEST(PortHangUp, EndsTheExchangeAtOnce)
{
    struct Case
    {
        const char *name;
        QByteArray partialReply;
    };
    const Case cases[] = {
        {"nothing arrived", {}},
        {"half the reply arrived", QByteArray::fromHex("7e790200")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        VanishingFarEnd farEnd;
        ASSERT_FALSE(farEnd.PortPath().isEmpty());
        TransferBuffer buffer;
        UartLink link(buffer, [] { return QStringLiteral("VX21A"); });
        CountingClock clock;
        link.SetClock(&clock);
        SerialPort port = link.OpenPort(farEnd.PortPath(), 1);
        ASSERT_TRUE(port.IsOpen());
        farEnd.HangUpAfterRequest(c.partialReply);
        EXPECT_FALSE(link.ReadMem(port, 0x20000000, 4));
        EXPECT_TRUE(port.HasFailed());
        // A few turns of the loop, never one per millisecond of the limit.
        EXPECT_LT(clock.looks.load(), 20);
    }
}

} // namespace

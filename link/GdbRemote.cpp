#include "link/GdbRemote.h"

#include <QList>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// A header "Xaaaaaaaa,llllllll:" and some slack never exceed this.
constexpr int kWriteHeaderReserve = 24;
// Bounds on what a server may claim; beyond them it is taken at the bound.
constexpr int kSmallestPacket = 64;
constexpr int kLargestPacket = 1 << 20;
// A reply longer than this is garbage, whatever the server claimed.
constexpr int kLongestReply = 2 * kLargestPacket + 64;
constexpr int kResendLimit = 3;

int64_t NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int RemainingMs(int64_t deadlineMs)
{
    const int64_t left = deadlineMs - NowMs();
    return left > 0 ? int(left) : 0;
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool IsStopReply(const QByteArray &reply)
{
    return !reply.isEmpty() && (reply[0] == 'S' || reply[0] == 'T');
}

// Console output the server sends while the target runs: "O" and hex digits.
bool IsConsoleOutput(const QByteArray &reply)
{
    if (reply.size() < 3 || reply[0] != 'O' || reply.size() % 2 == 0)
        return false;
    for (int i = 1; i < reply.size(); ++i)
        if (HexValue(reply[i]) < 0)
            return false;
    return true;
}

bool WaitUntilWritable(int socket, int64_t deadlineMs)
{
    for (;;) {
        pollfd entry{socket, POLLOUT, 0};
        const int ready = ::poll(&entry, 1, RemainingMs(deadlineMs));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

// One non-blocking connect bounded by the deadline; the socket or -1.
int ConnectTo(const addrinfo &address, int64_t deadlineMs)
{
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, address.ai_protocol);
    if (fd < 0)
        return -1;
    if (::connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
        int error = errno;
        if (error == EINPROGRESS && WaitUntilWritable(fd, deadlineMs)) {
            socklen_t size = sizeof error;
            if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) != 0)
                error = errno;
        } else if (error == EINPROGRESS) {
            error = ETIMEDOUT;
        }
        if (error != 0) {
            ::close(fd);
            return -1;
        }
    }
    const int on = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    return fd;
}

} // namespace

GdbRemote::~GdbRemote()
{
    Close();
}

bool GdbRemote::SplitServer(const QString &server, QByteArray *host, uint16_t *port)
{
    const QString text = server.trimmed();
    const int colon = text.lastIndexOf(':');
    if (colon < 0)
        return false;
    QString name = text.left(colon);
    if (name.startsWith('[') && name.endsWith(']'))
        name = name.mid(1, name.size() - 2);
    bool ok = false;
    const uint value = text.mid(colon + 1).toUInt(&ok, 10);
    if (!ok || value == 0 || value > 65535)
        return false;
    *host = name.isEmpty() ? QByteArray("localhost") : name.toUtf8();
    *port = uint16_t(value);
    return true;
}

bool GdbRemote::Open(const QString &server)
{
    if (Connect(server) && ExchangeFeatures() && StopTarget())
        return true;
    Close();
    return false;
}

bool GdbRemote::Connect(const QString &server)
{
    Close();
    QByteArray host;
    uint16_t port = 0;
    if (!SplitServer(server, &host, &port))
        return false;
    const int64_t deadline = NowMs() + kConnectTimeoutMs;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (::getaddrinfo(host.constData(), QByteArray::number(port).constData(), &hints, &found) != 0)
        return false;
    for (addrinfo *address = found; address && m_socket < 0 && RemainingMs(deadline) > 0; address = address->ai_next)
        m_socket = ConnectTo(*address, deadline);
    ::freeaddrinfo(found);
    m_noAck = false;
    m_binaryWrites = true;
    m_packetSize = 400;
    m_processId = "1";
    return m_socket >= 0;
}

bool GdbRemote::ExchangeFeatures()
{
    QByteArray reply;
    if (!Transact("qSupported:swbreak+;hwbreak+", &reply) || reply.startsWith('E'))
        return false;
    bool offersNoAck = false;
    for (const QByteArray &feature : reply.split(';')) {
        if (feature.startsWith("PacketSize=")) {
            bool ok = false;
            const int size = feature.mid(11).toInt(&ok, 16);
            if (ok)
                m_packetSize = qBound(kSmallestPacket, size, kLargestPacket);
        } else if (feature == "QStartNoAckMode+") {
            offersNoAck = true;
        }
    }
    if (offersNoAck) {
        if (!Transact("QStartNoAckMode", &reply))
            return false;
        m_noAck = reply == "OK";
    }
    return true;
}

bool GdbRemote::StopTarget()
{
    if (!SendPacket("?"))
        return false;
    QByteArray reply;
    if (!ReceivePacket(&reply, m_replyTimeoutMs))
        return Interrupt(); // a server that lets the target run answers only once it stops
    if (!IsStopReply(reply))
        return false; // exited, error or nonsense: no target to work on
    NoteProcess(reply);
    return true;
}

// "T05thread:p1f.01;" names the process in multiprocess mode.
void GdbRemote::NoteProcess(const QByteArray &stopReply)
{
    const int at = stopReply.indexOf("thread:p");
    if (at < 0)
        return;
    const int start = at + 8;
    int end = start;
    while (end < stopReply.size() && HexValue(stopReply[end]) >= 0)
        ++end;
    if (end > start)
        m_processId = stopReply.mid(start, end - start);
}

bool GdbRemote::Interrupt()
{
    return SendRaw(QByteArray(1, '\x03')) && WaitForStop(m_replyTimeoutMs);
}

bool GdbRemote::WaitForStop(int timeoutMs)
{
    const int64_t deadline = NowMs() + timeoutMs;
    QByteArray reply;
    while (ReceivePacket(&reply, RemainingMs(deadline))) {
        if (IsStopReply(reply)) {
            NoteProcess(reply);
            return true;
        }
        if (!IsConsoleOutput(reply))
            return false;
    }
    return false;
}

bool GdbRemote::ReadMemory(uint32_t address, uint32_t byteCount, uint8_t *data)
{
    if (!IsConnected())
        return false;
    const uint32_t chunk = uint32_t(m_packetSize / 2);
    for (uint32_t done = 0; done < byteCount;) {
        const uint32_t count = qMin(chunk, byteCount - done);
        if (!ReadChunk(address + done, count, data + done))
            return false;
        done += count;
    }
    return true;
}

bool GdbRemote::ReadChunk(uint32_t address, uint32_t count, uint8_t *data)
{
    QByteArray reply;
    if (!Transact("m" + QByteArray::number(address, 16) + ',' + QByteArray::number(count, 16), &reply))
        return false;
    // Error replies ("E14", "E.text") never have the exact length of the data.
    if (reply.size() != qsizetype(count) * 2)
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        const int high = HexValue(reply[2 * i]);
        const int low = HexValue(reply[2 * i + 1]);
        if (high < 0 || low < 0)
            return false;
        data[i] = uint8_t(high << 4 | low);
    }
    return true;
}

uint32_t GdbRemote::WriteChunkSize(bool binary) const
{
    const int room = m_packetSize - kWriteHeaderReserve;
    return uint32_t(binary ? room : room / 2);
}

bool GdbRemote::WriteMemory(uint32_t address, uint32_t byteCount, const uint8_t *data)
{
    if (!IsConnected())
        return false;
    for (uint32_t done = 0; done < byteCount;) {
        uint32_t count = qMin(WriteChunkSize(m_binaryWrites), byteCount - done);
        if (m_binaryWrites) {
            // Escaping may double a byte: take only what fits once escaped.
            const uint32_t room = WriteChunkSize(true);
            uint32_t size = 0;
            count = 0;
            while (done + count < byteCount) {
                const uint8_t b = data[done + count];
                const uint32_t step = (b == '$' || b == '#' || b == '}' || b == '*') ? 2 : 1;
                if (size + step > room)
                    break;
                size += step;
                ++count;
            }
        }
        if (!WriteChunk(address + done, count, data + done))
            return false;
        done += count;
    }
    return true;
}

bool GdbRemote::WriteChunk(uint32_t address, uint32_t count, const uint8_t *data)
{
    const QByteArray where = QByteArray::number(address, 16) + ',' + QByteArray::number(count, 16) + ':';
    QByteArray reply;
    if (m_binaryWrites) {
        if (!Transact('X' + where + EscapeBinary(data, count), &reply))
            return false;
        if (!reply.isEmpty())
            return reply == "OK";
        m_binaryWrites = false; // no binary writes here: the same data in hex
        return WriteMemory(address, count, data);
    }
    const QByteArray hex = QByteArray::fromRawData(reinterpret_cast<const char *>(data), count).toHex();
    return Transact('M' + where + hex, &reply) && reply == "OK";
}

// A server in multiprocess mode wants the process in the detach ("D;1");
// QEMU stays in that mode once any client asked for it.
bool GdbRemote::Detach()
{
    QByteArray reply;
    bool detached = IsConnected() && Transact("D", &reply) && reply == "OK";
    if (!detached && IsConnected() && reply.startsWith('E'))
        detached = Transact("D;" + m_processId, &reply) && reply == "OK";
    Close();
    return detached;
}

void GdbRemote::Close()
{
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
    m_pending.clear();
    m_pendingPos = 0;
}

uint8_t GdbRemote::Checksum(const QByteArray &payload)
{
    uint8_t sum = 0;
    for (char c : payload)
        sum = uint8_t(sum + uint8_t(c));
    return sum;
}

QByteArray GdbRemote::Frame(const QByteArray &payload)
{
    static const char digits[] = "0123456789abcdef";
    const uint8_t sum = Checksum(payload);
    return '$' + payload + '#' + digits[sum >> 4] + digits[sum & 15];
}

QByteArray GdbRemote::EscapeBinary(const uint8_t *data, uint32_t count)
{
    QByteArray out;
    out.reserve(qsizetype(count) + 16);
    for (uint32_t i = 0; i < count; ++i) {
        const char b = char(data[i]);
        if (b == '$' || b == '#' || b == '}' || b == '*') {
            out += '}';
            out += char(b ^ 0x20);
        } else {
            out += b;
        }
    }
    return out;
}

bool GdbRemote::ExpandRuns(const QByteArray &payload, QByteArray *expanded)
{
    expanded->clear();
    expanded->reserve(payload.size());
    for (qsizetype i = 0; i < payload.size(); ++i) {
        if (payload[i] != '*') {
            *expanded += payload[i];
            continue;
        }
        // "x*n": n - 29 more copies of x; n is printable and never '#' or '$'.
        if (expanded->isEmpty() || i + 1 >= payload.size())
            return false;
        const int repeat = uint8_t(payload[++i]) - 29;
        if (repeat < 3 || repeat > 126 - 29)
            return false;
        expanded->append(repeat, expanded->back());
    }
    return true;
}

bool GdbRemote::SendRaw(const QByteArray &bytes)
{
    if (!IsConnected())
        return false;
    const int64_t deadline = NowMs() + m_replyTimeoutMs;
    for (qsizetype sent = 0; sent < bytes.size();) {
        const ssize_t n = ::send(m_socket, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitUntilWritable(m_socket, deadline) || RemainingMs(deadline) == 0)
                return false;
        } else {
            return false;
        }
    }
    return true;
}

bool GdbRemote::SendPacket(const QByteArray &payload)
{
    const QByteArray framed = Frame(payload);
    for (int attempt = 0; attempt < kResendLimit; ++attempt) {
        if (!SendRaw(framed))
            return false;
        if (m_noAck)
            return true;
        const int64_t deadline = NowMs() + m_replyTimeoutMs;
        char c = 0;
        do {
            if (!NextByte(&c, deadline))
                return false;
        } while (c != '+' && c != '-' && c != '$');
        if (c == '$') {
            --m_pendingPos; // the reply came without its acknowledgement
            return true;
        }
        if (c == '+')
            return true;
    }
    return false;
}

bool GdbRemote::ReceivePacket(QByteArray *payload, int timeoutMs)
{
    const int64_t deadline = NowMs() + timeoutMs;
    char c = 0;
    for (;;) {
        // Acknowledgements and noise before the packet start are skipped.
        do {
            if (!NextByte(&c, deadline))
                return false;
        } while (c != '$' && c != '%');
        const bool notification = c == '%';
        QByteArray raw;
        for (;;) {
            if (!NextByte(&c, deadline))
                return false;
            if (c == '#')
                break;
            if (c == '$' || raw.size() > kLongestReply)
                return false;
            raw += c;
        }
        char digits[2];
        if (!NextByte(&digits[0], deadline) || !NextByte(&digits[1], deadline))
            return false;
        const int high = HexValue(digits[0]);
        const int low = HexValue(digits[1]);
        if (high < 0 || low < 0 || uint8_t(high << 4 | low) != Checksum(raw))
            return false;
        if (notification)
            continue; // asynchronous notices are not replies and get no acknowledgement
        if (!m_noAck && !SendRaw("+"))
            return false;
        return ExpandRuns(raw, payload);
    }
}

// A server may send a stop notice of its own first: QEMU reports that it
// stopped the running machine when a client connects. No reply to these
// commands starts with S or T, so such packets are passed over.
bool GdbRemote::Transact(const QByteArray &command, QByteArray *reply)
{
    if (!SendPacket(command))
        return false;
    const int64_t deadline = NowMs() + m_replyTimeoutMs;
    do {
        if (!ReceivePacket(reply, RemainingMs(deadline)))
            return false;
    } while (IsStopReply(*reply) || IsConsoleOutput(*reply));
    return true;
}

bool GdbRemote::NextByte(char *byte, int64_t deadlineMs)
{
    while (m_pendingPos >= m_pending.size()) {
        if (!IsConnected())
            return false;
        m_pending.resize(65536);
        m_pendingPos = 0;
        pollfd entry{m_socket, POLLIN, 0};
        const int ready = ::poll(&entry, 1, RemainingMs(deadlineMs));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready <= 0) {
            m_pending.clear();
            return false;
        }
        const ssize_t n = ::recv(m_socket, m_pending.data(), size_t(m_pending.size()), 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
            m_pending.clear();
            continue;
        }
        if (n <= 0) {
            m_pending.clear();
            return false; // closed by the server, or broken
        }
        m_pending.resize(n);
    }
    *byte = m_pending[m_pendingPos++];
    return true;
}

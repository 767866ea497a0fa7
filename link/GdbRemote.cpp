#include "link/GdbRemote.h"

#include "link/LinkMessages.h"
#include "link/MessageText.h"
#include "link/Tr.h"

#include <QList>

#include <algorithm>
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
// Bytes a wait takes that are not its reply (noise, acknowledgements, stop
// notices, console output, broken notices) before the server counts as
// flooding: far more than any server sends unasked, far less than a
// processor would spend seconds on.
constexpr qsizetype kFloodLimit = 256 * 1024;
// A flood of bytes never starves the deadline: the clock is read at least
// once per this many bytes taken from the buffer.
constexpr unsigned kBytesPerClockCheck = 512;

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

// One non-blocking connect bounded by the deadline; the socket, or -1 with
// the system's error in *error.
int ConnectTo(const addrinfo &address, int64_t deadlineMs, int *failure)
{
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, address.ai_protocol);
    if (fd < 0) {
        *failure = errno;
        return -1;
    }
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
            *failure = error;
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
    m_failure = Failure::None;
    m_noAck = false;
    m_binaryWrites = true;
    m_foundRunning = false;
    m_resumed = false;
    m_packetSize = 400;
    m_processId = "1";
    QByteArray host;
    uint16_t port = 0;
    if (!SplitServer(server, &host, &port))
        return Fail(Failure::NotHostPort);
    const int64_t deadline = NowMs() + kConnectTimeoutMs;
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (const int code = ::getaddrinfo(host.constData(), QByteArray::number(port).constData(), &hints, &found))
        return Fail(Failure::NoSuchHost, code);
    int error = ETIMEDOUT;
    for (addrinfo *address = found; address && m_socket < 0 && RemainingMs(deadline) > 0; address = address->ai_next)
        m_socket = ConnectTo(*address, deadline, &error);
    ::freeaddrinfo(found);
    return m_socket >= 0 || Fail(Failure::NotConnected, error);
}

bool GdbRemote::ExchangeFeatures()
{
    QByteArray reply;
    if (!Transact("qSupported:swbreak+;hwbreak+", &reply))
        return false;
    if (reply.startsWith('E'))
        return Fail(Failure::UnexpectedReply, 0, reply);
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

// Console output may come first, from a target that runs; a server that
// lets the target run answers only once it stops, so silence means running.
bool GdbRemote::StopTarget()
{
    Wait wait = StartWait();
    if (!SendPacket("?", wait))
        return false;
    QByteArray reply;
    for (;;) {
        if (!ReceivePacket(&reply, wait)) {
            if (m_failure != Failure::NoReply)
                return false;
            m_failure = Failure::None;
            m_foundRunning = true;
            return Interrupt();
        }
        if (!IsConsoleOutput(reply))
            break;
        if (!Skip(wait, reply.size()))
            return false;
    }
    if (!IsStopReply(reply))
        return Fail(Failure::UnexpectedReply, 0, reply); // exited, error or nonsense: no target to work on
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
    Wait wait = StartWait();
    if (!SendRaw(QByteArray(1, '\x03'), wait) || !WaitForStop(wait))
        return false;
    m_resumed = false;
    return true;
}

// No reply comes until the target stops again.
bool GdbRemote::Resume()
{
    Wait wait = StartWait();
    if (!SendPacket("c", wait))
        return false;
    m_resumed = true;
    return true;
}

bool GdbRemote::Reclaim()
{
    m_failure = Failure::None;
    m_foundRunning = m_resumed;
    if (m_resumed ? Interrupt() : StopTarget())
        return true;
    Close();
    return false;
}

bool GdbRemote::WaitForStop(Wait &wait)
{
    QByteArray reply;
    while (ReceivePacket(&reply, wait)) {
        if (IsStopReply(reply)) {
            NoteProcess(reply);
            return true;
        }
        if (!IsConsoleOutput(reply))
            return Fail(Failure::UnexpectedReply, 0, reply);
        if (!Skip(wait, reply.size()))
            return false;
    }
    return false;
}

bool GdbRemote::ReadMemory(uint32_t address, uint32_t byteCount, uint8_t *data)
{
    if (!IsConnected())
        return Fail(Failure::Closed);
    const uint32_t chunk = uint32_t(m_packetSize / 2);
    for (uint32_t done = 0; done < byteCount;) {
        const uint32_t count = qMin(chunk, byteCount - done);
        if (!ReadChunk(address + done, count, data + done))
            return false;
        done += count;
    }
    return true;
}

bool GdbRemote::ReadRegisters(QByteArray *hex)
{
    QByteArray reply;
    if (!Transact("g", &reply))
        return false;
    // An error reply ("E01") has an odd length; registers come in whole bytes.
    if (reply.isEmpty() || reply.size() % 2 != 0 ||
        std::any_of(reply.begin(), reply.end(), [](char c) { return HexValue(c) < 0 && c != 'x'; }))
        return false;
    *hex = reply;
    return true;
}

bool GdbRemote::ReadChunk(uint32_t address, uint32_t count, uint8_t *data)
{
    QByteArray reply;
    if (!Transact("m" + QByteArray::number(address, 16) + ',' + QByteArray::number(count, 16), &reply))
        return false;
    // Error replies ("E14", "E.text") never have the exact length of the data.
    if (reply.size() != qsizetype(count) * 2)
        return Fail(Failure::UnexpectedReply, 0, reply);
    for (uint32_t i = 0; i < count; ++i) {
        const int high = HexValue(reply[2 * i]);
        const int low = HexValue(reply[2 * i + 1]);
        if (high < 0 || low < 0)
            return Fail(Failure::UnexpectedReply, 0, reply);
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
        return Fail(Failure::Closed);
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
            return reply == "OK" || Fail(Failure::UnexpectedReply, 0, reply);
        m_binaryWrites = false; // no binary writes here: the same data in hex
        return WriteMemory(address, count, data);
    }
    const QByteArray hex = QByteArray::fromRawData(reinterpret_cast<const char *>(data), count).toHex();
    if (!Transact('M' + where + hex, &reply))
        return false;
    return reply == "OK" || Fail(Failure::UnexpectedReply, 0, reply);
}

// A server in multiprocess mode wants the process in the detach ("D;1");
// QEMU stays in that mode once any client asked for it.
bool GdbRemote::Detach()
{
    if (StreamFailed()) {
        Close();
        return false;
    }
    // A target let run is stopped first: a server takes packets only from a stopped one.
    if (m_resumed && !Interrupt()) {
        Close();
        return false;
    }
    QByteArray reply;
    bool detached = IsConnected() && Transact("D", &reply) && reply == "OK";
    if (!detached && IsConnected() && !StreamFailed() && reply.startsWith('E'))
        detached = Transact("D;" + m_processId, &reply) && reply == "OK";
    Close();
    return detached;
}

void GdbRemote::Close()
{
    if (m_socket >= 0)
        ::close(m_socket);
    m_socket = -1;
    m_resumed = false;
    m_pending.clear();
    m_pendingPos = 0;
}

bool GdbRemote::StreamFailed() const
{
    switch (m_failure) {
    case Failure::NoReply:
    case Failure::Closed:
    case Failure::Broken:
    case Failure::Flooded:
    case Failure::Garbled:
    case Failure::NotAcknowledged:
        return true;
    default:
        return false;
    }
}

QString GdbRemote::FailureReason() const
{
    switch (m_failure) {
    case Failure::None:
        return QString();
    case Failure::NotHostPort:
        return Tr(LinkMessages::kGdbNotHostPort);
    case Failure::NoSuchHost:
        return QString::fromLocal8Bit(::gai_strerror(m_failureError));
    case Failure::NotConnected:
    case Failure::Broken:
        return qt_error_string(m_failureError);
    case Failure::NoReply:
        return MessageText::Format(LinkMessages::kGdbNoReply, m_replyTimeoutMs);
    case Failure::Closed:
        return Tr(LinkMessages::kGdbClosed);
    case Failure::Flooded:
        return Tr(LinkMessages::kGdbFlooded);
    case Failure::Garbled:
        return Tr(LinkMessages::kGdbGarbled);
    case Failure::NotAcknowledged:
        return Tr(LinkMessages::kGdbNotAcknowledged);
    case Failure::UnexpectedReply:
        return MessageText::Format(LinkMessages::kGdbUnexpectedReply, m_unexpectedReply.left(32).constData());
    }
    return QString();
}

bool GdbRemote::Fail(Failure failure, int error, const QByteArray &reply)
{
    m_failure = failure;
    m_failureError = error;
    m_unexpectedReply = reply;
    return false;
}

GdbRemote::Wait GdbRemote::StartWait() const
{
    return Wait{NowMs() + m_replyTimeoutMs};
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

bool GdbRemote::SendRaw(const QByteArray &bytes, const Wait &wait)
{
    if (!IsConnected())
        return Fail(Failure::Closed);
    for (qsizetype sent = 0; sent < bytes.size();) {
        const ssize_t n = ::send(m_socket, bytes.constData() + sent, size_t(bytes.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!WaitUntilWritable(m_socket, wait.deadlineMs) || RemainingMs(wait.deadlineMs) == 0)
                return Fail(Failure::NoReply);
        } else {
            return Fail(Failure::Broken, n < 0 ? errno : EPIPE);
        }
    }
    return true;
}

bool GdbRemote::SendPacket(const QByteArray &payload, Wait &wait)
{
    const QByteArray framed = Frame(payload);
    for (int attempt = 0; attempt < kResendLimit; ++attempt) {
        if (!SendRaw(framed, wait))
            return false;
        if (m_noAck)
            return true;
        char c = 0;
        for (;;) {
            if (!NextByte(&c, wait))
                return false;
            if (c == '+' || c == '-' || c == '$')
                break;
            if (!Skip(wait, 1))
                return false;
        }
        if (c == '$') {
            --m_pendingPos; // the reply came without its acknowledgement
            return true;
        }
        if (c == '+')
            return true;
    }
    return Fail(Failure::NotAcknowledged);
}

bool GdbRemote::Skip(Wait &wait, qsizetype count)
{
    wait.skipped += count;
    return wait.skipped <= kFloodLimit || Fail(Failure::Flooded);
}

bool GdbRemote::ReceivePacket(QByteArray *payload, Wait &wait)
{
    char c = 0;
    for (;;) {
        // Acknowledgements and noise before the packet start are skipped.
        for (;;) {
            if (!NextByte(&c, wait))
                return false;
            if (c == '$' || c == '%')
                break;
            if (!Skip(wait, 1))
                return false;
        }
        const bool notification = c == '%';
        QByteArray raw;
        for (;;) {
            // What has arrived of the packet, up to its end mark, in one step.
            const char *arrived = m_pending.constData();
            const qsizetype start = m_pendingPos;
            while (m_pendingPos < m_pending.size() && arrived[m_pendingPos] != '#' && arrived[m_pendingPos] != '$')
                ++m_pendingPos;
            raw.append(arrived + start, m_pendingPos - start);
            m_bytesSinceClock += unsigned(m_pendingPos - start);
            if (!NextByte(&c, wait))
                return false;
            if (c == '#')
                break;
            if (c == '$' || raw.size() > kLongestReply)
                return Fail(Failure::Garbled);
            raw += c;
        }
        char digits[2];
        if (!NextByte(&digits[0], wait) || !NextByte(&digits[1], wait))
            return false;
        const int high = HexValue(digits[0]);
        const int low = HexValue(digits[1]);
        const bool intact = high >= 0 && low >= 0 && uint8_t(high << 4 | low) == Checksum(raw);
        // Asynchronous notices are not replies and get no acknowledgement,
        // broken or not.
        if (notification) {
            if (!Skip(wait, raw.size() + 4))
                return false;
            continue;
        }
        if (!intact)
            return Fail(Failure::Garbled);
        if (!m_noAck && !SendRaw("+", wait))
            return false;
        return ExpandRuns(raw, payload) || Fail(Failure::Garbled);
    }
}

// A server may send a stop notice of its own first: QEMU reports that it
// stopped the running machine when a client connects. No reply to these
// commands starts with S or T, so such packets are passed over, as is
// console output. The whole exchange, acknowledgement included, keeps one
// deadline.
bool GdbRemote::Transact(const QByteArray &command, QByteArray *reply)
{
    Wait wait = StartWait();
    if (!SendPacket(command, wait))
        return false;
    for (;;) {
        if (!ReceivePacket(reply, wait))
            return false;
        if (!IsStopReply(*reply) && !IsConsoleOutput(*reply))
            return true;
        if (!Skip(wait, reply->size()))
            return false;
    }
}

bool GdbRemote::NextByte(char *byte, const Wait &wait)
{
    if (m_pendingPos < m_pending.size()) {
        if (++m_bytesSinceClock >= kBytesPerClockCheck) {
            m_bytesSinceClock = 0;
            if (RemainingMs(wait.deadlineMs) == 0)
                return Fail(Failure::NoReply);
        }
        *byte = m_pending[m_pendingPos++];
        return true;
    }
    for (;;) {
        if (!IsConnected())
            return Fail(Failure::Closed);
        m_pending.resize(65536);
        m_pendingPos = 0;
        m_bytesSinceClock = 0;
        const int left = RemainingMs(wait.deadlineMs);
        if (left == 0) {
            m_pending.clear();
            return Fail(Failure::NoReply);
        }
        pollfd entry{m_socket, POLLIN, 0};
        const int ready = ::poll(&entry, 1, left);
        if (ready < 0 && errno == EINTR) {
            m_pending.clear();
            continue;
        }
        if (ready <= 0) {
            m_pending.clear();
            return ready == 0 ? Fail(Failure::NoReply) : Fail(Failure::Broken, errno);
        }
        const ssize_t n = ::recv(m_socket, m_pending.data(), size_t(m_pending.size()), 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
            m_pending.clear();
            continue;
        }
        if (n <= 0) {
            const int error = n < 0 ? errno : 0;
            m_pending.clear();
            return error == 0 ? Fail(Failure::Closed) : Fail(Failure::Broken, error);
        }
        m_pending.resize(n);
        *byte = m_pending[m_pendingPos++];
        return true;
    }
}

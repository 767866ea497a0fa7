// A GDB server's side of one connection, over real TCP on the loopback: the
// feature exchange, stopping the target, a read, a write and the detach.
// The first input byte chooses how the rest is taken:
// - even: the rest is everything the server sends, any bytes (framing,
//   checksums, escapes, run-length encoding, stop notices and console
//   output, garbage); nothing may crash or wait;
// - odd: the rest is the target's memory and a few choices of a well-behaved
//   server (packet size, no-acknowledgement mode, run-length encoded
//   replies, console output and notices between them, binary writes or
//   not): the read must give that memory, and the packets the client sent
//   must carry the written bytes, properly framed and escaped.
#include "FuzzSupport.h"

#include "link/GdbRemote.h"

#include <QList>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr uint32_t kAddress = 0x20000000;

// The listening socket on a free loopback port, for the whole run.
struct Listener
{
    Listener()
    {
        fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        Fuzz::Check(fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&address), length) == 0 &&
                    ::listen(fd, 4) == 0 && ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &length) == 0);
        server = QStringLiteral("127.0.0.1:%1").arg(ntohs(address.sin_port));
    }
    int fd = -1;
    QString server;
};

// Run-length encoding as servers send it: a run of n + 1 equal characters
// is the character, "*" and n + 29, for n from 3 to 97 but never 6 or 7
// (they would give "#" or "$").
QByteArray RunLengthEncoded(const QByteArray &text)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size();) {
        const char c = text[i];
        qsizetype run = 1;
        while (i + run < text.size() && text[i + run] == c)
            ++run;
        i += run;
        out += c;
        qsizetype more = run - 1;
        while (more > 0) {
            qsizetype n = std::min<qsizetype>(more, 97);
            if (n == 6 || n == 7)
                n = 5;
            if (n < 3) {
                out.append(n, c);
                break;
            }
            out += '*';
            out += char(n + 29);
            more -= n;
            if (more > 0) {
                out += c;
                --more;
            }
        }
    }
    return out;
}

struct ClientPacket
{
    QByteArray payload;
    bool checksumOk = false;
};

// The packets the client sent, acknowledgements and interrupts skipped.
QList<ClientPacket> ClientPackets(const QByteArray &stream)
{
    QList<ClientPacket> packets;
    for (qsizetype i = stream.indexOf('$'); i >= 0; i = stream.indexOf('$', i + 1)) {
        const qsizetype end = stream.indexOf('#', i);
        if (end < 0 || end + 2 >= stream.size())
            break;
        ClientPacket packet;
        packet.payload = stream.mid(i + 1, end - i - 1);
        packet.checksumOk = stream.mid(end + 1, 2).toUInt(nullptr, 16) == GdbRemote::Checksum(packet.payload);
        packets << packet;
        i = end;
    }
    return packets;
}

QByteArray Unescaped(const QByteArray &escaped)
{
    QByteArray out;
    for (qsizetype i = 0; i < escaped.size(); ++i)
        out += escaped[i] == '}' && i + 1 < escaped.size() ? char(escaped[++i] ^ 0x20) : escaped[i];
    return out;
}

// The written memory as the client's X or M packets carry it; false when a
// packet is malformed.
bool WrittenMemory(const QList<ClientPacket> &packets, QByteArray *memory, int packetSize)
{
    for (const ClientPacket &packet : packets) {
        const char kind = packet.payload.isEmpty() ? 0 : packet.payload[0];
        if (kind != 'X' && kind != 'M')
            continue;
        if (!packet.checksumOk || packet.payload.size() > packetSize)
            return false;
        const qsizetype colon = packet.payload.indexOf(':');
        const QList<QByteArray> where = packet.payload.mid(1, colon - 1).split(',');
        if (colon < 0 || where.size() != 2)
            return false;
        const uint32_t address = where[0].toUInt(nullptr, 16);
        const uint32_t count = where[1].toUInt(nullptr, 16);
        const QByteArray raw = packet.payload.mid(colon + 1);
        for (char c : raw)
            if (kind == 'X' && (c == '$' || c == '#' || c == '*'))
                return false; // must have gone out escaped
        const QByteArray bytes = kind == 'X' ? Unescaped(raw) : QByteArray::fromHex(raw);
        if (address < kAddress || bytes.size() != qsizetype(count))
            return false;
        const qsizetype at = address - kAddress;
        if (memory->size() < at + bytes.size())
            memory->resize(at + bytes.size());
        memory->replace(at, bytes.size(), bytes);
    }
    return true;
}

QByteArray Framed(const QByteArray &payload, bool ack)
{
    return (ack ? QByteArray("+") : QByteArray()) + GdbRemote::Frame(payload);
}

void Script(Fuzz::InputReader &input, QByteArray *stream, QByteArray *memory, int *packetSize, bool *binary)
{
    const std::uint8_t choices = input.Byte();
    const bool noAck = choices & 1;
    const bool runs = choices & 2;
    const bool chatter = choices & 4;
    *binary = !(choices & 8);
    *packetSize = 64 + input.Byte() * 8;
    *memory = input.Rest().toByteArray().left(512);

    QByteArray out =
        Framed("PacketSize=" + QByteArray::number(*packetSize, 16) + (noAck ? ";QStartNoAckMode+" : ""), true);
    if (noAck)
        out += Framed("OK", true);
    const bool ack = !noAck;
    if (chatter)
        out += "%Stop:T05#" + QByteArray::number(GdbRemote::Checksum("Stop:T05"), 16).rightJustified(2, '0');
    out += Framed("T05thread:p2a.01;", ack);
    const int chunk = *packetSize / 2;
    for (qsizetype done = 0; done < memory->size(); done += chunk) {
        if (chatter)
            out += Framed("O" + QByteArray("console\n").toHex(), ack);
        const QByteArray hex = memory->mid(done, chunk).toHex();
        out += Framed(runs ? RunLengthEncoded(hex) : hex, ack && !chatter);
    }
    // Enough answers for every write packet, then the detach's.
    if (!*binary)
        out += Framed("", ack);
    for (int i = 0; i < 2 + memory->size() / 8; ++i)
        out += Framed("OK", ack);
    *stream = out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    static Listener listener;
    Fuzz::InputReader input(data, size);
    const bool scripted = input.Byte() & 1;
    QByteArray stream;
    QByteArray memory;
    int packetSize = 0;
    bool binary = true;
    if (scripted)
        Script(input, &stream, &memory, &packetSize, &binary);
    else
        stream = input.Rest().toByteArray();

    GdbRemote remote;
    remote.SetReplyTimeoutMs(2000); // never reached: the server's end closes after its bytes
    Fuzz::Check(remote.Connect(listener.server));
    const int server = ::accept4(listener.fd, nullptr, nullptr, SOCK_CLOEXEC);
    Fuzz::Check(server >= 0);
    // What the socket takes at once; a scripted server's few packets always fit.
    ::fcntl(server, F_SETFL, O_NONBLOCK);
    const ssize_t put = stream.isEmpty() ? 0 : ::write(server, stream.constData(), size_t(stream.size()));
    Fuzz::Check(!scripted || put == stream.size());
    ::shutdown(server, SHUT_WR);

    const bool opened = remote.ExchangeFeatures() && remote.StopTarget();
    const uint32_t count = scripted ? uint32_t(memory.size()) : 300;
    QByteArray read(qsizetype(count), '\0');
    const bool wasRead = remote.ReadMemory(kAddress, count, reinterpret_cast<uint8_t *>(read.data()));
    const QByteArray toWrite = scripted ? memory : QByteArray("$#}*\x03\x7d\x24", 7);
    const bool wasWritten =
        remote.WriteMemory(kAddress, uint32_t(toWrite.size()), reinterpret_cast<const uint8_t *>(toWrite.constData()));
    remote.Detach();

    QByteArray sent;
    char buffer[65536];
    for (ssize_t n; (n = ::read(server, buffer, sizeof buffer)) > 0;)
        sent.append(buffer, n);
    const linger abort{1, 0}; // no TIME_WAIT: a run opens many thousand connections
    ::setsockopt(server, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    ::close(server);

    if (scripted) {
        Fuzz::Check(opened && wasRead && wasWritten);
        Fuzz::Check(read == memory);
        Fuzz::Check(remote.PacketSize() == packetSize);
        QByteArray carried;
        Fuzz::Check(WrittenMemory(ClientPackets(sent), &carried, packetSize));
        Fuzz::Check(carried == memory);
    }
    for (const ClientPacket &packet : ClientPackets(sent))
        Fuzz::Check(packet.checksumOk);
    return 0;
}

#pragma once

// A small scripted GDB server on 127.0.0.1: enough of the remote protocol for
// memory access (qSupported, QStartNoAckMode, ?, interrupt, c, m, M, X, D) over
// a sparse memory, and a fault that strikes on the first command starting
// with a chosen prefix: silence, a closed connection, garbage, an error reply
// or a reply with a bad checksum. It can also flood: from the connection on,
// or instead of the reply to a command, it sends one kind of unasked bytes
// without end (stop packets, console packets, noise, acknowledgement or
// resend storms, notices with bad checksums) until the client leaves. It
// runs on a thread of the test process.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct FakeGdbScript
{
    int packetSize = 0x1000;
    bool offerNoAck = true;
    bool binaryWrites = true;
    bool startsRunning = false; // "?" gets no answer until an interrupt
    bool runLengthReplies = true;
    bool multiprocess = false;         // as QEMU after a client asked for it: "D" needs ";pid"
    bool stopNoticeOnConnect = false;  // as QEMU: "T02" unasked when a client connects
    uint32_t refusedFrom = 0xF0000000; // writes at or above are refused with E14
    std::string faultPrefix;
    enum class Fault { None, Hang, Close, Garbage, Error, BadChecksum, Slow };
    Fault fault = Fault::None;
    int slowMs = 1500; // Slow: the reply comes this late, within the client's deadline
    // Console packets before the stop reply to "?", as a chatty target's server sends them.
    int consolePacketsBeforeStop = 0;
    enum class Flood { None, StopPackets, ConsolePackets, Noise, Acks, Resends, BrokenNotices };
    Flood flood = Flood::None;
    bool floodsOnConnect = false; // else from the first command starting with floodPrefix on
    std::string floodPrefix;
    int floodPauseUs = 0;              // between two units: 0 sends as fast as the client takes them
    int memoryReadPauseMs = 0;         // before each reply to "m": a slow link
    int acceptedConnections = 1 << 30; // later connections are closed at once
    // The reply to "g" (hex, target byte order); empty: the server has no "g".
    // The server gives no "p".
    std::string registerBlock;
    // The whole target.xml, given in one "l" reply; empty: no description.
    std::string targetXml;
};

class FakeGdbServer
{
public:
    using Fault = FakeGdbScript::Fault;
    using Flood = FakeGdbScript::Flood;
    using Script = FakeGdbScript;

    explicit FakeGdbServer(Script script)
        : m_script(std::move(script))
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const int on = 1;
        ::setsockopt(m_listen, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_listen, reinterpret_cast<sockaddr *>(&address), sizeof address);
        ::listen(m_listen, 4);
        socklen_t size = sizeof address;
        ::getsockname(m_listen, reinterpret_cast<sockaddr *>(&address), &size);
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { Serve(); });
    }

    ~FakeGdbServer()
    {
        m_stop = true;
        m_thread.join();
        ::close(m_listen);
    }

    uint16_t Port() const { return m_port; }
    std::string Address() const { return "127.0.0.1:" + std::to_string(m_port); }

    std::vector<std::string> Commands() const
    {
        std::lock_guard lock(m_mutex);
        return m_commands;
    }
    int CountOf(const std::string &prefix) const
    {
        int n = 0;
        for (const std::string &c : Commands())
            n += c.rfind(prefix, 0) == 0;
        return n;
    }
    int Connections() const { return m_connections; }
    int Interrupts() const { return m_interrupts; }
    // Whether the target runs now (after "c", until an interrupt).
    bool Running() const { return m_running; }
    // Closes the client's connection as a server that went away does, and
    // returns once it is closed.
    void DropClient()
    {
        m_drop = true;
        while (m_drop)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }

    uint8_t Byte(uint32_t address) const
    {
        std::lock_guard lock(m_mutex);
        const auto it = m_memory.find(address);
        return it == m_memory.end() ? uint8_t(address * 7 + 1) : it->second;
    }
    uint32_t Word(uint32_t address) const
    {
        return Byte(address) | Byte(address + 1) << 8 | Byte(address + 2) << 16 | uint32_t(Byte(address + 3)) << 24;
    }
    void SetByte(uint32_t address, uint8_t value)
    {
        std::lock_guard lock(m_mutex);
        m_memory[address] = value;
    }

private:
    void Serve()
    {
        while (!m_stop) {
            pollfd entry{m_listen, POLLIN, 0};
            if (::poll(&entry, 1, 20) <= 0)
                continue;
            const int fd = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC);
            if (fd < 0)
                continue;
            const int on = 1;
            ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            if (++m_connections <= m_script.acceptedConnections)
                Session(fd);
            ::close(fd);
            m_running = false;
            m_drop = false;
        }
    }

    // Next byte, or -1 when the client left or the server stops.
    int Next(int fd)
    {
        for (;;) {
            if (m_drop)
                return -1;
            if (m_pos < m_in.size())
                return uint8_t(m_in[m_pos++]);
            if (m_stop)
                return -1;
            pollfd entry{fd, POLLIN, 0};
            if (::poll(&entry, 1, 20) <= 0)
                continue;
            char buffer[4096];
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n <= 0)
                return -1;
            m_in.assign(buffer, size_t(n));
            m_pos = 0;
        }
    }

    void Session(int fd)
    {
        m_in.clear();
        m_pos = 0;
        m_noAck = false;
        std::atomic<bool> &running = m_running;
        running = m_script.startsRunning;
        bool struck = false;
        if (m_script.stopNoticeOnConnect)
            Send(fd, Frame("T02thread:01;"));
        if (m_script.flood != Flood::None && m_script.floodsOnConnect)
            return FloodUntilLeft(fd);
        for (;;) {
            int c = Next(fd);
            if (c < 0)
                return;
            if (c == 0x03) {
                ++m_interrupts;
                if (running) {
                    running = false;
                    Send(fd, Frame("T02"));
                }
                continue;
            }
            if (c != '$')
                continue;
            std::string command;
            while ((c = Next(fd)) >= 0 && c != '#')
                command += char(c);
            if (c < 0 || Next(fd) < 0 || Next(fd) < 0)
                return;
            if (!m_noAck)
                Send(fd, "+");
            {
                std::lock_guard lock(m_mutex);
                m_commands.push_back(command);
            }
            if (!struck && m_script.fault != Fault::None && command.rfind(m_script.faultPrefix, 0) == 0) {
                struck = true;
                switch (m_script.fault) {
                case Fault::Hang:
                    while (Next(fd) >= 0) {
                    }
                    return;
                case Fault::Close:
                    return;
                case Fault::Garbage:
                    Send(fd, "\x01garbage\xff noise $$$ ## ");
                    continue;
                case Fault::Error:
                    Send(fd, Frame("E01"));
                    continue;
                case Fault::Slow:
                    std::this_thread::sleep_for(std::chrono::milliseconds(m_script.slowMs));
                    break;
                case Fault::BadChecksum: {
                    std::string framed = Frame(Reply(command, running));
                    framed[framed.size() - 1] = framed[framed.size() - 1] == '0' ? '1' : '0';
                    Send(fd, framed);
                    continue;
                }
                case Fault::None:
                    break;
                }
            }
            if (m_script.flood != Flood::None && !m_script.floodsOnConnect &&
                command.rfind(m_script.floodPrefix, 0) == 0)
                return FloodUntilLeft(fd);
            if (command == "?" && running)
                continue; // answered by the stop after an interrupt
            if (command == "c") {
                running = true; // the stop reply comes after an interrupt
                continue;
            }
            if (command == "?")
                for (int i = 0; i < m_script.consolePacketsBeforeStop; ++i)
                    Send(fd, Frame("O48656c6c6f"));
            const std::string reply = Reply(command, running);
            Send(fd, Frame(reply));
            if (command == "QStartNoAckMode")
                m_noAck = true;
            if (command[0] == 'D' && reply == "OK")
                return;
        }
    }

    static std::string FloodUnit(Flood flood)
    {
        switch (flood) {
        case Flood::StopPackets:
            return "$T05thread:p01.01;#06";
        case Flood::ConsolePackets:
            return "$O48656c6c6f#f4";
        case Flood::Noise:
            return "~noise\x01\xfe ";
        case Flood::Acks:
            return "+";
        case Flood::Resends:
            return "-";
        case Flood::BrokenNotices:
            return "%Stop:T05thread:p01.01;#00";
        case Flood::None:
            break;
        }
        return std::string();
    }

    // Sends the flood until the client closes the connection or the server
    // stops; what the client sends meanwhile is read and dropped.
    void FloodUntilLeft(int fd)
    {
        std::string unit = FloodUnit(m_script.flood);
        std::string batch = unit;
        if (m_script.floodPauseUs == 0)
            while (batch.size() < 16384)
                batch += unit;
        while (!m_stop) {
            char sink[4096];
            while (::recv(fd, sink, sizeof sink, MSG_DONTWAIT) > 0) {
            }
            pollfd entry{fd, POLLOUT, 0};
            if (::poll(&entry, 1, 20) <= 0)
                continue;
            if (entry.revents & (POLLHUP | POLLERR))
                return;
            if (::send(fd, batch.data(), batch.size(), MSG_NOSIGNAL | MSG_DONTWAIT) < 0 && errno != EAGAIN)
                return;
            if (m_script.floodPauseUs > 0)
                std::this_thread::sleep_for(std::chrono::microseconds(m_script.floodPauseUs));
        }
    }

    std::string Reply(const std::string &command, bool running)
    {
        char text[64];
        if (command.rfind("qSupported", 0) == 0) {
            std::snprintf(text, sizeof text, "PacketSize=%x", m_script.packetSize);
            return std::string(text) + (m_script.offerNoAck ? ";QStartNoAckMode+" : "");
        }
        if (command == "QStartNoAckMode")
            return "OK";
        if (command == "?")
            return running ? "" : m_script.multiprocess ? "T05thread:p2a.01;" : "T05thread:01;";
        if (command == "g")
            return m_script.registerBlock;
        if (command.rfind("qXfer:features:read:target.xml:0,", 0) == 0 && !m_script.targetXml.empty())
            return "l" + m_script.targetXml;
        if (command[0] == 'D')
            return !m_script.multiprocess || command == "D;2a" ? "OK" : "E22";
        unsigned address = 0, length = 0;
        int used = 0;
        if (command[0] == 'm' && std::sscanf(command.c_str(), "m%x,%x%n", &address, &length, &used) == 2) {
            if (int(length) * 2 > m_script.packetSize)
                return "E22";
            if (m_script.memoryReadPauseMs > 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(m_script.memoryReadPauseMs));
            std::string hex;
            for (unsigned i = 0; i < length; ++i) {
                std::snprintf(text, sizeof text, "%02x", Byte(address + i));
                hex += text;
            }
            return m_script.runLengthReplies ? Compress(hex) : hex;
        }
        if ((command[0] == 'M' || command[0] == 'X') &&
            std::sscanf(command.c_str() + 1, "%x,%x:%n", &address, &length, &used) == 2) {
            if (command[0] == 'X' && !m_script.binaryWrites)
                return "";
            if (address + uint64_t(length) > m_script.refusedFrom)
                return "E14";
            const std::string data = command.substr(size_t(used) + 1);
            std::vector<uint8_t> bytes;
            if (command[0] == 'M') {
                for (size_t i = 0; i + 1 < data.size(); i += 2)
                    bytes.push_back(uint8_t(std::stoul(data.substr(i, 2), nullptr, 16)));
            } else {
                for (size_t i = 0; i < data.size(); ++i)
                    bytes.push_back(data[i] == '}' ? uint8_t(data[++i] ^ 0x20) : uint8_t(data[i]));
            }
            if (bytes.size() != length)
                return "E01";
            for (unsigned i = 0; i < length; ++i)
                SetByte(address + i, bytes[i]);
            return "OK";
        }
        return "";
    }

    // Run-length encoding as servers send it: runs of 4 to 97 characters,
    // never with a count character of '#' or '$'.
    static std::string Compress(const std::string &text)
    {
        std::string out;
        for (size_t i = 0; i < text.size();) {
            size_t run = 1;
            while (i + run < text.size() && text[i + run] == text[i] && run < 98)
                ++run;
            if (run >= 4 && run - 1 != 6 && run - 1 != 7) {
                out += text[i];
                out += '*';
                out += char(run - 1 + 29);
                i += run;
            } else {
                out += text[i++];
            }
        }
        return out;
    }

    static std::string Frame(const std::string &payload)
    {
        uint8_t sum = 0;
        for (char c : payload)
            sum = uint8_t(sum + uint8_t(c));
        char tail[4];
        std::snprintf(tail, sizeof tail, "#%02x", sum);
        return "$" + payload + tail;
    }

    static void Send(int fd, const std::string &bytes) { ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL); }

    Script m_script;
    int m_listen = -1;
    uint16_t m_port = 0;
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_connections{0};
    std::atomic<int> m_interrupts{0};
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_drop{false};
    std::thread m_thread;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_commands;
    std::map<uint32_t, uint8_t> m_memory;
    std::string m_in;
    size_t m_pos = 0;
    bool m_noAck = false;
};

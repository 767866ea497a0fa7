#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// A client of the GDB remote serial protocol over TCP: the language every
// debug probe's GDB server (OpenOCD, pyOCD, J-Link's) and QEMU's gdbstub
// speak. Only what memory access needs: the feature exchange, stopping the
// target, m/M/X and detach.
//
// Every wait is a poll() on the socket bounded by what is left of its
// deadline; nothing spins. Any fault of the server (silence, a closed
// connection, garbage, an error reply, a bad checksum, short data) makes the
// call return false; a false never leaves partial data passed off as read.
class GdbRemote
{
public:
    static constexpr int kConnectTimeoutMs = 2000;
    static constexpr int kDefaultReplyTimeoutMs = 3000;

    GdbRemote() = default;
    ~GdbRemote();
    GdbRemote(const GdbRemote &) = delete;
    GdbRemote &operator=(const GdbRemote &) = delete;

    // Splits "host:port"; false when there is no usable port.
    static bool SplitServer(const QString &server, QByteArray *host, uint16_t *port);

    // TCP connect, feature exchange and stopping the target.
    bool Open(const QString &server);
    bool Connect(const QString &server);
    bool ExchangeFeatures();
    // Asks why the target stopped; interrupts it when it runs.
    bool StopTarget();
    // Interrupts a running target and waits for its stop reply.
    bool Interrupt();

    bool ReadMemory(uint32_t address, uint32_t byteCount, uint8_t *data);
    bool WriteMemory(uint32_t address, uint32_t byteCount, const uint8_t *data);

    // Detach (the target runs on as before the connection), then close.
    bool Detach();
    // Closes the connection without detaching: the target stays as it is.
    void Close();
    bool IsConnected() const { return m_socket >= 0; }

    // Largest packet the server takes, in data characters.
    int PacketSize() const { return m_packetSize; }
    bool NoAckMode() const { return m_noAck; }
    void SetReplyTimeoutMs(int ms) { m_replyTimeoutMs = ms; }

    // Wire helpers, public for their own tests.
    static uint8_t Checksum(const QByteArray &payload);
    static QByteArray Frame(const QByteArray &payload);
    static QByteArray EscapeBinary(const uint8_t *data, uint32_t count);
    // Expands run-length encoding ("0*#" etc.); false on a malformed run.
    static bool ExpandRuns(const QByteArray &payload, QByteArray *expanded);

private:
    bool SendPacket(const QByteArray &payload);
    // One reply packet, checksum checked, acknowledged, runs expanded.
    bool ReceivePacket(QByteArray *payload, int timeoutMs);
    bool Transact(const QByteArray &command, QByteArray *reply);
    bool WaitForStop(int timeoutMs);
    void NoteProcess(const QByteArray &stopReply);
    bool SendRaw(const QByteArray &bytes);
    // Next byte from the socket; false on a passed deadline or a closed socket.
    bool NextByte(char *byte, int64_t deadlineMs);
    bool ReadChunk(uint32_t address, uint32_t count, uint8_t *data);
    bool WriteChunk(uint32_t address, uint32_t count, const uint8_t *data);
    // Largest write for one packet of the given kind.
    uint32_t WriteChunkSize(bool binary) const;

    int m_socket = -1;
    int m_packetSize = 400;
    bool m_noAck = false;
    bool m_binaryWrites = true; // until the server answers X with nothing
    int m_replyTimeoutMs = kDefaultReplyTimeoutMs;
    QByteArray m_processId = "1"; // for the detach of a multiprocess server
    QByteArray m_pending;         // bytes received, consumed from m_pendingPos on
    qsizetype m_pendingPos = 0;
};

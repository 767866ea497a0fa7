#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

// A client of the GDB remote serial protocol over TCP: the language every
// debug probe's GDB server (OpenOCD, pyOCD, J-Link's) and QEMU's gdbstub
// speak. Only what memory access needs: the feature exchange, stopping the
// target, m/M/X, the registers (g) for the halt record, the register
// packets' exchange and detach.
//
// Every wait is a poll() on the socket bounded by a deadline taken when the
// wait starts, however many bytes arrive meanwhile; nothing spins. A server
// that keeps sending without giving the reply (stop packets, console output,
// noise, acknowledgement storms, broken notices) ends the wait once it has
// sent 256 KiB of such bytes, far more than any server sends unasked. Any
// fault of the server makes the call return false with a typed failure and,
// where the system gave one, its reason; a false never leaves partial data
// passed off as read.
class GdbRemote
{
public:
    static constexpr int kConnectTimeoutMs = 2000;
    static constexpr int kDefaultReplyTimeoutMs = 3000;

    // Why the last call returned false.
    enum class Failure {
        None,
        NotHostPort,     // the server text has no usable port
        NoSuchHost,      // the name did not resolve
        NotConnected,    // the TCP connect failed (refused, timed out, unreachable)
        NoReply,         // nothing usable within the deadline
        Closed,          // the server closed the connection
        Broken,          // the socket failed
        Flooded,         // the server kept sending without the reply
        Garbled,         // a bad checksum, a broken frame or run, an over-long reply
        NotAcknowledged, // the server asked for every resend of a packet
        UnexpectedReply, // an error reply ("E14"), an exit, an empty reply
    };

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
    // Whether the last opening found the target running (it had to be interrupted).
    bool FoundRunning() const { return m_foundRunning; }

    // Lets the stopped target run on the open connection ("c"); its stop
    // reply comes after the next Interrupt(). False when the stream failed.
    bool Resume();
    // Whether the target runs since Resume() and was not interrupted yet.
    bool IsResumed() const { return m_resumed; }
    // Takes an open connection back for the next action: interrupts the
    // target it let run (counted as found running), or asks a stopped one
    // why it stopped. False, with the connection closed, when it is lost.
    bool Reclaim();

    // The current core's registers as the server lists them ("g"), in hex;
    // false for a server that gives none (an empty or error reply leaves
    // the stream usable).
    bool ReadRegisters(QByteArray *hex);

    bool ReadMemory(uint32_t address, uint32_t byteCount, uint8_t *data);
    // One packet and its reply, for the exchanges built elsewhere (the
    // register packets); an error reply is a reply here, not a failure.
    bool Exchange(const QByteArray &command, QByteArray *reply) { return Transact(command, reply); }
    bool WriteMemory(uint32_t address, uint32_t byteCount, const uint8_t *data);

    // Detach (the target runs on as before the connection), then close. A
    // stream that already failed is closed without the exchange: nothing
    // would come back over it but another wait.
    bool Detach();
    // Closes the connection without detaching: the target stays as it is.
    void Close();
    bool IsConnected() const { return m_socket >= 0; }

    Failure LastFailure() const { return m_failure; }
    // Whether the last failure left the byte stream unusable.
    bool StreamFailed() const;
    // The last failure as a person reads it ("Connection refused", "closed
    // by the server"); empty when there is none.
    QString FailureReason() const;

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
    // One wait: its deadline, and the bytes it took that were not its reply.
    struct Wait
    {
        int64_t deadlineMs;
        qsizetype skipped = 0;
    };
    Wait StartWait() const;

    bool Fail(Failure failure, int error = 0, const QByteArray &reply = QByteArray());
    bool SendPacket(const QByteArray &payload, Wait &wait);
    // One reply packet, checksum checked, acknowledged, runs expanded.
    bool ReceivePacket(QByteArray *payload, Wait &wait);
    // Counts bytes that are not the reply; false once they pass the flood limit.
    bool Skip(Wait &wait, qsizetype count);
    bool Transact(const QByteArray &command, QByteArray *reply);
    bool WaitForStop(Wait &wait);
    void NoteProcess(const QByteArray &stopReply);
    bool SendRaw(const QByteArray &bytes, const Wait &wait);
    // Next byte from the socket; false on a passed deadline or a closed socket.
    bool NextByte(char *byte, const Wait &wait);
    bool ReadChunk(uint32_t address, uint32_t count, uint8_t *data);
    bool WriteChunk(uint32_t address, uint32_t count, const uint8_t *data);
    // Largest write for one packet of the given kind.
    uint32_t WriteChunkSize(bool binary) const;

    int m_socket = -1;
    int m_packetSize = 400;
    bool m_noAck = false;
    bool m_binaryWrites = true; // until the server answers X with nothing
    bool m_foundRunning = false;
    bool m_resumed = false;
    int m_replyTimeoutMs = kDefaultReplyTimeoutMs;
    QByteArray m_processId = "1"; // for the detach of a multiprocess server
    QByteArray m_pending;         // bytes received, consumed from m_pendingPos on
    qsizetype m_pendingPos = 0;
    unsigned m_bytesSinceClock = 0;
    Failure m_failure = Failure::None;
    int m_failureError = 0;       // errno, or the resolver's code for NoSuchHost
    QByteArray m_unexpectedReply; // the reply of UnexpectedReply
};

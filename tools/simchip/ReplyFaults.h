#pragma once

#include <QByteArray>

#include <cstdint>

// Faults the simulated chip puts into its next replies. Each kind is armed
// for a number of replies and counts down by one per answered request,
// independently of the others, so kinds can be combined.
class ReplyFaults
{
public:
    // What actually goes out for one reply.
    struct Outcome
    {
        QByteArray reply;    // empty: nothing is sent
        int delayMs = 0;     // before the reply
        QByteArray trailing; // sent after the reply (or where it would have been)
        int trailingDelayMs = 0;
    };

    // The reply becomes exactly these bytes (before the other kinds apply).
    void Replace(const QByteArray &bytes, int replies);
    void NoAnswer(int replies) { m_noAnswer = replies; }
    void Noise(const QByteArray &bytes, int replies);
    void CutShort(int keepBytes, int replies);
    void WrongStatus(uint8_t status, int replies);
    void Delay(int milliseconds, int replies);
    void AfterReply(const QByteArray &bytes, int delayMs, int replies);
    // The next `replies` replies go out untouched, counting down nothing, so
    // the armed faults hit a later exchange (the transfer after the enter).
    void Defer(int replies) { m_deferred = replies; }
    void Clear() { *this = ReplyFaults(); }

    // Applies and counts down every armed kind. The status byte is the last
    // byte of `reply`.
    Outcome Shape(QByteArray reply);

private:
    static bool Take(int &count);

    int m_deferred = 0;
    int m_replace = 0;
    QByteArray m_replacement;
    int m_noAnswer = 0;
    int m_noise = 0;
    QByteArray m_noiseBytes;
    int m_cutShort = 0;
    int m_keepBytes = 0;
    int m_wrongStatus = 0;
    uint8_t m_status = 0;
    int m_delay = 0;
    int m_delayMs = 0;
    int m_after = 0;
    QByteArray m_afterBytes;
    int m_afterDelayMs = 0;
};

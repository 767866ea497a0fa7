#include "ReplyFaults.h"

void ReplyFaults::Replace(const QByteArray &bytes, int replies)
{
    m_replacement = bytes;
    m_replace = replies;
}

void ReplyFaults::Noise(const QByteArray &bytes, int replies)
{
    m_noiseBytes = bytes;
    m_noise = replies;
}

void ReplyFaults::CutShort(int keepBytes, int replies)
{
    m_keepBytes = keepBytes;
    m_cutShort = replies;
}

void ReplyFaults::WrongStatus(uint8_t status, int replies)
{
    m_status = status;
    m_wrongStatus = replies;
}

void ReplyFaults::Delay(int milliseconds, int replies)
{
    m_delayMs = milliseconds;
    m_delay = replies;
}

void ReplyFaults::AfterReply(const QByteArray &bytes, int delayMs, int replies)
{
    m_afterBytes = bytes;
    m_afterDelayMs = delayMs;
    m_after = replies;
}

bool ReplyFaults::Take(int &count)
{
    if (count <= 0)
        return false;
    --count;
    return true;
}

ReplyFaults::Outcome ReplyFaults::Shape(QByteArray reply)
{
    Outcome outcome;
    if (Take(m_deferred)) {
        outcome.reply = reply;
        return outcome;
    }
    if (Take(m_replace))
        reply = m_replacement;
    if (Take(m_wrongStatus) && !reply.isEmpty())
        reply[reply.size() - 1] = char(m_status);
    if (Take(m_cutShort))
        reply.truncate(m_keepBytes);
    if (Take(m_noise))
        reply.prepend(m_noiseBytes);
    if (Take(m_delay))
        outcome.delayMs = m_delayMs;
    if (Take(m_after)) {
        outcome.trailing = m_afterBytes;
        outcome.trailingDelayMs = m_afterDelayMs;
    }
    if (!Take(m_noAnswer))
        outcome.reply = reply;
    return outcome;
}

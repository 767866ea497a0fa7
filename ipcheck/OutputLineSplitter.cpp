#include "ipcheck/OutputLineSplitter.h"

int OutputLineSplitter::NextReadSize() const
{
    const int carry = CarrySize();
    if (carry + kReadSize >= kReceiveBufferSize)
        return kReceiveBufferSize - 1 - carry;
    return kReadSize;
}

QStringList OutputLineSplitter::Feed(const char *data, int count)
{
    QStringList rows;
    if (count <= 0)
        return rows;
    m_carry.append(data, count);
    const QByteArray pending = std::exchange(m_carry, QByteArray());
    const bool lastIsComplete = pending.endsWith('\n') || pending.size() >= kFlushLength;

    qsizetype start = 0;
    while (start < pending.size()) {
        const qsizetype lineFeed = pending.indexOf('\n', start);
        if (lineFeed < 0) {
            if (lastIsComplete)
                rows << QString::fromLocal8Bit(pending.constData() + start, pending.size() - start);
            else
                m_carry = pending.mid(start);
            break;
        }
        if (lineFeed > start)
            rows << QString::fromLocal8Bit(pending.constData() + start, lineFeed - start);
        start = lineFeed + 1;
    }
    return rows;
}

QString OutputLineSplitter::TakeCarry()
{
    return QString::fromLocal8Bit(std::exchange(m_carry, QByteArray()));
}

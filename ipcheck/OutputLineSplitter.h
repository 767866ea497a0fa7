#pragma once

#include <QByteArray>
#include <QStringList>

// Cuts the analyzer's raw output into rows. The bytes of a line that has not
// ended yet are held as the carry until the rest arrives; carry and new bytes
// together stay below the receive buffer's 3000 bytes, and once they reach
// 2500 bytes they are shown as they are, unfinished. Empty lines are dropped;
// a CR before an LF stays at the end of its row. The text is read in the
// locale's 8-bit encoding.
class OutputLineSplitter
{
public:
    static constexpr int kReceiveBufferSize = 3000;
    static constexpr int kReadSize = 1024;
    static constexpr int kFlushLength = 2500;

    // How many bytes the next read may take so that carry and new bytes fit.
    int NextReadSize() const;

    // The rows completed by these bytes, in order.
    QStringList Feed(const char *data, int count);

    // The unfinished last line (output that did not end with a line feed),
    // or an empty text; the carry is empty afterwards.
    QString TakeCarry();

    int CarrySize() const { return int(m_carry.size()); }

private:
    QByteArray m_carry;
};

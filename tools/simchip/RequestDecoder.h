#pragma once

#include "ChipBusView.h"

#include <QByteArray>

#include <optional>

// Cuts complete request frames out of the bytes the chip receives. Bytes
// that cannot start a frame are skipped, as the chip's receiver would.
class RequestDecoder
{
public:
    struct Frame
    {
        QByteArray bytes;   // the whole frame as received
        QByteArray payload; // the bytes after the header
    };

    explicit RequestDecoder(ChipBusView::ByteOrder order)
        : m_order(order)
    {}

    void Feed(const char *bytes, int count) { m_pending.append(bytes, count); }
    std::optional<Frame> Next();
    void Reset() { m_pending.clear(); }

private:
    int HeaderSize() const;
    bool HeaderLooksRight() const;

    ChipBusView::ByteOrder m_order;
    QByteArray m_pending;
};

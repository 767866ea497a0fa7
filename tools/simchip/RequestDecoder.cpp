#include "RequestDecoder.h"

namespace {

// The largest request is a write of the whole 16 KiB transfer area.
constexpr int kLargestPayload = 16384 + 8;

uint8_t At(const QByteArray &bytes, int index)
{
    return uint8_t(bytes[index]);
}

} // namespace

int RequestDecoder::HeaderSize() const
{
    return m_order == ChipBusView::ByteOrder::Big ? 12 : 6;
}

bool RequestDecoder::HeaderLooksRight() const
{
    static const char kLittleTail[] = {0x10, 0x00};
    static const char kBigTail[] = {0, 0, 0, 0, 0x10, 0, 0, 0};
    if (m_order == ChipBusView::ByteOrder::Big)
        return m_pending.mid(4, 8) == QByteArray::fromRawData(kBigTail, 8);
    return m_pending.mid(4, 2) == QByteArray::fromRawData(kLittleTail, 2);
}

std::optional<RequestDecoder::Frame> RequestDecoder::Next()
{
    for (;;) {
        // Skip to the next 7E 79.
        int start = 0;
        while (start < m_pending.size() &&
               !(At(m_pending, start) == 0x7E && (start + 1 == m_pending.size() || At(m_pending, start + 1) == 0x79)))
            ++start;
        m_pending.remove(0, start);
        if (m_pending.size() < HeaderSize())
            return std::nullopt;
        const int length = m_order == ChipBusView::ByteOrder::Big ? At(m_pending, 2) << 8 | At(m_pending, 3)
                                                                  : At(m_pending, 3) << 8 | At(m_pending, 2);
        if (!HeaderLooksRight() || length > kLargestPayload) {
            m_pending.remove(0, 1);
            continue;
        }
        const int total = HeaderSize() + length;
        if (m_pending.size() < total)
            return std::nullopt;
        Frame frame{m_pending.left(total), m_pending.mid(HeaderSize(), length)};
        m_pending.remove(0, total);
        return frame;
    }
}

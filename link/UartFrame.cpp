#include "link/UartFrame.h"

#include <algorithm>

using ChipProfile::FrameLayout;

namespace UartFrame {

namespace {

const char kAttention[] = "ATVX21";
constexpr uint8_t kEnterCommand[] = {0x05, 0x21};
constexpr uint8_t kLeaveCommand[] = {0x18, 0x21};
constexpr uint8_t kReadCommand[] = {0x40, 0x72};
constexpr uint8_t kWriteCommand[] = {0x40, 0x77};

void AppendByte(QByteArray &out, uint8_t byte)
{
    out.append(char(byte));
}

void Append16(QByteArray &out, FrameLayout layout, uint16_t value)
{
    if (layout == FrameLayout::BigEndian) {
        AppendByte(out, uint8_t(value >> 8));
        AppendByte(out, uint8_t(value));
    } else {
        AppendByte(out, uint8_t(value));
        AppendByte(out, uint8_t(value >> 8));
    }
}

void Append32(QByteArray &out, FrameLayout layout, uint32_t value)
{
    if (layout == FrameLayout::BigEndian) {
        Append16(out, layout, uint16_t(value >> 16));
        Append16(out, layout, uint16_t(value));
    } else {
        Append16(out, layout, uint16_t(value));
        Append16(out, layout, uint16_t(value >> 16));
    }
}

QByteArray ModeRequest(FrameLayout layout, const uint8_t (&command)[2])
{
    QByteArray frame = Header(layout, 8);
    frame.append(kAttention, 6);
    frame.append(reinterpret_cast<const char *>(command), 2);
    return frame;
}

QByteArray MemoryRequest(FrameLayout layout, const uint8_t (&command)[2], uint32_t busAddress, uint16_t wordCount,
                         uint16_t dataBytes)
{
    QByteArray frame = Header(layout, uint16_t(8 + dataBytes));
    frame.append(reinterpret_cast<const char *>(command), 2);
    Append32(frame, layout, busAddress);
    Append16(frame, layout, wordCount);
    return frame;
}

QByteArray ShortReply(FrameLayout layout, uint8_t code)
{
    QByteArray frame = Header(layout, 2);
    AppendByte(frame, code);
    AppendByte(frame, kStatusOk);
    return frame;
}

} // namespace

int HeaderSize(FrameLayout layout)
{
    return layout == FrameLayout::BigEndian ? 12 : 6;
}

QByteArray Header(FrameLayout layout, uint16_t payloadLength)
{
    QByteArray header;
    header.reserve(HeaderSize(layout));
    AppendByte(header, 0x7E);
    AppendByte(header, 0x79);
    Append16(header, layout, payloadLength);
    // Fixed bytes, the same in either byte order.
    if (layout == FrameLayout::BigEndian)
        header.append("\x00\x00\x00\x00\x10\x00\x00\x00", 8);
    else
        header.append("\x10\x00", 2);
    return header;
}

QByteArray EnterRequest(FrameLayout layout)
{
    return ModeRequest(layout, kEnterCommand);
}

QByteArray LeaveRequest(FrameLayout layout)
{
    return ModeRequest(layout, kLeaveCommand);
}

QByteArray ReadRequest(FrameLayout layout, uint32_t busAddress, uint16_t wordCount)
{
    return MemoryRequest(layout, kReadCommand, busAddress, wordCount, 0);
}

QByteArray WriteRequestHead(FrameLayout layout, uint32_t busAddress, uint16_t wordCount)
{
    return MemoryRequest(layout, kWriteCommand, busAddress, wordCount, uint16_t(wordCount * 4));
}

QByteArray EnterReply(FrameLayout layout)
{
    return ShortReply(layout, kEnterReplyCode);
}

QByteArray WriteReply(FrameLayout layout)
{
    return ShortReply(layout, kWriteReplyCode);
}

QByteArray ReadReplyHead(FrameLayout layout, uint16_t dataBytes)
{
    QByteArray frame = Header(layout, uint16_t(dataBytes + 2));
    AppendByte(frame, kReadReplyCode);
    return frame;
}

void ReverseWords(uint8_t *bytes, int count)
{
    for (int i = 0; i + 4 <= count; i += 4)
        std::reverse(bytes + i, bytes + i + 4);
}

} // namespace UartFrame

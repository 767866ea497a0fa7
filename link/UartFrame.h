#pragma once

#include "link/ChipProfile.h"

#include <QByteArray>

#include <cstdint>

// Frames of the chip's UART debug mode. Every frame starts with 7E 79 ("~y"),
// then the payload length and fixed bytes, then the payload:
//   little-endian layout: 7E 79, length (LE16), 10 00                      (6 bytes)
//   big-endian layout:    7E 79, length (BE16), 00 00 00 00, 10 00 00 00   (12 bytes)
// Multi-byte payload fields follow the layout's byte order. The layout must
// not be None.
namespace UartFrame {

constexpr uint8_t kStatusOk = 0x06;
constexpr uint8_t kEnterReplyCode = 0xD1;
constexpr uint8_t kReadReplyCode = 0xD2;
constexpr uint8_t kWriteReplyCode = 0xD3;

int HeaderSize(ChipProfile::FrameLayout layout);
QByteArray Header(ChipProfile::FrameLayout layout, uint16_t payloadLength);

QByteArray EnterRequest(ChipProfile::FrameLayout layout);
QByteArray LeaveRequest(ChipProfile::FrameLayout layout);
QByteArray ReadRequest(ChipProfile::FrameLayout layout, uint32_t busAddress, uint16_t wordCount);
// Header and fields of a write; the data bytes follow separately.
QByteArray WriteRequestHead(ChipProfile::FrameLayout layout, uint32_t busAddress, uint16_t wordCount);

QByteArray EnterReply(ChipProfile::FrameLayout layout);
QByteArray WriteReply(ChipProfile::FrameLayout layout);
// Header of a read reply up to and including the reply code; the data and
// the status byte follow.
QByteArray ReadReplyHead(ChipProfile::FrameLayout layout, uint16_t dataBytes);

// Byte-reverses each whole 32-bit word of the first `count` bytes.
void ReverseWords(uint8_t *bytes, int count);

} // namespace UartFrame

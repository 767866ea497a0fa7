#include "link/UartLink.h"

#include "link/UartFrame.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

using ChipProfile::FrameLayout;

namespace {

constexpr std::array<uint32_t, 7> kSpeedTable{115200, 1000000, 2000000, 3000000, 4000000, 5000000, 6000000};
constexpr uint32_t kEnterLimitMs = 500;
constexpr uint32_t kStatusLimitMs = 100;
// From this speed index on, the chip needs headers and short data one byte
// per write call.
constexpr int kPacedSpeedIndex = 2;
constexpr int kPacedDataBelow = 200;

// One second per started 51200 bytes.
uint32_t DataLimitMs(uint16_t byteCount)
{
    return (uint32_t(byteCount) / 51200 + 1) * 1000;
}

// Whole 32-bit words, computed in 16 bits.
uint16_t RoundedCount(uint16_t byteCount)
{
    return uint16_t((byteCount + 3) & ~3);
}

const uint8_t *Bytes(const QByteArray &bytes)
{
    return reinterpret_cast<const uint8_t *>(bytes.constData());
}

struct AddressRule
{
    uint32_t first;
    uint32_t last;
    int64_t shift; // 0: set the top four bits instead
};

constexpr AddressRule kLittleEndianMap[] = {
    {0xE0000000, 0xEFFFFFFF, 0},          {0x00000000, 0x0000FFFF, 0xA0000000},  {0x00010000, 0x003FFFFF, 0x20800000},
    {0x00400000, 0x0040FFFF, 0x20000000}, {0x2A000000, 0x2A07FFFF, -0x0A000000}, {0x10000000, 0x1FFFFFFF, 0x50000000},
};

constexpr AddressRule kBigEndianMap[] = {
    {0xE0000000, 0xEFFFFFFF, 0},           {0x00400000, 0x0041FFFF, 0x20000000}, {0x20C00000, 0x20C1FFFF, -0x00800000},
    {0x2A000000, 0x2A07FFFF, -0x0A000000}, {0x10000000, 0x1FFFFFFF, 0x50000000},
};

template<std::size_t N> uint32_t ApplyMap(const AddressRule (&rules)[N], uint32_t address)
{
    for (const AddressRule &rule : rules) {
        if (address < rule.first || address > rule.last)
            continue;
        if (rule.shift == 0)
            return address | 0xF0000000u;
        return uint32_t(int64_t(address) + rule.shift);
    }
    return address;
}

} // namespace

UartLink::UartLink(TransferBuffer &buffer, ChipModelSource chipModel)
    : m_buffer(buffer)
    , m_chipModel(std::move(chipModel))
{}

std::optional<uint32_t> UartLink::BaudForSpeedIndex(int speedIndex)
{
    if (speedIndex < 0 || speedIndex >= int(kSpeedTable.size()))
        return std::nullopt;
    return kSpeedTable[std::size_t(speedIndex)];
}

SerialPort UartLink::OpenPort(const QString &name, int speedIndex)
{
    const std::optional<uint32_t> baud = BaudForSpeedIndex(speedIndex);
    if (!baud)
        return {};
    SerialPort port = SerialPort::Open(name, *baud);
    if (port.IsOpen())
        m_speedIndex = speedIndex;
    return port;
}

uint32_t UartLink::MapAddress(FrameLayout layout, uint32_t address)
{
    switch (layout) {
    case FrameLayout::LittleEndian:
        return ApplyMap(kLittleEndianMap, address);
    case FrameLayout::BigEndian:
        return ApplyMap(kBigEndianMap, address);
    case FrameLayout::None:
        break;
    }
    return address;
}

void UartLink::SetClock(MillisecondClock *clock)
{
    m_deadline.SetClock(clock);
}

FrameLayout UartLink::CurrentLayout() const
{
    if (m_pinnedModel)
        return ChipProfile::UartFrameLayout(*m_pinnedModel);
    return m_chipModel ? ChipProfile::UartFrameLayout(m_chipModel()) : FrameLayout::None;
}

void UartLink::SendPaced(SerialPort &port, const uint8_t *bytes, int count, bool byteByByte)
{
    if (!byteByByte) {
        port.Write(bytes, count);
        return;
    }
    for (int i = 0; i < count; ++i)
        port.Write(bytes + i, 1);
}

void UartLink::SendRequest(SerialPort &port, const QByteArray &head)
{
    // Nothing stale may be taken for the reply to this request.
    port.Purge();
    SendPaced(port, Bytes(head), int(head.size()), m_speedIndex >= kPacedSpeedIndex);
}

bool UartLink::EnterDebugMode(SerialPort &port)
{
    const FrameLayout layout = CurrentLayout();
    if (layout == FrameLayout::None)
        return false;
    SendRequest(port, UartFrame::EnterRequest(layout));
    const QByteArray reply = UartFrame::EnterReply(layout);
    std::array<uint8_t, 16> received{};
    return ReceiveExact(port, received.data(), int(reply.size()), Bytes(reply), kEnterLimitMs);
}

bool UartLink::LeaveDebugMode(SerialPort &port)
{
    const FrameLayout layout = CurrentLayout();
    if (layout == FrameLayout::None)
        return false;
    SendRequest(port, UartFrame::LeaveRequest(layout));
    return true;
}

namespace {

// The first address past `address` where the bus view stops following on:
// the bound of the rule the address falls in, or of the next rule above it.
template<std::size_t N> uint64_t NextBound(const AddressRule (&rules)[N], uint32_t address)
{
    uint64_t next = uint64_t(1) << 32;
    for (const AddressRule &rule : rules) {
        if (address >= rule.first && address <= rule.last)
            return uint64_t(rule.last) + 1;
        if (rule.first > address)
            next = std::min<uint64_t>(next, rule.first);
    }
    return next;
}

uint64_t NextBound(FrameLayout layout, uint32_t address)
{
    switch (layout) {
    case FrameLayout::LittleEndian:
        return NextBound(kLittleEndianMap, address);
    case FrameLayout::BigEndian:
        return NextBound(kBigEndianMap, address);
    case FrameLayout::None:
        break;
    }
    return uint64_t(1) << 32;
}

} // namespace

std::vector<UartLink::BusPiece> UartLink::BusPieces(FrameLayout layout, uint32_t address, uint32_t count)
{
    std::vector<BusPiece> pieces;
    const uint64_t end = uint64_t(address) + count;
    for (uint64_t at = address; at < end;) {
        const uint64_t stop = std::min(end, NextBound(layout, uint32_t(at)));
        pieces.push_back({uint32_t(at), uint32_t(at - address), uint32_t(stop - at)});
        at = stop;
    }
    return pieces;
}

// A transfer across a bound of the bus view goes out as one frame per side,
// each with its own mapped address; the links above never see the cut.
bool UartLink::ReadMem(SerialPort &port, uint32_t address, uint16_t byteCount)
{
    const FrameLayout layout = CurrentLayout();
    // A count past the transfer buffer would overrun it; refuse it unsent.
    if (layout == FrameLayout::None || byteCount > TransferBuffer::kSize)
        return false;
    for (const BusPiece &piece : BusPieces(layout, address, RoundedCount(byteCount)))
        if (!ReadPiece(port, layout, piece.address, RoundedCount(uint16_t(piece.count)),
                       m_buffer.data() + piece.offset))
            return false;
    return true;
}

bool UartLink::WriteMem(SerialPort &port, uint32_t address, uint16_t byteCount)
{
    const FrameLayout layout = CurrentLayout();
    if (layout == FrameLayout::None || byteCount > TransferBuffer::kSize)
        return false;
    for (const BusPiece &piece : BusPieces(layout, address, RoundedCount(byteCount)))
        if (!WritePiece(port, layout, piece.address, RoundedCount(uint16_t(piece.count)),
                        m_buffer.data() + piece.offset))
            return false;
    return true;
}

bool UartLink::ReadPiece(SerialPort &port, FrameLayout layout, uint32_t address, uint16_t n, uint8_t *into)
{
    const uint32_t limitMs = DataLimitMs(n);
    SendRequest(port, UartFrame::ReadRequest(layout, MapAddress(layout, address), uint16_t(n / 4)));

    const QByteArray head = UartFrame::ReadReplyHead(layout, n);
    std::array<uint8_t, 16> received{};
    if (!ReceiveExact(port, received.data(), int(head.size()), Bytes(head), limitMs))
        return false;
    if (!ReceiveExact(port, into, n, nullptr, limitMs))
        return false;
    uint8_t status = 0;
    if (!ReceiveExact(port, &status, 1, nullptr, kStatusLimitMs) || status != UartFrame::kStatusOk)
        return false;
    if (layout == FrameLayout::BigEndian)
        UartFrame::ReverseWords(into, n);
    return true;
}

bool UartLink::WritePiece(SerialPort &port, FrameLayout layout, uint32_t address, uint16_t n, const uint8_t *from)
{
    const uint32_t limitMs = DataLimitMs(n);
    // The big-endian layout sends each word most significant byte first. The
    // words are turned in a copy: the buffer's bytes outlive this write (a
    // later write of a whole peripheral sends its reserved bytes from it).
    const uint8_t *data = from;
    std::vector<uint8_t> turned;
    if (layout == FrameLayout::BigEndian) {
        turned.assign(data, data + n);
        UartFrame::ReverseWords(turned.data(), n);
        data = turned.data();
    }
    SendRequest(port, UartFrame::WriteRequestHead(layout, MapAddress(layout, address), uint16_t(n / 4)));
    SendPaced(port, data, n, m_speedIndex >= kPacedSpeedIndex && n < kPacedDataBelow);

    const QByteArray reply = UartFrame::WriteReply(layout);
    std::array<uint8_t, 16> received{};
    return ReceiveExact(port, received.data(), int(reply.size()), Bytes(reply), limitMs);
}

// Linux keeps at most about 4 KiB in a terminal's input queue, so waiting
// until the whole remaining count is queued would never end for long
// replies. Queued bytes are taken as they come instead, but never more than
// count - got: the bytes consumed, the resynchronisation and the result stay
// those of taking the remainder in one go. Between checks the routine blocks
// in WaitReadable for the time left, rather than spinning; a port that hung
// up with nothing left to take fails the exchange at once.
bool UartLink::ReceiveExact(SerialPort &port, uint8_t *buffer, int count, const uint8_t *expected, uint32_t limitMs)
{
    m_deadline.Arm(limitMs);
    if (m_deadline.HasPassed())
        return false;
    int got = 0;
    for (;;) {
        const int queued = port.QueuedBytes();
        if (queued > 0 && got < count)
            got += port.Read(buffer + got, std::min(queued, count - got));
        if (got == count) {
            if (!expected)
                return true;
            int start = 0;
            while (start < got && std::memcmp(buffer + start, expected, std::size_t(got - start)) != 0)
                ++start;
            if (start == 0)
                return true;
            if (start < got)
                std::memmove(buffer, buffer + start, std::size_t(got - start));
            got -= start; // nothing matched: start == got drops everything
        }
        if (m_deadline.HasPassed())
            return false;
        // A port that hung up ends the wait as a failed exchange at once;
        // waiting out the limit would only spin on it.
        if (!port.WaitReadable(m_deadline.RemainingMs()) && port.HasFailed())
            return false;
    }
}

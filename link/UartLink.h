#pragma once

#include "link/ChipProfile.h"
#include "link/ReplyDeadline.h"
#include "link/SerialPort.h"
#include "link/TransferBuffer.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The chip's UART debug mode: one request frame, one reply frame, over a
// serial port the caller opens and closes around each operation. Reads land
// at the start of the transfer buffer and writes take their data from there.
// The frame layout is chosen from the current chip model at every exchange;
// a model without a layout fails every exchange before anything is sent.
// The link shows no messages: every call returns whether it worked.
class UartLink
{
public:
    using ChipModelSource = std::function<QString()>;

    UartLink(TransferBuffer &buffer, ChipModelSource chipModel);

    // Baud rate of a configured speed index (0 to 6); nothing outside that.
    static std::optional<uint32_t> BaudForSpeedIndex(int speedIndex);

    // The invalid handle when the port cannot be opened or the speed index
    // has no rate. The speed index is kept for the pacing of later writes.
    SerialPort OpenPort(const QString &name, int speedIndex);

    bool EnterDebugMode(SerialPort &port);
    bool ReadMem(SerialPort &port, uint32_t address, uint16_t byteCount);
    bool WriteMem(SerialPort &port, uint32_t address, uint16_t byteCount);
    bool LeaveDebugMode(SerialPort &port);

    // Receives `count` bytes within `limitMs`. With `expected` (exactly
    // `count` bytes), skips anything before a matching reply and
    // resynchronises on a reply that starts inside bytes already taken.
    bool ReceiveExact(SerialPort &port, uint8_t *buffer, int count, const uint8_t *expected, uint32_t limitMs);

    // The debug mode's bus view of a user address.
    static uint32_t MapAddress(ChipProfile::FrameLayout layout, uint32_t address);

    // One frame's share of a transfer: its bytes at offset of the transfer
    // buffer go to or come from address (a user address).
    struct BusPiece
    {
        uint32_t address;
        uint32_t offset;
        uint32_t count;
    };
    // The count bytes from address, cut wherever the bus view maps the next
    // byte elsewhere than after the one before: each piece maps as a whole.
    static std::vector<BusPiece> BusPieces(ChipProfile::FrameLayout layout, uint32_t address, uint32_t count);

    void SetClock(MillisecondClock *clock); // nullptr: the steady clock

    // The chip model of the running link cycle, taken once when it started:
    // while pinned the source is not asked, so a cycle on another thread
    // never reaches into the user interface. nullopt unpins.
    void PinChipModel(std::optional<QString> model) { m_pinnedModel = std::move(model); }

private:
    ChipProfile::FrameLayout CurrentLayout() const;
    void SendPaced(SerialPort &port, const uint8_t *bytes, int count, bool byteByByte);
    void SendRequest(SerialPort &port, const QByteArray &head);
    // One frame each: whole words (count is a multiple of 4).
    bool ReadPiece(SerialPort &port, ChipProfile::FrameLayout layout, uint32_t address, uint16_t count, uint8_t *into);
    bool WritePiece(SerialPort &port, ChipProfile::FrameLayout layout, uint32_t address, uint16_t count,
                    const uint8_t *from);

    TransferBuffer &m_buffer;
    ChipModelSource m_chipModel;
    std::optional<QString> m_pinnedModel;
    ReplyDeadline m_deadline;
    int m_speedIndex = 0;
};

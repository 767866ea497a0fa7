#include "memview/MemoryUnits.h"

#include <algorithm>
#include <iterator>

namespace MemoryUnits {

bool IsSize(int size)
{
    return std::find(std::begin(kSizes), std::end(kSizes), size) != std::end(kSizes);
}

bool IsRowWidth(int bytes)
{
    return std::find(std::begin(kRowWidths), std::end(kRowWidths), bytes) != std::end(kRowWidths);
}

std::optional<uint32_t> Value(const uint8_t *bytes, const ByteState *states, int size)
{
    uint32_t value = 0;
    for (int i = 0; i < size; ++i) {
        if (states[i] != ByteState::Value)
            return std::nullopt;
        value |= uint32_t(bytes[i]) << (8 * i);
    }
    return value;
}

QChar Mark(ByteState state)
{
    switch (state) {
    case ByteState::Refused:
        return u'-';
    case ByteState::LeftOut:
        return u'~';
    case ByteState::Failed:
        return u'?';
    case ByteState::Unread:
    case ByteState::Reading:
        return u'.';
    case ByteState::Value:
        break;
    }
    return QChar();
}

QString Hex(uint32_t value, int size)
{
    return QString::number(value, 16).toUpper().rightJustified(2 * size, u'0');
}

QString Text(const uint8_t *bytes, const ByteState *states, int size)
{
    if (const std::optional<uint32_t> value = Value(bytes, states, size))
        return Hex(*value, size);
    for (int i = 0; i < size; ++i)
        if (states[i] != ByteState::Value)
            return QString(2 * size, Mark(states[i]));
    return QString();
}

QChar Ascii(uint8_t byte, ByteState state)
{
    if (state != ByteState::Value)
        return u' ';
    return byte >= 0x20 && byte < 0x7F ? QChar(byte) : QChar(u'.');
}

UnitEdit::UnitEdit(uint32_t address, int size, uint32_t before)
    : m_address(address)
    , m_size(size)
    , m_before(before)
    , m_value(before)
{}

bool UnitEdit::Type(QChar digit)
{
    bool ok = false;
    const int nibble = QString(digit).toInt(&ok, 16);
    if (!ok || Complete())
        return false;
    const int shift = 4 * (2 * m_size - 1 - m_typed);
    m_value = (m_value & ~(0xFu << shift)) | (uint32_t(nibble) << shift);
    ++m_typed;
    return true;
}

uint32_t UnitEdit::Value() const
{
    return m_value;
}

} // namespace MemoryUnits

#include "ChipBusView.h"

namespace ChipBusView {

ByteOrder FrameByteOrder(const QString &model)
{
    if (model == QLatin1String("VX21A") || model == QLatin1String("VX21D"))
        return ByteOrder::Little;
    if (model == QLatin1String("VX21C"))
        return ByteOrder::Big;
    return ByteOrder::Unsupported;
}

uint32_t BusAddress(ByteOrder order, uint32_t cpuAddress)
{
    const uint32_t top = cpuAddress >> 28;
    if (top == 0xE) // system control space: the bus sees it at 0xF...
        return cpuAddress | 0xF0000000u;
    if (order == ByteOrder::Little) {
        if (cpuAddress <= 0xFFFF)
            return 0xA0000000u + cpuAddress;
        if (cpuAddress <= 0x3FFFFF)
            return 0x20800000u + cpuAddress;
        if (cpuAddress <= 0x40FFFF)
            return 0x20000000u + cpuAddress;
    } else if (order == ByteOrder::Big) {
        if (cpuAddress >= 0x400000 && cpuAddress <= 0x41FFFF)
            return 0x20000000u + cpuAddress;
        if (cpuAddress >= 0x20C00000 && cpuAddress <= 0x20C1FFFF)
            return cpuAddress - 0x800000u;
    }
    if (cpuAddress >= 0x2A000000 && cpuAddress <= 0x2A07FFFF)
        return cpuAddress - 0x0A000000u;
    if (top == 0x1)
        return cpuAddress + 0x50000000u;
    return cpuAddress;
}

} // namespace ChipBusView

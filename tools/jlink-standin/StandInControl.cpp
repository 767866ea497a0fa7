#include "StandInControl.h"
#include "StandInProbe.h"

#include <algorithm>
#include <cstring>

void StandIn_Reset(void)
{
    StandInProbe::Instance().Reset();
}

void StandIn_SetProbes(const uint32_t *serialNumbers, int count)
{
    std::vector<uint32_t> probes;
    if (serialNumbers && count > 0)
        probes.assign(serialNumbers, serialNumbers + count);
    StandInProbe::Instance().SetProbes(probes);
}

int StandIn_SetFault(const char *fault, int fromCall)
{
    return fault && StandInProbe::Instance().SetFault(fault, fromCall) ? 1 : 0;
}

void StandIn_SetMemoryFile(const char *path)
{
    StandInProbe::Instance().SetMemoryFile(path ? path : "");
}

void StandIn_Poke(uint32_t address, const uint8_t *bytes, uint32_t count)
{
    if (bytes)
        StandInProbe::Instance().Poke(address, count, bytes);
}

void StandIn_Peek(uint32_t address, uint8_t *into, uint32_t count)
{
    if (into)
        StandInProbe::Instance().Peek(address, count, into);
}

void StandIn_PokeWord(uint32_t address, uint32_t word)
{
    uint8_t bytes[4];
    for (int i = 0; i < 4; ++i)
        bytes[i] = uint8_t(word >> (8 * i));
    StandInProbe::Instance().Poke(address, 4, bytes);
}

uint32_t StandIn_PeekWord(uint32_t address)
{
    uint8_t bytes[4] = {};
    StandInProbe::Instance().Peek(address, 4, bytes);
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

void StandIn_SetCoreRegister(uint32_t selector, uint32_t value)
{
    StandInProbe::Instance().SetCoreRegister(uint8_t(selector), value);
}

uint32_t StandIn_CoreRegister(uint32_t selector)
{
    return StandInProbe::Instance().CoreRegister(uint8_t(selector));
}

int StandIn_CallLog(char *into, int size)
{
    const std::string log = StandInProbe::Instance().CallLog();
    if (into && size > 0) {
        const std::size_t copied = std::min(log.size(), std::size_t(size - 1));
        std::memcpy(into, log.data(), copied);
        into[copied] = '\0';
    }
    return int(log.size());
}

void StandIn_ClearCallLog(void)
{
    StandInProbe::Instance().ClearCallLog();
}

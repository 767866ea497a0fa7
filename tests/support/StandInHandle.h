#pragma once

#include "support/BuildPaths.h"
#include "tools/jlink-standin/StandInControl.h"

#include <QByteArray>
#include <QLibrary>
#include <QString>
#include <QStringList>

#include <vector>

// The variant in standin-missing/ that leaves one name out.
inline QString MissingNameVariantPath()
{
    return BinPath(QStringLiteral("standin-missing/libjlinkarm.so"));
}
inline const char kOmittedName[] = "JLINK_RTTERMINAL_Read";

// What opening a probe link leaves in the stand-in's call log: the probe
// chosen by serial number, opened and checked, SWD at 4000 kHz, the core
// named, connected.
inline QStringList ProbeOpeningCalls(uint32_t serial)
{
    return {QStringLiteral("JLINK_EMU_SelectByUSBSN %1").arg(serial),
            "JLINK_Open",
            "JLINK_IsOpen",
            "JLINK_EMU_IsConnected",
            "JLINK_TIF_Select 1",
            "JLINK_SetSpeed 4000",
            "JLINK_ExecCommand \"device=CORTEX-M33\" null 0",
            "JLINK_Connect"};
}

// The stand-in's control functions, resolved from the very library file the
// binding loads, so both act on one simulated probe.
class StandInHandle
{
public:
    StandInHandle()
        : m_library(StandInPath())
    {
        if (!m_library.load())
            return;
        m_reset = Resolve<decltype(StandIn_Reset)>("StandIn_Reset");
        m_setProbes = Resolve<decltype(StandIn_SetProbes)>("StandIn_SetProbes");
        m_setFault = Resolve<decltype(StandIn_SetFault)>("StandIn_SetFault");
        m_setMemoryFile = Resolve<decltype(StandIn_SetMemoryFile)>("StandIn_SetMemoryFile");
        m_pokeWord = Resolve<decltype(StandIn_PokeWord)>("StandIn_PokeWord");
        m_peekWord = Resolve<decltype(StandIn_PeekWord)>("StandIn_PeekWord");
        m_callLog = Resolve<decltype(StandIn_CallLog)>("StandIn_CallLog");
        m_clearCallLog = Resolve<decltype(StandIn_ClearCallLog)>("StandIn_ClearCallLog");
        m_setCoreRegister = Resolve<decltype(StandIn_SetCoreRegister)>("StandIn_SetCoreRegister");
        m_coreRegister = Resolve<decltype(StandIn_CoreRegister)>("StandIn_CoreRegister");
    }

    bool IsLoaded() const
    {
        return m_reset && m_setProbes && m_setFault && m_setMemoryFile && m_pokeWord && m_peekWord && m_callLog &&
               m_clearCallLog && m_setCoreRegister && m_coreRegister;
    }
    QString LoadError() const { return m_library.errorString(); }

    void Reset() { m_reset(); }
    void SetProbes(const std::vector<uint32_t> &serials) { m_setProbes(serials.data(), int(serials.size())); }
    bool SetFault(const char *fault, int fromCall = 1) { return m_setFault(fault, fromCall) != 0; }
    void SetMemoryFile(const QString &path) { m_setMemoryFile(path.toLocal8Bit().constData()); }
    void PokeWord(uint32_t address, uint32_t word) { m_pokeWord(address, word); }
    uint32_t PeekWord(uint32_t address) { return m_peekWord(address); }
    void ClearCallLog() { m_clearCallLog(); }
    void SetCoreRegister(uint32_t selector, uint32_t value) { m_setCoreRegister(selector, value); }
    uint32_t CoreRegister(uint32_t selector) { return m_coreRegister(selector); }
    QStringList CallLog()
    {
        const int length = m_callLog(nullptr, 0);
        QByteArray text(length + 1, '\0');
        m_callLog(text.data(), length + 1);
        text.chop(1);
        return QString::fromLatin1(text).split('\n', Qt::SkipEmptyParts);
    }

private:
    template<typename Prototype> Prototype *Resolve(const char *name)
    {
        return reinterpret_cast<Prototype *>(m_library.resolve(name));
    }

    QLibrary m_library;
    decltype(StandIn_Reset) *m_reset = nullptr;
    decltype(StandIn_SetProbes) *m_setProbes = nullptr;
    decltype(StandIn_SetFault) *m_setFault = nullptr;
    decltype(StandIn_SetMemoryFile) *m_setMemoryFile = nullptr;
    decltype(StandIn_PokeWord) *m_pokeWord = nullptr;
    decltype(StandIn_PeekWord) *m_peekWord = nullptr;
    decltype(StandIn_CallLog) *m_callLog = nullptr;
    decltype(StandIn_ClearCallLog) *m_clearCallLog = nullptr;
    decltype(StandIn_SetCoreRegister) *m_setCoreRegister = nullptr;
    decltype(StandIn_CoreRegister) *m_coreRegister = nullptr;
};

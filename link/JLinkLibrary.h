#pragma once

#include "link/JLinkApi.h"

#include <QLibrary>
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// The J-Link run-time library, loaded at run time and bound by name, once at
// start-up. It counts as bound only when a candidate loaded and every one of
// the 33 looked-up names was found.
//
// Call contract relied on (results are the library's own, passed through):
//  - EmuGetList: probes attached; 0 or less means none. ProbeSerialNumbers
//    gives no list for a count above 1024 (no host has that many probes).
//  - EmuSelectByUsbSn: negative means failure.
//  - IsOpen, EmuIsConnected: true when the library says non-zero.
//  - Connect: 0 means connected.
//  - ReadMemEx, WriteMemEx: bytes transferred; only a result equal to the
//    byte count is success, the caller judges.
// On an unbound library every call is harmless and reports failure.
class JLinkLibrary
{
public:
    JLinkLibrary();
    ~JLinkLibrary();
    JLinkLibrary(const JLinkLibrary &) = delete;
    JLinkLibrary &operator=(const JLinkLibrary &) = delete;

    // JLINKDLL setting (possibly empty, then skipped by Bind), the vendor's
    // install path, the copy beside the executable, then the plain name for
    // the normal library search.
    static QStringList SearchOrder(const QString &jlinkDllSetting, const QString &exeDir);

    // Loads the first candidate that loads, then looks the names up in order.
    // A candidate path is loaded only when it holds an ELF shared library of
    // this machine whose program headers lie inside the file (a truncated
    // file would crash the loader); a FIFO or a device is never opened
    // blocking. A missing name unloads the library again; later candidates are not
    // tried, as the first library found is the one the user installed.
    bool Bind(const QStringList &candidates);
    bool IsBound() const { return m_bound; }
    QString LoadedPath() const { return m_loadedPath; }
    QString MissingName() const { return m_missingName; }

    int EmuGetList();
    std::vector<uint32_t> ProbeSerialNumbers();
    int EmuSelectByUsbSn(uint32_t serialNumber);
    void Open();
    bool IsOpen();
    bool EmuIsConnected();
    void TifSelect(int interface);
    void SetSpeed(uint32_t kHz);
    void ExecCommand(const char *command);
    int Connect();
    int ReadMemEx(uint32_t address, uint32_t byteCount, uint8_t *into);
    int WriteMemEx(uint32_t address, uint32_t byteCount, const uint8_t *from);
    void Halt();
    void Go();
    void Close();

private:
    template<typename Prototype> Prototype *Entry(JLinkApi::Function function) const
    {
        return m_bound ? reinterpret_cast<Prototype *>(m_entries[function]) : nullptr;
    }
    void Unbind();

    std::unique_ptr<QLibrary> m_library;
    std::array<QFunctionPointer, JLinkApi::kFunctionCount> m_entries{};
    bool m_bound = false;
    QString m_loadedPath;
    QString m_missingName;
};

#include "link/JLinkLibrary.h"

#include "link/DiskFile.h"

#include <QDir>

#include <algorithm>
#include <cstring>

#include <elf.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const char kVendorInstallPath[] = "/opt/SEGGER/JLink/libjlinkarm.so";
const char kLibraryFileName[] = "libjlinkarm.so";

// More probes than any host has; a larger count is a broken library.
constexpr int kProbeLimit = 1024;

#if defined(__x86_64__)
constexpr Elf64_Half kMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr Elf64_Half kMachine = EM_AARCH64;
#elif defined(__i386__)
constexpr Elf64_Half kMachine = EM_386;
#elif defined(__arm__)
constexpr Elf64_Half kMachine = EM_ARM;
#else
#error "the machine of this build has no ELF check"
#endif

template<typename Header, typename ProgramHeader> bool FitsItsFile(int fd, qint64 fileSize)
{
    Header header;
    if (::pread(fd, &header, sizeof header, 0) != ssize_t(sizeof header))
        return false;
    if (header.e_machine != kMachine || header.e_phentsize != sizeof(ProgramHeader) || header.e_phnum == 0)
        return false;
    const quint64 tableEnd = quint64(header.e_phoff) + quint64(header.e_phnum) * sizeof(ProgramHeader);
    if (header.e_phoff == 0 || tableEnd > quint64(fileSize))
        return false;
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        ProgramHeader program;
        const off_t at = off_t(header.e_phoff + i * sizeof program);
        if (::pread(fd, &program, sizeof program, at) != ssize_t(sizeof program))
            return false;
        // The loader maps these bytes; past the file's end they would fault.
        if (program.p_type != PT_NULL && quint64(program.p_offset) + quint64(program.p_filesz) > quint64(fileSize))
            return false;
    }
    return true;
}

// A shared library the loader of this process can map without touching
// bytes the file does not have: a truncated or foreign file would crash the
// process inside the loader (SIGBUS) at every start.
bool IsLoadableLibrary(const QString &path)
{
    const int fd = DiskFile::OpenRegular(path);
    if (fd < 0)
        return false;
    struct stat info
    {
    };
    unsigned char ident[EI_NIDENT] = {};
    constexpr unsigned char kByteOrder = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? ELFDATA2LSB : ELFDATA2MSB;
    bool loadable = ::fstat(fd, &info) == 0 && ::pread(fd, ident, EI_NIDENT, 0) == EI_NIDENT &&
                    std::memcmp(ident, ELFMAG, SELFMAG) == 0 && ident[EI_DATA] == kByteOrder;
    if (loadable && sizeof(void *) == 8)
        loadable = ident[EI_CLASS] == ELFCLASS64 && FitsItsFile<Elf64_Ehdr, Elf64_Phdr>(fd, info.st_size);
    else if (loadable)
        loadable = ident[EI_CLASS] == ELFCLASS32 && FitsItsFile<Elf32_Ehdr, Elf32_Phdr>(fd, info.st_size);
    ::close(fd);
    return loadable;
}

} // namespace

JLinkLibrary::JLinkLibrary() = default;

// The library stays loaded for the life of the process: entry points may
// still be in use by whoever bound it, and unloading a probe driver mid-run
// buys nothing.
JLinkLibrary::~JLinkLibrary() = default;

QStringList JLinkLibrary::SearchOrder(const QString &jlinkDllSetting, const QString &exeDir)
{
    QStringList candidates;
    candidates << jlinkDllSetting << QString::fromLatin1(kVendorInstallPath)
               << QDir(exeDir).filePath(QString::fromLatin1(kLibraryFileName)) << QString::fromLatin1(kLibraryFileName);
    return candidates;
}

bool JLinkLibrary::Bind(const QStringList &candidates)
{
    Unbind();
    m_loadedPath.clear();
    m_missingName.clear();
    for (const QString &candidate : candidates) {
        if (candidate.isEmpty())
            continue;
        // A path is checked before the loader sees it; a plain name is left
        // to the system's own search.
        if (candidate.contains(u'/') && !IsLoadableLibrary(candidate))
            continue;
        auto library = std::make_unique<QLibrary>(candidate);
        if (library->load()) {
            m_library = std::move(library);
            break;
        }
    }
    if (!m_library)
        return false;

    m_loadedPath = m_library->fileName();
    for (std::size_t i = 0; i < JLinkApi::kFunctionCount; ++i) {
        m_entries[i] = m_library->resolve(JLinkApi::kFunctionNames[i]);
        if (!m_entries[i]) {
            m_missingName = QString::fromLatin1(JLinkApi::kFunctionNames[i]);
            Unbind();
            return false;
        }
    }
    m_bound = true;
    return true;
}

void JLinkLibrary::Unbind()
{
    if (m_library)
        m_library->unload();
    m_library.reset();
    m_entries.fill(nullptr);
    m_bound = false;
}

int JLinkLibrary::EmuGetList()
{
    auto *call = Entry<decltype(JLINK_EMU_GetList)>(JLinkApi::EMU_GetList);
    return call ? call(JLinkApi::kHostInterfaceUsb, nullptr, 0) : 0;
}

std::vector<uint32_t> JLinkLibrary::ProbeSerialNumbers()
{
    auto *call = Entry<decltype(JLINK_EMU_GetList)>(JLinkApi::EMU_GetList);
    if (!call)
        return {};
    const int attached = call(JLinkApi::kHostInterfaceUsb, nullptr, 0);
    if (attached <= 0 || attached > kProbeLimit)
        return {}; // no list rather than an allocation the count cannot justify
    std::vector<JLINKARM_EMU_CONNECT_INFO> records(static_cast<std::size_t>(attached));
    const int filled = call(JLinkApi::kHostInterfaceUsb, records.data(), attached);
    // A probe unplugged between the two calls leaves fewer records; never
    // trust a count beyond the array handed over.
    const int usable = std::clamp(filled, 0, attached);
    std::vector<uint32_t> serials;
    serials.reserve(std::size_t(usable));
    for (int i = 0; i < usable; ++i)
        serials.push_back(records[std::size_t(i)].SerialNumber);
    return serials;
}

int JLinkLibrary::EmuSelectByUsbSn(uint32_t serialNumber)
{
    auto *call = Entry<decltype(JLINK_EMU_SelectByUSBSN)>(JLinkApi::EMU_SelectByUSBSN);
    return call ? call(serialNumber) : -1;
}

void JLinkLibrary::Open()
{
    if (auto *call = Entry<decltype(JLINK_Open)>(JLinkApi::Open))
        call();
}

bool JLinkLibrary::IsOpen()
{
    auto *call = Entry<decltype(JLINK_IsOpen)>(JLinkApi::IsOpen);
    return call && call() != 0;
}

bool JLinkLibrary::EmuIsConnected()
{
    auto *call = Entry<decltype(JLINK_EMU_IsConnected)>(JLinkApi::EMU_IsConnected);
    return call && call() != 0;
}

void JLinkLibrary::TifSelect(int interface)
{
    if (auto *call = Entry<decltype(JLINK_TIF_Select)>(JLinkApi::TIF_Select))
        call(interface);
}

void JLinkLibrary::SetSpeed(uint32_t kHz)
{
    if (auto *call = Entry<decltype(JLINK_SetSpeed)>(JLinkApi::SetSpeed))
        call(kHz);
}

void JLinkLibrary::ExecCommand(const char *command)
{
    if (auto *call = Entry<decltype(JLINK_ExecCommand)>(JLinkApi::ExecCommand))
        call(command, nullptr, 0);
}

int JLinkLibrary::Connect()
{
    auto *call = Entry<decltype(JLINK_Connect)>(JLinkApi::Connect);
    return call ? call() : -1;
}

int JLinkLibrary::ReadMemEx(uint32_t address, uint32_t byteCount, uint8_t *into)
{
    auto *call = Entry<decltype(JLINK_ReadMemEx)>(JLinkApi::ReadMemEx);
    return call ? call(address, byteCount, into, JLinkApi::kAccessWidth4) : -1;
}

int JLinkLibrary::WriteMemEx(uint32_t address, uint32_t byteCount, const uint8_t *from)
{
    auto *call = Entry<decltype(JLINK_WriteMemEx)>(JLinkApi::WriteMemEx);
    return call ? call(address, byteCount, from, JLinkApi::kAccessWidth4) : -1;
}

void JLinkLibrary::Halt()
{
    if (auto *call = Entry<decltype(JLINK_Halt)>(JLinkApi::Halt))
        call();
}

void JLinkLibrary::Go()
{
    if (auto *call = Entry<decltype(JLINK_Go)>(JLinkApi::Go))
        call();
}

void JLinkLibrary::Close()
{
    if (auto *call = Entry<decltype(JLINK_Close)>(JLinkApi::Close))
        call();
}

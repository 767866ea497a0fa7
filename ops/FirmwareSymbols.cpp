#include "ops/FirmwareSymbols.h"

#include "ops/OpsMessages.h"
#include "link/Tr.h"

#include <elfutils/libdw.h>
#include <fcntl.h>
#include <gelf.h>
#include <libelf.h>
#include <unistd.h>

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

struct FirmwareSymbols::Handles
{
    int fd = -1;
    Elf *elf = nullptr;
    Dwarf *dwarf = nullptr;

    ~Handles()
    {
        if (dwarf)
            dwarf_end(dwarf);
        if (elf)
            elf_end(elf);
        if (fd >= 0)
            ::close(fd);
    }

    // Every symbol with a name: visit(name, address without the Thumb bit, size, type).
    template<typename Visit> void ForEachSymbol(Visit visit) const
    {
        Elf_Scn *section = nullptr;
        while ((section = elf_nextscn(elf, section)) != nullptr) {
            GElf_Shdr header;
            if (!gelf_getshdr(section, &header) || header.sh_type != SHT_SYMTAB || header.sh_entsize == 0)
                continue;
            Elf_Data *data = elf_getdata(section, nullptr);
            const std::size_t count = header.sh_size / header.sh_entsize;
            for (std::size_t i = 0; data && i < count; ++i) {
                GElf_Sym symbol;
                if (!gelf_getsym(data, int(i), &symbol))
                    continue;
                const int type = GELF_ST_TYPE(symbol.st_info);
                const uint32_t address = uint32_t(symbol.st_value) & (type == STT_FUNC ? ~1u : ~0u);
                const char *name = elf_strptr(elf, header.sh_link, symbol.st_name);
                if (name && *name && visit(name, address, uint32_t(symbol.st_size), type))
                    return;
            }
        }
    }
};

std::unique_ptr<FirmwareSymbols> FirmwareSymbols::Open(const QString &path, QString *failure)
{
    elf_version(EV_CURRENT);
    std::unique_ptr<FirmwareSymbols> symbols(new FirmwareSymbols);
    symbols->m_handles = std::make_unique<Handles>();
    Handles &h = *symbols->m_handles;
    h.fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (h.fd < 0) {
        *failure = QString::fromLocal8Bit(std::strerror(errno));
        return nullptr;
    }
    h.elf = elf_begin(h.fd, ELF_C_READ, nullptr);
    if (!h.elf || elf_kind(h.elf) != ELF_K_ELF) {
        *failure = Tr(OpsMessages::kElfNotElf);
        return nullptr;
    }
    h.dwarf = dwarf_begin_elf(h.elf, DWARF_C_READ, nullptr); // none: functions only
    return symbols;
}

FirmwareSymbols::~FirmwareSymbols() = default;

std::optional<FaultReport::SourcePlace> FirmwareSymbols::Place(uint32_t address) const
{
    const uint32_t at = address & ~1u;
    FaultReport::SourcePlace place;
    m_handles->ForEachSymbol([&](const char *name, uint32_t start, uint32_t size, int type) {
        if (type != STT_FUNC || at < start || at - start >= std::max<uint32_t>(size, 1))
            return false;
        place.function = QString::fromUtf8(name);
        return true;
    });
    if (m_handles->dwarf) {
        Dwarf_Die unit;
        if (dwarf_addrdie(m_handles->dwarf, at, &unit) != nullptr) {
            if (Dwarf_Line *line = dwarf_getsrc_die(&unit, at)) {
                int number = 0;
                const char *file = dwarf_linesrc(line, nullptr, nullptr);
                if (file && dwarf_lineno(line, &number) == 0) {
                    place.file = QString::fromUtf8(file);
                    place.line = number;
                }
            }
        }
    }
    if (place.function.isEmpty() && place.file.isEmpty())
        return std::nullopt;
    return place;
}

std::optional<uint32_t> FirmwareSymbols::SymbolAddress(const QString &name) const
{
    const QByteArray wanted = name.toUtf8();
    std::optional<uint32_t> found;
    m_handles->ForEachSymbol([&](const char *symbol, uint32_t start, uint32_t, int) {
        if (wanted != symbol)
            return false;
        found = start;
        return true;
    });
    return found;
}

namespace FaultReport {

void AddPlaces(Report &report, const FirmwareSymbols &symbols)
{
    if (const auto pc = StackedPc(report))
        report.pcPlace = symbols.Place(*pc);
    if (const auto lr = StackedLr(report); lr && (*lr & ~1u) != 0)
        report.lrPlace = symbols.Place((*lr & ~1u) - 1);
}

} // namespace FaultReport

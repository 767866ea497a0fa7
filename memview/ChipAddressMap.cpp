#include "memview/ChipAddressMap.h"

#include "regmap/SvdDeviceModel.h"
#include "xml/XmlDocument.h"

#include <QFileInfo>

#include <algorithm>
#include <mutex>

ChipAddressMap ChipAddressMap::Load(const QString &svdPath)
{
    ChipAddressMap map;
    XmlDocument document;
    if (!document.LoadFile(svdPath))
        return map;
    for (const QString &name : SvdDeviceModel::ReadPeripheralNames(document)) {
        // Words whose reading may change the chip must be known whatever
        // else the file gets wrong: the walk goes as far as it can.
        const SvdPeripheralResult result = SvdDeviceModel::ReadPeripheralAsFarAsKnown(document, name);
        if (result.outcome != SvdPeripheralResult::Outcome::Found && !result.partial)
            continue;
        const SvdPeripheral &peripheral = result.peripheral;
        const int index = int(map.m_peripherals.size());
        map.m_peripherals.push_back({peripheral.name, peripheral.baseAddress, peripheral.span});
        // A whole unknown peripheral is named first, before the registers walked.
        if (result.partial)
            map.m_registers.push_back({peripheral.name, result.message, peripheral.baseAddress, peripheral.span, false,
                                       index, result.message});
        const std::size_t first = map.m_registers.size();
        for (const SvdRegister &reg : peripheral.registers)
            map.m_registers.push_back({peripheral.name + u'.' + reg.name, reg.description, reg.address,
                                       std::max(1u, reg.size / 8), reg.readHasSideEffect, index, QString()});
        for (const SvdPeripheralResult::UnknownFields &unknown : result.unknownFields)
            map.m_registers[first + std::size_t(unknown.reg)].unknown = unknown.message;
    }
    for (const Register &reg : map.m_registers)
        map.m_widest = std::max(map.m_widest, reg.bytes);
    std::stable_sort(map.m_registers.begin(), map.m_registers.end(),
                     [](const Register &a, const Register &b) { return a.address < b.address; });
    return map;
}

std::shared_ptr<const ChipAddressMap> ChipAddressMap::Shared(const QString &svdPath)
{
    struct Entry
    {
        QString path;
        QDateTime modified;
        qint64 size = -1;
        std::shared_ptr<const ChipAddressMap> map;
    };
    static std::mutex mutex;
    static Entry last;
    const QFileInfo file(svdPath);
    std::lock_guard lock(mutex);
    if (!last.map || last.path != svdPath || last.modified != file.lastModified() || last.size != file.size())
        last = {svdPath, file.lastModified(), file.size(), std::make_shared<const ChipAddressMap>(Load(svdPath))};
    return last.map;
}

std::vector<const ChipAddressMap::Register *> ChipAddressMap::RegistersStartingIn(uint32_t first, uint32_t count) const
{
    std::vector<const Register *> found;
    const uint64_t end = uint64_t(first) + count;
    auto at = std::lower_bound(m_registers.begin(), m_registers.end(), first,
                               [](const Register &reg, uint32_t address) { return reg.address < address; });
    for (; at != m_registers.end() && at->address < end; ++at)
        found.push_back(&*at);
    return found;
}

const ChipAddressMap::Register *ChipAddressMap::RegisterAt(uint32_t address) const
{
    // Look back from the first register after the address, as far as the widest reaches.
    auto after = std::upper_bound(m_registers.begin(), m_registers.end(), address,
                                  [](uint32_t a, const Register &reg) { return a < reg.address; });
    const Register *found = nullptr;
    for (auto at = after; at != m_registers.begin();) {
        --at;
        if (address - at->address >= std::max<uint32_t>(64, m_widest))
            break;
        // A stretch standing for a whole unknown peripheral gives way to its registers.
        const bool whole = at->name == PeripheralOf(*at).name;
        if (address < uint64_t(at->address) + at->bytes &&
            (!found || !whole || found->name == PeripheralOf(*found).name))
            found = &*at;
    }
    return found;
}

const ChipAddressMap::Peripheral *ChipAddressMap::PeripheralAt(uint32_t address) const
{
    for (const Peripheral &peripheral : m_peripherals)
        if (address >= peripheral.base && address - peripheral.base < peripheral.span)
            return &peripheral;
    return nullptr;
}

std::optional<uint32_t> ChipAddressMap::AddressOf(const QString &name) const
{
    const QString wanted = name.trimmed();
    if (wanted.isEmpty())
        return std::nullopt;
    for (const Peripheral &peripheral : m_peripherals)
        if (peripheral.name == wanted)
            return peripheral.base;
    for (const Register &reg : m_registers)
        if (reg.name == wanted)
            return reg.address;
    std::optional<uint32_t> only;
    int matches = 0;
    auto consider = [&](const QString &candidate, uint32_t address) {
        if (candidate.compare(wanted, Qt::CaseInsensitive) == 0) {
            only = address;
            ++matches;
        }
    };
    for (const Peripheral &peripheral : m_peripherals)
        consider(peripheral.name, peripheral.base);
    for (const Register &reg : m_registers)
        consider(reg.name, reg.address);
    return matches == 1 ? only : std::nullopt;
}

QStringList ChipAddressMap::Names() const
{
    QStringList names;
    for (const Peripheral &peripheral : m_peripherals)
        names << peripheral.name;
    for (const Register &reg : m_registers)
        if (reg.name != PeripheralOf(reg).name) // a whole unknown peripheral is named once
            names << reg.name;
    return names;
}

std::vector<uint32_t> ChipAddressMap::LeftOutWords() const
{
    std::vector<uint32_t> words;
    for (const Register &reg : m_registers)
        if (reg.readHasSideEffect || !reg.unknown.isEmpty())
            for (uint64_t word = reg.address & ~3u; word < uint64_t(reg.address) + reg.bytes; word += 4)
                words.push_back(uint32_t(word));
    return words;
}

std::optional<QString> ChipAddressMap::UnknownAt(uint32_t address) const
{
    for (const Register &reg : m_registers)
        if (!reg.unknown.isEmpty() && address >= reg.address && address - reg.address < reg.bytes)
            return reg.unknown;
    return std::nullopt;
}

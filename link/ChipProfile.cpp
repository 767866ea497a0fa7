#include "link/ChipProfile.h"

#include "link/LinkMessages.h"
#include "link/MessageText.h"
#include "link/Tr.h"

#include <algorithm>

namespace ChipProfile {

namespace {

struct AddressWindow
{
    uint32_t first;
    uint32_t last;
    const char *message;

    bool Contains(uint32_t address) const { return address >= first && address <= last; }
};

constexpr AddressWindow kReadCommon{0x00100000, 0x0FFFFFFF, LinkMessages::kReadCommonWindow};
constexpr AddressWindow kWriteCommon{0x00000000, 0x1FFFFFFF, LinkMessages::kWriteCommonWindow};
constexpr AddressWindow kFrom62{0x62000000, 0xDFFFFFFF, LinkMessages::kFrom62Window};
constexpr AddressWindow kFrom64{0x64000000, 0xDFFFFFFF, LinkMessages::kFrom64Window};

struct Row
{
    const char *model;
    FrameLayout layout;
    const AddressWindow *readWindow;
    const AddressWindow *writeWindow;
    uint32_t watchdog[3];
    bool lcpuHaltPreparation;
};

constexpr Row kRows[] = {
    {"VX21A", FrameLayout::LittleEndian, &kFrom62, &kFrom62, {0x4000B00C, 0x500CC00C, 0x5009400C}, true},
    {"VX21B", FrameLayout::None, nullptr, &kFrom64, {0x4001400C, 0x4005500C, 0x4007C00C}, false},
    {"VX21C", FrameLayout::BigEndian, &kFrom64, &kFrom64, {0x4001400C, 0x5000B00C, 0x5004C00C}, false},
    {"VX21D", FrameLayout::LittleEndian, nullptr, nullptr, {0x5009400C, 0x4000B00C, 0x500CC00C}, false},
    {"VX21E", FrameLayout::None, &kFrom64, &kFrom64, {0x4001400C, 0x5000B00C, 0x5004C00C}, false},
};

const Row *FindRow(const QString &model)
{
    for (const Row &row : kRows)
        if (model == QLatin1String(row.model))
            return &row;
    return nullptr;
}

std::optional<QString> Check(const AddressWindow &common, const AddressWindow *own, uint32_t address)
{
    if (common.Contains(address))
        return Tr(common.message);
    if (own && own->Contains(address))
        return Tr(own->message);
    return std::nullopt;
}

} // namespace

bool SupportsUartDebug(const QString &model)
{
    return UartFrameLayout(model) != FrameLayout::None;
}

FrameLayout UartFrameLayout(const QString &model)
{
    const Row *row = FindRow(model);
    return row ? row->layout : FrameLayout::None;
}

namespace {

// The first byte of [first, first + count) inside either window; the common
// window wins a tie, as the single-address check applies it first.
std::optional<Refusal> FirstRefused(const AddressWindow &common, const AddressWindow *own, uint32_t first,
                                    uint64_t count)
{
    const uint64_t end = std::min<uint64_t>(uint64_t(first) + count, uint64_t(1) << 32);
    std::optional<Refusal> found;
    for (const AddressWindow *window : {&common, own}) {
        if (!window || end <= window->first || first > window->last)
            continue;
        const uint32_t at = std::max(first, window->first);
        if (!found || at < found->address)
            found = Refusal{at, Tr(window->message)};
    }
    return found;
}

} // namespace

std::optional<Refusal> FirstRefusedRead(const QString &model, uint32_t first, uint64_t count)
{
    const Row *row = FindRow(model);
    return FirstRefused(kReadCommon, row ? row->readWindow : nullptr, first, count);
}

std::optional<Refusal> FirstRefusedWrite(const QString &model, uint32_t first, uint64_t count)
{
    const Row *row = FindRow(model);
    return FirstRefused(kWriteCommon, row ? row->writeWindow : nullptr, first, count);
}

QString RefusalText(const Refusal &refusal, uint32_t first)
{
    if (refusal.address == first)
        return refusal.message;
    return MessageText::Format(LinkMessages::kTransferReaches, refusal.address, refusal.message.toUtf8().constData());
}

std::optional<QString> CheckReadAddress(const QString &model, uint32_t address)
{
    const Row *row = FindRow(model);
    return Check(kReadCommon, row ? row->readWindow : nullptr, address);
}

std::optional<QString> CheckWriteAddress(const QString &model, uint32_t address)
{
    const Row *row = FindRow(model);
    return Check(kWriteCommon, row ? row->writeWindow : nullptr, address);
}

namespace {

std::vector<RefusedWindow> Windows(const AddressWindow &common, const AddressWindow *own)
{
    std::vector<RefusedWindow> windows{{common.first, common.last}};
    if (own)
        windows.push_back({own->first, own->last});
    return windows;
}

} // namespace

std::vector<RefusedWindow> RefusedReads(const QString &model)
{
    const Row *row = FindRow(model);
    return Windows(kReadCommon, row ? row->readWindow : nullptr);
}

std::vector<RefusedWindow> RefusedWrites(const QString &model)
{
    const Row *row = FindRow(model);
    return Windows(kWriteCommon, row ? row->writeWindow : nullptr);
}

std::vector<uint32_t> WatchdogRegisters(const QString &model)
{
    const Row *row = FindRow(model);
    if (!row)
        return {};
    return {row->watchdog[0], row->watchdog[1], row->watchdog[2]};
}

bool NeedsLcpuHaltPreparation(const QString &model)
{
    const Row *row = FindRow(model);
    return row && row->lcpuHaltPreparation;
}

} // namespace ChipProfile

#include "memview/MemoryView.h"

#include "memview/MemoryRows.h"
#include "memview/MemoryUnits.h"
#include "regmap/RowChanges.h"

#include <algorithm>

namespace {

constexpr uint8_t kNoMark = 0xFF;
constexpr int kFade = RowChanges::kFadeReads;

} // namespace

MemoryView::MemoryView(uint32_t address)
{
    GoTo(address);
}

void MemoryView::SetRules(ReadRules rules)
{
    m_rules = std::move(rules);
    Forget();
}

bool MemoryView::SetUnit(int size)
{
    if (!MemoryUnits::IsSize(size))
        return false;
    m_unit = size;
    m_cursor &= ~uint32_t(size - 1);
    return true;
}

bool MemoryView::SetRowWidth(int bytes)
{
    if (!MemoryUnits::IsRowWidth(bytes))
        return false;
    const uint32_t first = m_first;
    m_rowWidth = bytes;
    m_topRow = std::min(uint64_t(first) / uint64_t(bytes), LastTopRow());
    Rebase();
    ScrollCursorIntoView();
    return true;
}

void MemoryView::SetRowsShown(int rows)
{
    m_rowsShown = std::max(1, rows);
    m_topRow = std::min(m_topRow, LastTopRow());
    Rebase();
}

uint64_t MemoryView::LastTopRow() const
{
    return RowCount() > uint64_t(m_rowsShown) ? RowCount() - uint64_t(m_rowsShown) : 0;
}

void MemoryView::ScrollToRow(int64_t row)
{
    m_topRow = uint64_t(std::clamp<int64_t>(row, 0, int64_t(LastTopRow())));
    Rebase();
}

void MemoryView::GoTo(uint32_t address)
{
    m_cursor = address & ~uint32_t(m_unit - 1);
    ScrollToRow(int64_t(address / uint32_t(m_rowWidth)));
}

void MemoryView::PlaceCursor(uint32_t address)
{
    m_cursor = address & ~uint32_t(m_unit - 1);
    ScrollCursorIntoView();
}

void MemoryView::ScrollCursorIntoView()
{
    const uint64_t row = m_cursor / uint32_t(m_rowWidth);
    if (row < m_topRow)
        ScrollToRow(int64_t(row));
    else if (row >= m_topRow + uint64_t(m_rowsShown))
        ScrollToRow(int64_t(row) - m_rowsShown + 1);
}

void MemoryView::MoveCursor(Move move)
{
    const int64_t cursor = m_cursor;
    const int64_t rowStart = cursor - cursor % m_rowWidth;
    const int64_t last = int64_t(ReadRules::kSpaceSize) - m_unit;
    int64_t next = cursor;
    switch (move) {
    case Move::Left:
        next = cursor - m_unit;
        break;
    case Move::Right:
        next = cursor + m_unit;
        break;
    case Move::Up:
        next = cursor - m_rowWidth;
        break;
    case Move::Down:
        next = cursor + m_rowWidth;
        break;
    case Move::PageUp:
    case Move::PageDown: {
        // A page of rows in the same column, the view along with it; at
        // either end of the space the cursor stops in the first or last row.
        const int64_t rows = move == Move::PageUp ? -m_rowsShown : m_rowsShown;
        next = std::clamp<int64_t>(cursor + rows * m_rowWidth, cursor - rowStart,
                                   last - (m_rowWidth - m_unit) + (cursor - rowStart));
        ScrollToRow(int64_t(m_topRow) + rows);
        break;
    }
    case Move::RowStart:
        next = rowStart;
        break;
    case Move::RowEnd:
        next = rowStart + m_rowWidth - m_unit;
        break;
    }
    if (next < 0 || next > last)
        return;
    PlaceCursor(uint32_t(next));
}

void MemoryView::Rebase()
{
    const uint32_t first = RowAddress(m_topRow);
    const auto size =
        uint32_t(std::min<uint64_t>(uint64_t(m_rowsShown) * uint64_t(m_rowWidth), ReadRules::kSpaceSize - first));
    if (first == m_first && size == ShownBytes() && !m_states.empty())
        return;
    MemoryBlock fresh = MemoryRows::Planned(m_rules, first, size);
    std::vector<uint8_t> ages(size, kNoMark);
    // What was held and is still shown stays.
    const uint64_t from = std::max<uint64_t>(first, m_first);
    const uint64_t to = std::min<uint64_t>(uint64_t(first) + size, uint64_t(m_first) + ShownBytes());
    for (uint64_t a = from; a < to; ++a) {
        fresh.bytes[qsizetype(a - first)] = m_bytes[qsizetype(a - m_first)];
        fresh.states[a - first] = m_states[a - m_first];
        ages[a - first] = m_ages[a - m_first];
    }
    m_first = first;
    m_bytes = std::move(fresh.bytes);
    m_states = std::move(fresh.states);
    m_ages = std::move(ages);
}

ByteState MemoryView::State(uint32_t address) const
{
    return IsShown(address) ? m_states[address - m_first] : ByteState::Unread;
}

uint8_t MemoryView::Byte(uint32_t address) const
{
    return IsShown(address) ? uint8_t(m_bytes[qsizetype(address - m_first)]) : 0;
}

std::optional<uint32_t> MemoryView::UnitValue(uint32_t unitAddress) const
{
    if (!IsShown(unitAddress) || !IsShown(unitAddress + uint32_t(m_unit) - 1))
        return std::nullopt;
    const std::size_t at = unitAddress - m_first;
    return MemoryUnits::Value(reinterpret_cast<const uint8_t *>(m_bytes.constData()) + at, m_states.data() + at,
                              m_unit);
}

QString MemoryView::UnitText(uint32_t unitAddress) const
{
    if (!IsShown(unitAddress) || !IsShown(unitAddress + uint32_t(m_unit) - 1))
        return QString(2 * m_unit, u' ');
    const std::size_t at = unitAddress - m_first;
    return MemoryUnits::Text(reinterpret_cast<const uint8_t *>(m_bytes.constData()) + at, m_states.data() + at, m_unit);
}

double MemoryView::Strength(uint32_t address) const
{
    if (!IsShown(address))
        return 0;
    const uint8_t age = m_ages[address - m_first];
    return age == kNoMark ? 0.0 : double(kFade - age) / kFade;
}

double MemoryView::UnitStrength(uint32_t unitAddress) const
{
    double strength = 0;
    for (int i = 0; i < m_unit; ++i)
        strength = std::max(strength, Strength(unitAddress + uint32_t(i)));
    return strength;
}

std::optional<MemoryBlock> MemoryView::TakeWanted()
{
    if (std::find(m_states.begin(), m_states.end(), ByteState::Unread) == m_states.end())
        return std::nullopt;
    // Rows still Reading go along: the read they waited for may have been
    // replaced by this one before it started.
    const auto unread = [](ByteState state) { return state == ByteState::Unread || state == ByteState::Reading; };
    const auto firstUnread = std::find_if(m_states.begin(), m_states.end(), unread);
    const auto lastUnread = std::find_if(m_states.rbegin(), m_states.rend(), unread);
    // Whole rows: the transfers are those of the rows shown.
    const std::size_t from = std::size_t(firstUnread - m_states.begin()) / std::size_t(m_rowWidth) * m_rowWidth;
    const std::size_t to = std::min(m_states.size(), (std::size_t(m_states.rend() - lastUnread) + m_rowWidth - 1) /
                                                         m_rowWidth * m_rowWidth);
    MemoryBlock wanted;
    wanted.first = m_first + uint32_t(from);
    wanted.bytes = m_bytes.mid(qsizetype(from), qsizetype(to - from));
    wanted.states.assign(m_states.begin() + qsizetype(from), m_states.begin() + qsizetype(to));
    for (std::size_t i = from; i < to; ++i)
        if (m_states[i] == ByteState::Unread)
            m_states[i] = ByteState::Reading;
    // Bytes held already (values, failures) are not read again: the read
    // reads only Unread and Reading bytes.
    return wanted;
}

void MemoryView::Apply(const MemoryBlock &block)
{
    Take(block, [](ByteState held) { return held == ByteState::Unread || held == ByteState::Reading; });
}

void MemoryView::Replace(const MemoryBlock &block)
{
    Take(block, [](ByteState held) { return held != ByteState::Refused && held != ByteState::LeftOut; });
}

void MemoryView::Take(const MemoryBlock &block, bool (*replaces)(ByteState held))
{
    for (uint32_t i = 0; i < block.Size(); ++i) {
        const uint32_t address = block.first + i;
        const ByteState state = block.states[i];
        if (!IsShown(address) || (state != ByteState::Value && state != ByteState::Failed))
            continue;
        ByteState &held = m_states[address - m_first];
        if (!replaces(held))
            continue;
        held = state;
        m_bytes[qsizetype(address - m_first)] = block.bytes[qsizetype(i)];
    }
}

void MemoryView::ApplyRefresh(const std::vector<MemoryBlock> &blocks)
{
    for (uint8_t &age : m_ages)
        age = age == kNoMark || age + 1 >= kFade ? kNoMark : uint8_t(age + 1);
    for (const MemoryBlock &block : blocks) {
        for (uint32_t i = 0; i < block.Size(); ++i) {
            const uint32_t address = block.first + i;
            if (!IsShown(address) || block.states[i] != ByteState::Value)
                continue;
            const std::size_t at = address - m_first;
            if (m_states[at] == ByteState::Refused || m_states[at] == ByteState::LeftOut)
                continue;
            if (m_states[at] == ByteState::Value && m_bytes[qsizetype(at)] != block.bytes[qsizetype(i)])
                m_ages[at] = 0;
            m_states[at] = ByteState::Value;
            m_bytes[qsizetype(at)] = block.bytes[qsizetype(i)];
        }
    }
}

void MemoryView::Forget()
{
    m_states.clear();
    m_bytes.clear();
    m_ages.clear();
    Rebase();
}

std::optional<MemoryView::Written> MemoryView::TakeLastWritten()
{
    if (m_written.empty())
        return std::nullopt;
    const Written last = m_written.back();
    m_written.pop_back();
    return last;
}

#pragma once

#include "memview/MemoryBlock.h"
#include "memview/ReadRules.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// A memory window's view of the address space: rows of 8, 16 or 32 bytes
// over the whole 32-bit space, shown in units of 1, 2 or 4 bytes, a cursor
// on one unit, and what is known of the bytes of the rows shown. Only the
// rows shown are held; rows scrolled into view start with what the rules
// know of them (refused, left out) and wait for a read. Refreshes of a
// watch mark the bytes that changed, fading over a few refreshes as the
// register windows' rows do.
class MemoryView
{
public:
    enum class Move { Left, Right, Up, Down, PageUp, PageDown, RowStart, RowEnd };
    struct Written
    {
        uint32_t address;
        int size;
        uint32_t before;
        uint32_t after;
    };

    explicit MemoryView(uint32_t address = 0x20000000);

    // The rules of the chip model; what was held is forgotten.
    void SetRules(ReadRules rules);
    const ReadRules &Rules() const { return m_rules; }

    int Unit() const { return m_unit; }
    bool SetUnit(int size);
    int RowWidth() const { return m_rowWidth; }
    bool SetRowWidth(int bytes);
    int RowsShown() const { return m_rowsShown; }
    void SetRowsShown(int rows);
    uint64_t RowCount() const { return ReadRules::kSpaceSize / uint64_t(m_rowWidth); }
    uint64_t TopRow() const { return m_topRow; }
    uint64_t LastTopRow() const;
    void ScrollToRow(int64_t row);
    uint32_t First() const { return m_first; }
    uint32_t ShownBytes() const { return uint32_t(m_states.size()); }
    bool IsShown(uint32_t address) const { return address >= m_first && address - m_first < ShownBytes(); }
    uint32_t RowAddress(uint64_t row) const { return uint32_t(row * uint64_t(m_rowWidth)); }

    uint32_t Cursor() const { return m_cursor; }
    // The cursor onto the unit holding the address, its row at the top.
    void GoTo(uint32_t address);
    // The cursor onto the unit holding the address, scrolled only as far as needed.
    void PlaceCursor(uint32_t address);
    void MoveCursor(Move move);

    ByteState State(uint32_t address) const;
    uint8_t Byte(uint32_t address) const;
    std::optional<uint32_t> UnitValue(uint32_t unitAddress) const;
    QString UnitText(uint32_t unitAddress) const;
    // 1 for a byte that changed at the last refresh, fading to 0.
    double Strength(uint32_t address) const;
    double UnitStrength(uint32_t unitAddress) const;

    // The shown rows that wait for a read, from the first such row to the
    // last; marked Reading. Bytes held already go along in their own state
    // (a value, a failure), which a read leaves as it is. Nothing when every
    // row is held or on its way.
    std::optional<MemoryBlock> TakeWanted();
    // A read's bytes, where they are shown and still wait for a read: what
    // is held (a failure, a newer value) stays until read again.
    void Apply(const MemoryBlock &block);
    // Bytes read again on purpose (a unit read back after its write): they
    // replace what was held.
    void Replace(const MemoryBlock &block);
    // A watch's refresh: bytes that differ from what was held are marked.
    void ApplyRefresh(const std::vector<MemoryBlock> &blocks);
    // Everything shown waits for a read again (the refresh key, a chip change).
    void Forget();

    // Units written, for undo.
    void PushWritten(const Written &written) { m_written.push_back(written); }
    std::optional<Written> TakeLastWritten();

private:
    // The block's read bytes where they are shown and `replaces` lets them
    // take the place of what is held.
    void Take(const MemoryBlock &block, bool (*replaces)(ByteState held));
    void Rebase();
    void ScrollCursorIntoView();

    ReadRules m_rules;
    int m_unit = 1;
    int m_rowWidth = 16;
    int m_rowsShown = 1;
    uint64_t m_topRow = 0;
    uint32_t m_cursor = 0;
    uint32_t m_first = 0;
    QByteArray m_bytes;
    std::vector<ByteState> m_states;
    std::vector<uint8_t> m_ages; // refreshes since the byte changed; kNoMark when unmarked
    std::vector<Written> m_written;
};

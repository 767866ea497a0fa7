#pragma once

#include "regmap/RegisterRow.h"
#include "regmap/RegisterRowTree.h"

#include <cstdint>
#include <optional>
#include <unordered_map>

// Which registers and fields of a window changed, read by read. After every
// read the window calls Observe(); a register, value or field row whose
// number differs from the one it had at the previous observation is marked
// with age 0, and every later read that leaves it alone ages the mark by one
// until it fades after kFadeReads reads. Numbers are compared, not texts, so
// switching between hexadecimal and decimal marks nothing; a row seen for the
// first time has nothing to differ from and is not marked.
class RowChanges
{
public:
    static constexpr int kFadeReads = 4;

    // After a read of the whole window; rows no longer in the tree are forgotten.
    void Observe(const RegisterRowTree &tree);
    // After a read of one peripheral: only its rows are compared and aged.
    void Observe(const RegisterRow &peripheral);
    void Forget();
    // Ages every mark by one read; false once no mark is left.
    bool AgeAll();

    // Reads since the row last changed (0: at the last read); nothing when
    // the row carries no mark.
    std::optional<int> Age(uint64_t rowId) const;
    bool ChangedAtLastRead(uint64_t rowId) const;
    // How strongly to draw the mark: 1 at the last read, falling by equal
    // steps to 0 when it fades.
    double Strength(uint64_t rowId) const;
    // The "changes only" view: a row stays when it or a row under it is marked.
    bool KeepsInChangesOnly(const RegisterRow &row) const;

private:
    void ObserveRow(const RegisterRow &row, std::unordered_map<uint64_t, uint64_t> &seen,
                    std::unordered_map<uint64_t, int> &ages) const;

    std::unordered_map<uint64_t, uint64_t> m_seen;
    std::unordered_map<uint64_t, int> m_age;
};

#pragma once

#include "regmap/RegisterRow.h"
#include "regmap/RegisterRowTree.h"

#include <QString>

#include <cstdint>
#include <unordered_set>

// The find box of a register window. A row matches when its name (a
// register's name without its value) or its description text contains the
// text, ignoring letter case. A row stays visible when it matches, when a
// row under it matches (so the way to a match stays open), or when a row
// above it matches (a matching peripheral or register keeps everything it
// holds). An empty text keeps every row.
namespace RowFilter {

bool Matches(const RegisterRow &row, const QString &text);
bool Keeps(const RegisterRow &row, const QString &text);
// The ids of every row that stays, in one walk of the tree.
std::unordered_set<uint64_t> KeptRows(const RegisterRowTree &tree, const QString &text);

} // namespace RowFilter

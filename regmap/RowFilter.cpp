#include "regmap/RowFilter.h"

#include "regmap/RowValues.h"

namespace RowFilter {

namespace {

// Keeps the row's subtree where it should stay; true when the row or a row
// under it matches.
bool Walk(const RegisterRow &row, const QString &text, bool aboveMatches, std::unordered_set<uint64_t> &kept)
{
    const bool matches = aboveMatches || Matches(row, text);
    bool below = false;
    for (const auto &child : row.Children())
        below = Walk(*child, text, matches, kept) || below;
    if (matches || below)
        kept.insert(row.Id());
    return matches || below;
}

} // namespace

bool Matches(const RegisterRow &row, const QString &text)
{
    return RowValues::ShownName(row).contains(text, Qt::CaseInsensitive) ||
           RowValues::DescriptionText(row).contains(text, Qt::CaseInsensitive);
}

bool Keeps(const RegisterRow &row, const QString &text)
{
    for (const RegisterRow *above = &row; above; above = above->Parent())
        if (Matches(*above, text))
            return true;
    std::unordered_set<uint64_t> kept;
    return Walk(row, text, false, kept);
}

std::unordered_set<uint64_t> KeptRows(const RegisterRowTree &tree, const QString &text)
{
    std::unordered_set<uint64_t> kept;
    for (const auto &peripheral : tree.TopRows())
        Walk(*peripheral, text, false, kept);
    return kept;
}

} // namespace RowFilter

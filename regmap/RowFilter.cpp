#include "regmap/RowFilter.h"

#include "regmap/RowText.h"

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

// The description a person reads, without the numbers before it; a
// peripheral's description holds numbers only.
QString DescriptionText(const RegisterRow &row)
{
    switch (row.RowKind()) {
    case RegisterRow::Kind::Peripheral:
        return QString();
    case RegisterRow::Kind::Register:
        return row.Traits().readHasSideEffect ? row.SvdDescription() + QString::fromUtf8(RowText::kReadClearsNote)
                                              : row.SvdDescription();
    case RegisterRow::Kind::Field:
    case RegisterRow::Kind::Value:
        break;
    }
    return row.SvdDescription();
}

bool Matches(const RegisterRow &row, const QString &text)
{
    return row.BareName().contains(text, Qt::CaseInsensitive) ||
           DescriptionText(row).contains(text, Qt::CaseInsensitive);
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

#pragma once

#include "regmap/RegisterRow.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// A peripheral's rows as the window shows them against another set of
// values of the same peripheral: a snapshot image (the raw file of its
// address range) or another window's rows. Every register, value and field
// row whose number differs is listed with the other side's value, as text in
// the base the row shows, to draw beside the current one.
class RowComparison
{
public:
    struct Difference
    {
        const RegisterRow *row = nullptr;
        uint64_t current = 0;
        uint64_t other = 0;
        QString otherText;
    };

    // Word k of the register at offset k of the image (words k and k + 4 of
    // a 64-bit one). A register whose words are not wholly inside the image
    // is not compared: it is listed as not in
    // the image, never compared against invented zeros.
    static RowComparison AgainstImage(const RegisterRow &peripheral, const QByteArray &image);
    // Registers matched by their offset; a register the other side lacks is
    // not compared.
    static RowComparison AgainstRows(const RegisterRow &peripheral, const RegisterRow &other);

    const std::vector<Difference> &Differences() const { return m_differences; }
    const Difference *Find(uint64_t rowId) const;
    bool Differs(uint64_t rowId) const { return Find(rowId) != nullptr; }
    // Registers (and their value and field rows) the other side does not hold.
    bool NotInOther(uint64_t rowId) const { return m_notInOther.count(rowId) != 0; }
    std::size_t NotInOtherCount() const { return m_notInOther.size(); }

private:
    // The other side's words of a register, as one number.
    using OtherWord = std::function<std::optional<uint64_t>(const RegisterRow &reg)>;
    static RowComparison Compare(const RegisterRow &peripheral, const OtherWord &otherWord);

    std::vector<Difference> m_differences;
    std::unordered_map<uint64_t, std::size_t> m_index;
    std::unordered_set<uint64_t> m_notInOther;
};

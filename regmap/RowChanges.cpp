#include "regmap/RowChanges.h"

void RowChanges::ObserveRow(const RegisterRow &row, std::unordered_map<uint64_t, uint64_t> &seen,
                            std::unordered_map<uint64_t, int> &ages) const
{
    const uint64_t number = row.Number();
    const auto before = m_seen.find(row.Id());
    if (before != m_seen.end() && before->second != number) {
        ages[row.Id()] = 0;
    } else if (const auto age = m_age.find(row.Id()); age != m_age.end()) {
        if (age->second + 1 < kFadeReads)
            ages[row.Id()] = age->second + 1;
        else
            ages.erase(row.Id());
    }
    seen[row.Id()] = number;
}

void RowChanges::Observe(const RegisterRowTree &tree)
{
    std::unordered_map<uint64_t, uint64_t> seen;
    std::unordered_map<uint64_t, int> ages;
    for (const auto &peripheral : tree.TopRows())
        for (const auto &reg : peripheral->Children()) {
            ObserveRow(*reg, seen, ages);
            for (const auto &child : reg->Children())
                ObserveRow(*child, seen, ages);
        }
    m_seen = std::move(seen);
    m_age = std::move(ages);
}

void RowChanges::Observe(const RegisterRow &peripheral)
{
    // The new numbers and ages are gathered apart and then replace this
    // peripheral's entries; the other peripherals' marks stay as they are.
    std::unordered_map<uint64_t, uint64_t> seen;
    std::unordered_map<uint64_t, int> ages;
    for (const auto &reg : peripheral.Children()) {
        ObserveRow(*reg, seen, ages);
        for (const auto &child : reg->Children())
            ObserveRow(*child, seen, ages);
    }
    for (const auto &reg : peripheral.Children()) {
        m_age.erase(reg->Id());
        for (const auto &child : reg->Children())
            m_age.erase(child->Id());
    }
    for (const auto &[id, number] : seen)
        m_seen[id] = number;
    for (const auto &[id, age] : ages)
        m_age[id] = age;
}

void RowChanges::Forget()
{
    m_seen.clear();
    m_age.clear();
}

bool RowChanges::AgeAll()
{
    for (auto age = m_age.begin(); age != m_age.end();) {
        if (++age->second >= kFadeReads)
            age = m_age.erase(age);
        else
            ++age;
    }
    return !m_age.empty();
}

std::optional<int> RowChanges::Age(uint64_t rowId) const
{
    const auto age = m_age.find(rowId);
    if (age == m_age.end())
        return std::nullopt;
    return age->second;
}

bool RowChanges::ChangedAtLastRead(uint64_t rowId) const
{
    return Age(rowId) == 0;
}

double RowChanges::Strength(uint64_t rowId) const
{
    const std::optional<int> age = Age(rowId);
    return age ? double(kFadeReads - *age) / kFadeReads : 0.0;
}

bool RowChanges::KeepsInChangesOnly(const RegisterRow &row) const
{
    if (m_age.count(row.Id()))
        return true;
    for (const auto &child : row.Children())
        if (KeepsInChangesOnly(*child))
            return true;
    return false;
}

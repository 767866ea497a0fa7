#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// The addresses a view went to, for back and forward as a browser has them.
// Each entry is where the view stood when it left it, so back returns to
// the place scrolled to, not only to the address typed.
class GoToHistory
{
public:
    static constexpr std::size_t kLimit = 100;

    explicit GoToHistory(uint32_t start) { m_entries.push_back(start); }

    // Going from `from` to `to`: the entries ahead are dropped.
    void Visit(uint32_t from, uint32_t to);
    // Where back or forward goes from `current`; nothing at either end.
    std::optional<uint32_t> Back(uint32_t current);
    std::optional<uint32_t> Forward(uint32_t current);
    bool CanGoBack() const { return m_index > 0; }
    bool CanGoForward() const { return m_index + 1 < m_entries.size(); }
    // Oldest first, and the one the view stands at.
    const std::vector<uint32_t> &Entries() const { return m_entries; }
    std::size_t Index() const { return m_index; }

private:
    std::vector<uint32_t> m_entries;
    std::size_t m_index = 0;
};

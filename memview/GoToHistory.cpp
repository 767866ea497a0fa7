#include "memview/GoToHistory.h"

void GoToHistory::Visit(uint32_t from, uint32_t to)
{
    m_entries.resize(m_index + 1);
    m_entries[m_index] = from;
    if (from == to)
        return;
    m_entries.push_back(to);
    if (m_entries.size() > kLimit)
        m_entries.erase(m_entries.begin());
    m_index = m_entries.size() - 1;
}

std::optional<uint32_t> GoToHistory::Back(uint32_t current)
{
    if (!CanGoBack())
        return std::nullopt;
    m_entries[m_index] = current;
    return m_entries[--m_index];
}

std::optional<uint32_t> GoToHistory::Forward(uint32_t current)
{
    if (!CanGoForward())
        return std::nullopt;
    m_entries[m_index] = current;
    return m_entries[++m_index];
}

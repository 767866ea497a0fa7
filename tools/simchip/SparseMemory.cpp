#include "SparseMemory.h"

#include <algorithm>
#include <cstring>

void SparseMemory::Read(uint32_t address, uint8_t *into, int count) const
{
    while (count > 0) {
        const uint32_t offset = address % kPageSize;
        const int run = int(std::min<uint32_t>(kPageSize - offset, uint32_t(count)));
        const auto page = m_pages.find(address / kPageSize);
        if (page == m_pages.end())
            std::memset(into, 0, std::size_t(run));
        else
            std::memcpy(into, page->second->data() + offset, std::size_t(run));
        into += run;
        count -= run;
        address += uint32_t(run);
    }
}

void SparseMemory::Write(uint32_t address, const uint8_t *from, int count)
{
    while (count > 0) {
        const uint32_t offset = address % kPageSize;
        const int run = int(std::min<uint32_t>(kPageSize - offset, uint32_t(count)));
        std::unique_ptr<Page> &page = m_pages[address / kPageSize];
        if (!page)
            page = std::make_unique<Page>(Page{});
        std::memcpy(page->data() + offset, from, std::size_t(run));
        from += run;
        count -= run;
        address += uint32_t(run);
    }
}

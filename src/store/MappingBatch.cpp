#include "store/MappingBatch.h"

#include "store/KeyOrder.h"
#include "store/KeySort.h"

#include <cstdint>
#include <new>

void MappingBatch::Add(std::u16string_view key, std::u16string_view value) {
    // The sort tells repeated keys apart by a 32-bit position.
    if (m_entries.size() >= UINT32_MAX)
        throw std::bad_alloc();
    m_entries.push_back(MappingEntry::Create(m_arena, key, value));
    m_sorted = false;
}

void MappingBatch::Add(std::string_view key, std::string_view value, const TextCodec& codec) {
    if (m_entries.size() >= UINT32_MAX)
        throw std::bad_alloc();
    const MappingEntry* pEntry = nullptr;
    char16_t* text = MappingEntry::Allocate(m_arena, key.size(), value.size(), pEntry);
    for (char byte : key)
        *text++ = codec.CharOf(byte);
    for (char byte : value)
        *text++ = codec.CharOf(byte);
    m_entries.push_back(pEntry);
    m_sorted = false;
}

void MappingBatch::Sort() {
    if (!m_sorted)
        KeySort::SortKeepingLast(m_entries);
    m_sorted = true;
}

void MappingBatch::Append(MappingBatch&& later) {
    if (m_entries.size() + later.m_entries.size() >= UINT32_MAX)
        throw std::bad_alloc();
    if (later.m_entries.empty()) {
        later.Clear();
        return;
    }
    if (m_entries.empty()) {
        m_entries.swap(later.m_entries);
        m_sorted = later.m_sorted;
    } else if (m_sorted && later.m_sorted) {
        // One walk through both; of equal keys later's wins.
        std::vector<const MappingEntry*> merged;
        merged.reserve(m_entries.size() + later.m_entries.size());
        auto mine = m_entries.begin();
        for (const MappingEntry* pLater : later.m_entries) {
            int order = -1;
            while (mine != m_entries.end() && (order = KeyOrder::Compare((*mine)->Key(), pLater->Key())) < 0)
                merged.push_back(*mine++);
            if (mine != m_entries.end() && order == 0)
                ++mine;
            merged.push_back(pLater);
        }
        merged.insert(merged.end(), mine, m_entries.end());
        m_entries.swap(merged);
    } else {
        m_entries.insert(m_entries.end(), later.m_entries.begin(), later.m_entries.end());
        m_sorted = false;
    }
    m_arena.Adopt(std::move(later.m_arena));
    later.Clear();
}

void MappingBatch::Clear() noexcept {
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_sorted = false;
    m_arena.Clear();
}

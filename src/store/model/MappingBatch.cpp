#include "store/model/MappingBatch.h"

#include <cstdint>
#include <new>

const MappingEntry& MappingBatch::Add(std::u16string_view key, std::u16string_view value) {
    Count();
    return *MappingEntry::Create(m_arena, key, value);
}

void MappingBatch::Count() {
    // The sort tells repeated keys apart by a 32-bit position.
    if (m_count >= UINT32_MAX)
        throw std::bad_alloc();
    ++m_count;
    m_bSorted = false;
}

void MappingBatch::Sort(const KeySort::Pick& pick) {
    m_sorted.clear();
    m_sorted.reserve(m_count);
    m_arena.ForEach([](const std::byte* p) { return MappingEntry::SizeAt(p); },
                    [this](const std::byte* p) { m_sorted.push_back(reinterpret_cast<const MappingEntry*>(p)); });
    KeySort::Sort(m_sorted, pick);
    m_bSorted = true;
}

void MappingBatch::Clear() noexcept {
    m_sorted.clear();
    m_sorted.shrink_to_fit();
    m_count = 0;
    m_bSorted = true;
    m_arena.Clear();
}

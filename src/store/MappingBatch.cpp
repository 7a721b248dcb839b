#include "store/MappingBatch.h"

#include <cstdint>
#include <new>

void MappingBatch::Add(std::u16string_view key, std::u16string_view value) {
    // The sort tells repeated keys apart by a 32-bit position.
    if (m_entries.size() >= UINT32_MAX)
        throw std::bad_alloc();
    m_entries.push_back(MappingEntry::Create(m_arena, key, value));
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
}

void MappingBatch::Append(MappingBatch&& later) {
    if (m_entries.size() + later.m_entries.size() >= UINT32_MAX)
        throw std::bad_alloc();
    m_entries.insert(m_entries.end(), later.m_entries.begin(), later.m_entries.end());
    m_arena.Adopt(std::move(later.m_arena));
    later.Clear();
}

void MappingBatch::Clear() noexcept {
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_arena.Clear();
}

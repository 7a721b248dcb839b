#include "import/RemapPairIndex.h"

#include <bit>

uint32_t RemapPairIndex::Hash(int kind, std::u16string_view text) {
    uint64_t hash = 14695981039346656037ull ^ uint64_t(uint32_t(kind));
    for (char16_t ch : text)
        hash = (hash ^ ch) * 1099511628211ull;
    return uint32_t((hash ^ (hash >> 29)) >> 32);
}

void RemapPairIndex::Prefetch(uint32_t hash) const {
    if (!m_slots.empty())
        __builtin_prefetch(&m_slots[hash & (m_slots.size() - 1)]);
}

void RemapPairIndex::Reserve(size_t count) {
    const size_t wanted = std::bit_ceil((m_used + count) * 2 + 16);
    if (wanted > m_slots.size())
        Rehash(wanted);
}

void RemapPairIndex::Rehash(size_t slotCount) {
    std::vector<uint64_t> slots(slotCount, 0);
    const size_t mask = slotCount - 1;
    for (uint64_t entry : m_slots) {
        if (entry == 0)
            continue;
        size_t at = size_t(entry >> 32) & mask;
        while (slots[at] != 0)
            at = (at + 1) & mask;
        slots[at] = entry;
    }
    m_slots.swap(slots);
}

std::ptrdiff_t RemapPairIndex::FindOrAdd(int kind, std::u16string_view microStation, uint32_t hash) {
    if ((m_used + 1) * 2 > m_slots.size())
        Rehash(std::max<size_t>(64, m_slots.size() * 2));
    const size_t mask = m_slots.size() - 1;
    size_t at = size_t(hash) & mask;
    while (m_slots[at] != 0) {
        if ((m_slots[at] >> 32) == hash) {
            const size_t position = size_t(uint32_t(m_slots[at])) - 1;
            const RemapPair& pair = pairs[position];
            if (pair.kind == kind && pair.microStationValue == microStation)
                return std::ptrdiff_t(position);
        }
        at = (at + 1) & mask;
    }
    m_slots[at] = (uint64_t(hash) << 32) | uint64_t(pairs.size() + 1);
    ++m_used;
    return -1;
}

void RemapPairIndex::Clear() noexcept {
    m_slots = std::vector<uint64_t>();
    m_used = 0;
}

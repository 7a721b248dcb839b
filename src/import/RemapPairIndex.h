// The duplicate search of the pair list: an open-addressing hash set of
// positions in pairs, keyed by (kind, MicroStation value).
#pragma once

#include "import/CSVReader.h"

#include <cstdint>
#include <string_view>
#include <vector>

class RemapPairIndex {
public:
    // Makes room for count more pairs without growing.
    void Reserve(size_t count);
    // The position of the pair with this kind and MicroStation value, or -1
    // after noting that the pair about to be appended at pairs.size() is it.
    // hash is Hash(kind, microStation).
    std::ptrdiff_t FindOrAdd(int kind, std::u16string_view microStation, uint32_t hash);
    void Clear() noexcept;

    static uint32_t Hash(int kind, std::u16string_view text);
    // Starts loading the slot of a key that FindOrAdd will soon be asked
    // for: a large file's keys land all over the table.
    void Prefetch(uint32_t hash) const;

private:
    void Rehash(size_t slotCount);

    // Low half: 0 = free, else position + 1; high half: the key's hash, so
    // that a probe rarely has to look at the pair itself.
    std::vector<uint64_t> m_slots;
    size_t m_used = 0;
};

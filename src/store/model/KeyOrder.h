// The order of a mapping table's keys: ordinal by UTF-16 code unit, the
// order of CString::Compare. Inline and four code units per step, because a
// table of a million keys compares on every insert and every lookup.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace KeyOrder {

// <0, 0 or >0 as a sorts before, with or after b.
inline int Compare(std::u16string_view a, std::u16string_view b) noexcept {
    const size_t common = a.size() < b.size() ? a.size() : b.size();
    size_t i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        // The lowest differing bit of two little-endian words lies in the
        // first differing code unit.
        for (; i + 4 <= common; i += 4) {
            std::uint64_t x, y;
            std::memcpy(&x, a.data() + i, sizeof x);
            std::memcpy(&y, b.data() + i, sizeof y);
            if (x != y) {
                i += size_t(std::countr_zero(x ^ y)) / 16;
                return a[i] < b[i] ? -1 : 1;
            }
        }
    }
    for (; i < common; ++i)
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

}  // namespace KeyOrder

// A radix sort of the batch's keys. It works on a record per entry: the
// key's next code units packed into one integer (its "packed key"), and
// the entry's position. Records are put into buckets by the packed key's
// bytes, most significant first (256 buckets a byte), without touching the
// entries; only records still tied after all of its bytes read their keys
// again, from the first unit they do not all share. Buckets of a few dozen
// finish with a comparison sort that reads keys only where the packed keys
// cannot tell.
//
// A unit enters a packed key as its rank among the units the batch holds,
// 0 standing for a missing unit, in as few bits as the ranks need: a
// packed key takes three units of keys that use every unit, four of most
// text and sixteen of keys made of a dozen characters. When two keys agree
// on all units before it, a smaller packed key means a smaller key (a key
// that ends early is a prefix of the other), and equal packed keys whose
// last unit is missing mean equal keys.
#include "store/model/KeySort.h"

#include "store/model/KeyOrder.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>

namespace KeySort {
namespace {

// Twelve bytes: the packed key's eight need not be aligned to eight.
#pragma pack(push, 4)
struct Record {
    // The packed key while sorting; the entry once the order is known.
    union {
        std::uint64_t packed;
        const MappingEntry* entry;
    };
    std::uint32_t index;  // position in the order added, or kDropped
};
#pragma pack(pop)
static_assert(sizeof(Record) == 12);

// The index of a record whose key a later one repeats.
constexpr std::uint32_t kDropped = UINT32_MAX;

// Records [first, last) have their packed keys at offset, agree on every key
// unit before it and on the packed key's bytes above shift + 8.
struct Bucket {
    Record* first;
    Record* last;
    size_t offset;
    int shift;
};

constexpr int kTopShift = 56;
// Buckets this short go to the comparison sort: cheaper than 256 buckets.
constexpr ptrdiff_t kSmallBucket = 48;
// Buckets up to this many (a quarter of a megabyte) are distributed through
// a copy, larger ones in place: the first takes less time, the second no
// memory.
constexpr size_t kScratchRecords = 16384;

// How the batch's keys fit into packed keys.
struct Layout {
    size_t skip;   // units that every key starts with
    int bits;      // of each unit in a packed key
    size_t units;  // in a packed key
    // Of each unit: 1 for the lowest the batch holds, and so on. With all
    // 65,536 units and the missing one, ranks take 17 bits.
    std::vector<std::uint32_t> rank = std::vector<std::uint32_t>(0x10000);

    explicit Layout(const std::vector<const MappingEntry*>& entries) {
        std::u16string_view first = entries.front()->Key();
        skip = first.size();
        for (char16_t unit : first)
            rank[unit] = 1;
        for (const MappingEntry* pEntry : entries) {
            std::u16string_view key = pEntry->Key();
            const size_t limit = std::min(skip, key.size());
            size_t i = 0;
            while (i < limit && key[i] == first[i])
                ++i;
            skip = i;
            // The units before i are the first key's, already counted.
            for (char16_t unit : key.substr(i))
                rank[unit] = 1;
        }
        unsigned next = 0;
        for (std::uint32_t& r : rank) {
            next += r;
            r = next;
        }
        bits = std::max(1, int(std::bit_width(next)));
        units = size_t(64 / bits);
    }

    // The packed key at offset, or only its first count units.
    std::uint64_t Pack(std::u16string_view key, size_t offset, size_t count = SIZE_MAX) const {
        const size_t end = std::min(key.size(), offset + std::min(units, count));
        if (end <= offset)
            return 0;
        std::uint64_t packed = 0;
        for (size_t i = offset; i < end; ++i)
            packed = packed << bits | rank[key[i]];
        return packed << (64 - int(end - offset) * bits);
    }

    // Whether the key ends within the packed key: its last unit is missing.
    bool EndsWithin(std::uint64_t packed) const {
        return (packed >> (64 - int(units) * bits) & ((std::uint64_t(1) << bits) - 1)) == 0;
    }
};

class Sorter {
public:
    Sorter(const std::vector<const MappingEntry*>& entries, const Layout& layout, const Pick& pick)
        : m_entries(entries), m_layout(layout), m_pick(pick) {}

    // Sorts a bucket, and marks each record of a repeated key but the one
    // kept.
    void Sort(const Bucket& bucket) {
        m_pending.push_back(bucket);
        while (!m_pending.empty()) {
            Bucket bucket = m_pending.back();
            m_pending.pop_back();
            Refine(bucket);
        }
    }

private:
    std::u16string_view KeyOf(const Record& record) const { return m_entries[record.index]->Key(); }

    // <0, 0 or >0 by key, for records of one bucket.
    int Compare(const Record& a, const Record& b) const {
        if (a.packed != b.packed)
            return a.packed < b.packed ? -1 : 1;
        if (m_layout.EndsWithin(a.packed))
            return 0;
        const size_t skip = m_layout.skip;
        return KeyOrder::Compare(KeyOf(a).substr(skip), KeyOf(b).substr(skip));
    }

    // Sorts the bucket, or splits it into buckets left pending.
    void Refine(Bucket bucket) {
        for (;;) {
            if (bucket.last - bucket.first <= kSmallBucket)
                return SortByComparison(bucket);
            if (bucket.shift == kTopShift && AllEqual(bucket))
                bucket.shift = -8;  // many copies of one long key: no byte will split them
            if (bucket.shift < 0) {
                if (!PackFurther(bucket))
                    return SortByComparison(bucket);
                continue;
            }
            if (Distribute(bucket))
                return;
            bucket.shift -= 8;  // one bucket held them all: the next byte
        }
    }

    static bool AllEqual(const Bucket& bucket) {
        return std::all_of(bucket.first, bucket.last, [&](const Record& r) { return r.packed == bucket.first->packed; });
    }

    // Moves the bucket's packed keys, all equal, on to the first unit that
    // its keys do not all share; false when they all end within the packed key
    // (so they are one key).
    bool PackFurther(Bucket& bucket) {
        if (m_layout.EndsWithin(bucket.first->packed))
            return false;
        // Every unit of the packed key is real, so all keys share it.
        const size_t shared = bucket.offset + m_layout.units;
        const std::u16string_view first = KeyOf(*bucket.first);
        size_t offset = first.size();
        for (const Record* p = bucket.first + 1; p != bucket.last && offset > shared; ++p) {
            const std::u16string_view key = KeyOf(*p);
            const size_t limit = std::min(offset, key.size());
            offset = size_t(std::mismatch(first.begin() + shared, first.begin() + limit, key.begin() + shared).first -
                            first.begin());
        }
        for (Record* p = bucket.first; p != bucket.last; ++p)
            p->packed = m_layout.Pack(KeyOf(*p), offset);
        bucket.offset = offset;
        bucket.shift = kTopShift;
        return true;
    }

    // Puts the bucket's records into buckets by the byte at shift and leaves
    // each bucket of two or more pending. False, touching nothing, when all
    // records share that byte.
    bool Distribute(const Bucket& bucket) {
        auto digit = [shift = bucket.shift](const Record& r) { return size_t(r.packed >> shift) & 0xff; };
        std::array<size_t, 256> count{};
        for (const Record* p = bucket.first; p != bucket.last; ++p)
            ++count[digit(*p)];
        const size_t size = size_t(bucket.last - bucket.first);
        if (count[digit(*bucket.first)] == size)
            return false;
        std::array<size_t, 256> next, end;
        size_t start = 0;
        for (size_t b = 0; b < 256; ++b) {
            next[b] = start;
            start += count[b];
            end[b] = start;
        }
        if (size <= kScratchRecords) {
            // Copied out into the buckets and back: no branch to mispredict.
            m_scratch.resize(std::max(m_scratch.size(), size));
            for (const Record* p = bucket.first; p != bucket.last; ++p)
                m_scratch[next[digit(*p)]++] = *p;
            std::copy_n(m_scratch.begin(), size, bucket.first);
        } else {
            // In place: each swap puts one record into its bucket for good.
            for (size_t b = 0; b < 256; ++b) {
                while (next[b] < end[b]) {
                    const size_t d = digit(bucket.first[next[b]]);
                    if (d == b)
                        ++next[b];
                    else
                        std::swap(bucket.first[next[b]], bucket.first[next[d]++]);
                }
            }
        }
        start = 0;
        for (size_t b = 0; b < 256; ++b) {
            if (count[b] > 1)
                m_pending.push_back({bucket.first + start, bucket.first + end[b], bucket.offset, bucket.shift - 8});
            start = end[b];
        }
        return true;
    }

    // By packed key and then position; only equal packed keys whose keys go on
    // past them need the keys. Equal keys are then neighbours in the order
    // added: all but one are dropped.
    void SortByComparison(const Bucket& bucket) {
        std::sort(bucket.first, bucket.last, [](const Record& a, const Record& b) {
            return a.packed != b.packed ? a.packed < b.packed : a.index < b.index;
        });
        for (Record* first = bucket.first; first != bucket.last;) {
            Record* last = first + 1;
            while (last != bucket.last && last->packed == first->packed)
                ++last;
            if (last - first > 1 && !m_layout.EndsWithin(first->packed))
                std::sort(first, last, [&](const Record& a, const Record& b) {
                    const int order = Compare(a, b);
                    return order != 0 ? order < 0 : a.index < b.index;
                });
            first = last;
        }
        for (Record* first = bucket.first; first != bucket.last;) {
            Record* last = first + 1;
            while (last != bucket.last && Compare(*first, *last) == 0)
                ++last;
            if (last - first > 1)
                KeepOne(first, last);
            first = last;
        }
    }

    // Records [first, last) share a key: all but the one kept are dropped.
    void KeepOne(Record* first, Record* last) {
        std::uint32_t kept = last[-1].index;
        if (m_pick) {
            m_positions.clear();
            for (const Record* p = first; p != last; ++p)
                m_positions.push_back(p->index);
            kept = m_pick(m_positions);
        }
        for (Record* p = first; p != last; ++p)
            if (p->index != kept)
                p->index = kDropped;
    }

    const std::vector<const MappingEntry*>& m_entries;
    const Layout& m_layout;
    const Pick& m_pick;
    std::vector<std::uint32_t> m_positions;  // of the records sharing a key, for m_pick
    std::vector<Bucket> m_pending;
    std::vector<Record> m_scratch;  // for buckets of at most kScratchRecords
};

}  // namespace

void Sort(std::vector<const MappingEntry*>& entries, const Pick& pick) {
    if (entries.size() < 2)
        return;
    const Layout layout(entries);
    const size_t size = entries.size(), skip = layout.skip;
    // The first distribution, by the packed keys' top bytes, as the records are
    // made: a count, then each record written straight into its bucket.
    // That streams where sorting in place would jump through all records.
    const size_t topUnits = size_t(8 + layout.bits - 1) / size_t(layout.bits);
    std::array<size_t, 257> bucket{};
    for (const MappingEntry* pEntry : entries)
        ++bucket[(layout.Pack(pEntry->Key(), skip, topUnits) >> kTopShift) + 1];
    for (size_t b = 1; b < bucket.size(); ++b)
        bucket[b] += bucket[b - 1];
    const auto records = std::make_unique_for_overwrite<Record[]>(size);
    std::array<size_t, 256> next;
    std::copy_n(bucket.begin(), next.size(), next.begin());
    for (size_t i = 0; i < size; ++i) {
        const std::uint64_t packed = layout.Pack(entries[i]->Key(), skip);
        Record& record = records[next[packed >> kTopShift]++];
        record.packed = packed;
        record.index = std::uint32_t(i);
    }
    Sorter sorter(entries, layout, pick);
    for (size_t b = 0; b + 1 < bucket.size(); ++b)
        if (bucket[b + 1] - bucket[b] > 1)
            sorter.Sort({&records[bucket[b]], &records[bucket[b + 1]], skip, kTopShift - 8});

    size_t kept = 0;
    for (size_t i = 0; i < size; ++i)
        if (records[i].index != kDropped)
            records[kept++].entry = entries[records[i].index];
    entries.resize(kept);
    for (size_t i = 0; i < kept; ++i)
        entries[i] = records[i].entry;
}

}  // namespace KeySort

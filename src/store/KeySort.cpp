// The sort works on a record per entry: code units of its key packed into
// one integer (the "window"), and the entry's position. Records are put in
// order by the window's bytes, most significant first (a radix sort by
// buckets of 256), without touching the entries; only records still tied
// after the window read their keys again, from the first unit they do not
// all share. Runs of a few dozen finish with a comparison sort that reads
// keys only where the windows cannot tell.
//
// A unit enters a window as its rank among the units the batch holds, 0
// standing for a missing unit, in as few bits as the ranks need: a window
// takes three units of keys that use every unit, four of most text and
// sixteen of keys made of a dozen characters. When two keys agree on all
// units before the window, a smaller window means a smaller key (a key
// that ends early is a prefix of the other), and equal windows whose last
// unit is missing mean equal keys.
#include "store/KeySort.h"

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

// Twelve bytes: the window's eight need not be aligned to eight.
#pragma pack(push, 4)
struct Record {
    // The window while sorting; the entry once the order is known.
    union {
        std::uint64_t window;
        const MappingEntry* entry;
    };
    std::uint32_t index;  // position in the order added, or kDropped
};
#pragma pack(pop)
static_assert(sizeof(Record) == 12);

// The index of a record whose key a later one repeats.
constexpr std::uint32_t kDropped = UINT32_MAX;

// Records [first, last) have their windows at offset, agree on every key
// unit before it and on the window's bytes above shift + 8.
struct Run {
    Record* first;
    Record* last;
    size_t offset;
    int shift;
};

constexpr int kTopShift = 56;
// Runs this short go to the comparison sort: cheaper than 256 buckets.
constexpr ptrdiff_t kSmallRun = 48;
// Runs up to this many (a quarter of a megabyte) are distributed through
// a copy, larger ones in place: the first takes less time, the second no
// memory.
constexpr size_t kScratchRecords = 16384;

// How the batch's keys fit into windows.
struct Layout {
    size_t skip;   // units that every key starts with
    int bits;      // of each unit in a window
    size_t units;  // in a window
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

    // The window at offset, or only its first count units.
    std::uint64_t Window(std::u16string_view key, size_t offset, size_t count = SIZE_MAX) const {
        const size_t end = std::min(key.size(), offset + std::min(units, count));
        if (end <= offset)
            return 0;
        std::uint64_t window = 0;
        for (size_t i = offset; i < end; ++i)
            window = window << bits | rank[key[i]];
        return window << (64 - int(end - offset) * bits);
    }

    // Whether the key ends within the window: its last unit is missing.
    bool EndsWithin(std::uint64_t window) const {
        return (window >> (64 - int(units) * bits) & ((std::uint64_t(1) << bits) - 1)) == 0;
    }
};

class Sorter {
public:
    Sorter(const std::vector<const MappingEntry*>& entries, const Layout& layout)
        : m_entries(entries), m_layout(layout) {}

    // Sorts a run, and marks each record whose key a later one repeats.
    void Sort(const Run& run) {
        m_pending.push_back(run);
        while (!m_pending.empty()) {
            Run run = m_pending.back();
            m_pending.pop_back();
            Refine(run);
        }
    }

private:
    std::u16string_view KeyOf(const Record& record) const { return m_entries[record.index]->Key(); }

    // <0, 0 or >0 by key, for records of one run.
    int Compare(const Record& a, const Record& b) const {
        if (a.window != b.window)
            return a.window < b.window ? -1 : 1;
        if (m_layout.EndsWithin(a.window))
            return 0;
        const size_t skip = m_layout.skip;
        return KeyOrder::Compare(KeyOf(a).substr(skip), KeyOf(b).substr(skip));
    }

    // Sorts the run, or splits it into buckets left pending.
    void Refine(Run run) {
        for (;;) {
            if (run.last - run.first <= kSmallRun)
                return SortByComparison(run);
            if (run.shift == kTopShift && AllEqual(run))
                run.shift = -8;  // many copies of one long key: no byte will split them
            if (run.shift < 0) {
                if (!NextWindow(run))
                    return SortByComparison(run);
                continue;
            }
            if (Distribute(run))
                return;
            run.shift -= 8;  // one bucket held them all: the next byte
        }
    }

    static bool AllEqual(const Run& run) {
        return std::all_of(run.first, run.last, [&](const Record& r) { return r.window == run.first->window; });
    }

    // Moves the run's windows, all equal, on to the first unit that its
    // keys do not all share; false when they all end within the window
    // (so they are one key).
    bool NextWindow(Run& run) {
        if (m_layout.EndsWithin(run.first->window))
            return false;
        // Every unit of the window is real, so all keys share it.
        const size_t shared = run.offset + m_layout.units;
        const std::u16string_view first = KeyOf(*run.first);
        size_t offset = first.size();
        for (const Record* p = run.first + 1; p != run.last && offset > shared; ++p) {
            const std::u16string_view key = KeyOf(*p);
            const size_t limit = std::min(offset, key.size());
            offset = size_t(std::mismatch(first.begin() + shared, first.begin() + limit, key.begin() + shared).first -
                            first.begin());
        }
        for (Record* p = run.first; p != run.last; ++p)
            p->window = m_layout.Window(KeyOf(*p), offset);
        run.offset = offset;
        run.shift = kTopShift;
        return true;
    }

    // Puts the run's records into buckets by the byte at shift and leaves
    // each bucket of two or more pending. False, touching nothing, when all
    // records share that byte.
    bool Distribute(const Run& run) {
        auto digit = [shift = run.shift](const Record& r) { return size_t(r.window >> shift) & 0xff; };
        std::array<size_t, 256> count{};
        for (const Record* p = run.first; p != run.last; ++p)
            ++count[digit(*p)];
        const size_t size = size_t(run.last - run.first);
        if (count[digit(*run.first)] == size)
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
            for (const Record* p = run.first; p != run.last; ++p)
                m_scratch[next[digit(*p)]++] = *p;
            std::copy_n(m_scratch.begin(), size, run.first);
        } else {
            // In place: each swap puts one record into its bucket for good.
            for (size_t b = 0; b < 256; ++b) {
                while (next[b] < end[b]) {
                    const size_t d = digit(run.first[next[b]]);
                    if (d == b)
                        ++next[b];
                    else
                        std::swap(run.first[next[b]], run.first[next[d]++]);
                }
            }
        }
        start = 0;
        for (size_t b = 0; b < 256; ++b) {
            if (count[b] > 1)
                m_pending.push_back({run.first + start, run.first + end[b], run.offset, run.shift - 8});
            start = end[b];
        }
        return true;
    }

    // By window and then position; only equal windows whose keys go on
    // past them need the keys. Equal keys are then neighbours in the order
    // added: all but the last are dropped.
    void SortByComparison(const Run& run) {
        std::sort(run.first, run.last, [](const Record& a, const Record& b) {
            return a.window != b.window ? a.window < b.window : a.index < b.index;
        });
        for (Record* first = run.first; first != run.last;) {
            Record* last = first + 1;
            while (last != run.last && last->window == first->window)
                ++last;
            if (last - first > 1 && !m_layout.EndsWithin(first->window))
                std::sort(first, last, [&](const Record& a, const Record& b) {
                    const int order = Compare(a, b);
                    return order != 0 ? order < 0 : a.index < b.index;
                });
            first = last;
        }
        for (Record* p = run.first; p + 1 < run.last; ++p)
            if (Compare(p[0], p[1]) == 0)
                p->index = kDropped;
    }

    const std::vector<const MappingEntry*>& m_entries;
    const Layout& m_layout;
    std::vector<Run> m_pending;
    std::vector<Record> m_scratch;  // for buckets of at most kScratchRecords
};

}  // namespace

void SortKeepingLast(std::vector<const MappingEntry*>& entries) {
    if (entries.size() < 2)
        return;
    const Layout layout(entries);
    const size_t size = entries.size(), skip = layout.skip;
    // The first distribution, by the windows' top bytes, as the records are
    // made: a count, then each record written straight into its bucket.
    // That streams where sorting in place would jump through all records.
    const size_t topUnits = size_t(8 + layout.bits - 1) / size_t(layout.bits);
    std::array<size_t, 257> bucket{};
    for (const MappingEntry* pEntry : entries)
        ++bucket[(layout.Window(pEntry->Key(), skip, topUnits) >> kTopShift) + 1];
    for (size_t b = 1; b < bucket.size(); ++b)
        bucket[b] += bucket[b - 1];
    const auto records = std::make_unique_for_overwrite<Record[]>(size);
    std::array<size_t, 256> next;
    std::copy_n(bucket.begin(), next.size(), next.begin());
    for (size_t i = 0; i < size; ++i) {
        const std::uint64_t window = layout.Window(entries[i]->Key(), skip);
        Record& record = records[next[window >> kTopShift]++];
        record.window = window;
        record.index = std::uint32_t(i);
    }
    Sorter sorter(entries, layout);
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

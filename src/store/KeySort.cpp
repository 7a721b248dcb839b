// The sort works on a record per entry: four code units of its key packed
// into one integer (the "window"), and the entry's position. Records are
// put in order by the window's bytes, most significant first, in place
// (a radix sort by buckets of 256), without touching the entries; only
// records still tied after the four units read the next four from their
// keys. Runs of a few dozen finish with a comparison sort that looks at
// the whole keys only where the windows are equal.
//
// A window is the key's units from a given offset, big-endian, a missing
// unit counting as 0. When two keys agree on all units before the offset,
// a smaller window means a smaller key (a key that ends early is a prefix
// of the other); equal windows decide nothing, since a real U+0000 and a
// missing unit look alike.
#include "store/KeySort.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>

namespace KeySort {
namespace {

struct Record {
    // The window while sorting; the entry once the order is known.
    union {
        std::uint64_t window;
        const MappingEntry* entry;
    };
    std::uint32_t index;  // position in the order added
};

// Records [first, last) agree on every key unit before offset and on the
// window's bytes above shift + 8.
struct Run {
    Record* first;
    Record* last;
    size_t offset;
    int shift;
};

constexpr size_t kWindowUnits = 4;
constexpr int kTopShift = 56;
// Runs this short go to the comparison sort: cheaper than 256 buckets.
constexpr ptrdiff_t kSmallRun = 48;

std::uint64_t Window(std::u16string_view key, size_t offset) {
    std::uint64_t window = 0;
    for (size_t i = 0; i < kWindowUnits; ++i)
        window = window << 16 | (offset + i < key.size() ? key[offset + i] : 0u);
    return window;
}

// Units that all keys share from their start.
size_t CommonPrefix(const std::vector<const MappingEntry*>& entries) {
    std::u16string_view first = entries.front()->Key();
    size_t common = first.size();
    for (const MappingEntry* pEntry : entries) {
        std::u16string_view key = pEntry->Key();
        const size_t limit = std::min(common, key.size());
        size_t i = 0;
        while (i < limit && key[i] == first[i])
            ++i;
        common = i;
    }
    return common;
}

class Sorter {
public:
    Sorter(const std::vector<const MappingEntry*>& entries, size_t skip) : m_entries(entries), m_skip(skip) {}

    void Sort(Record* first, Record* last) {
        m_pending.push_back({first, last, m_skip, kTopShift});
        while (!m_pending.empty()) {
            Run run = m_pending.back();
            m_pending.pop_back();
            Refine(run);
        }
    }

private:
    std::u16string_view KeyOf(const Record& record) const { return m_entries[record.index]->Key(); }

    // Sorts the run, or splits it into buckets left pending.
    void Refine(Run run) {
        for (;;) {
            if (run.last - run.first <= kSmallRun)
                return SortByComparison(run);
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

    // Moves the run's window on by four units; false when every key ends
    // within the current one (so all are equal but for their length).
    bool NextWindow(Run& run) {
        const size_t next = run.offset + kWindowUnits;
        if (std::none_of(run.first, run.last, [&](const Record& r) { return KeyOf(r).size() > next; }))
            return false;
        for (Record* p = run.first; p != run.last; ++p)
            p->window = Window(KeyOf(*p), next);
        run.offset = next;
        run.shift = kTopShift;
        return true;
    }

    // Puts the run's records into buckets by the byte at shift, in place,
    // and leaves each bucket of two or more pending. False, touching
    // nothing, when all records share that byte.
    bool Distribute(const Run& run) {
        auto digit = [shift = run.shift](const Record& r) { return size_t(r.window >> shift) & 0xff; };
        std::array<size_t, 256> count{};
        for (const Record* p = run.first; p != run.last; ++p)
            ++count[digit(*p)];
        const size_t size = size_t(run.last - run.first);
        if (count[digit(*run.first)] == size)
            return false;
        std::array<size_t, 256> next{}, end{};
        size_t start = 0;
        for (size_t b = 0; b < 256; ++b) {
            next[b] = start;
            start += count[b];
            end[b] = start;
        }
        // Each swap puts one record into its bucket for good.
        for (size_t b = 0; b < 256; ++b) {
            while (next[b] < end[b]) {
                const size_t d = digit(run.first[next[b]]);
                if (d == b)
                    ++next[b];
                else
                    std::swap(run.first[next[b]], run.first[next[d]++]);
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

    // Equal windows fall back to the keys (past the part all share), equal
    // keys to the order added.
    void SortByComparison(const Run& run) {
        std::sort(run.first, run.last, [this](const Record& a, const Record& b) {
            if (a.window != b.window)
                return a.window < b.window;
            const int order = KeyOrder::Compare(KeyOf(a).substr(m_skip), KeyOf(b).substr(m_skip));
            return order != 0 ? order < 0 : a.index < b.index;
        });
    }

    const std::vector<const MappingEntry*>& m_entries;
    const size_t m_skip;
    std::vector<Run> m_pending;
};

}  // namespace

void SortKeepingLast(std::vector<const MappingEntry*>& entries) {
    if (entries.size() < 2)
        return;
    const size_t skip = CommonPrefix(entries);
    std::vector<Record> records(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        records[i].window = Window(entries[i]->Key(), skip);
        records[i].index = std::uint32_t(i);
    }
    Sorter(entries, skip).Sort(records.data(), records.data() + records.size());

    // Equal keys are neighbours, the last added last: keep that one.
    size_t kept = 0;
    const MappingEntry* pEntry = entries[records[0].index];
    for (size_t i = 0; i < records.size(); ++i) {
        const MappingEntry* pNext = i + 1 < records.size() ? entries[records[i + 1].index] : nullptr;
        if (!pNext || pNext->Key() != pEntry->Key())
            records[kept++].entry = pEntry;
        pEntry = pNext;
    }
    entries.resize(kept);
    for (size_t i = 0; i < kept; ++i)
        entries[i] = records[i].entry;
}

}  // namespace KeySort

#include "store/MappingBatch.h"

#include "store/KeyOrder.h"
#include "store/KeySort.h"

#include <cstdint>
#include <span>
#include <new>

void MappingBatch::Add(std::u16string_view key, std::u16string_view value) {
    // The sort tells repeated keys apart by a 32-bit position.
    if (m_entries.size() >= UINT32_MAX)
        throw std::bad_alloc();
    m_entries.push_back(MappingEntry::Create(m_arena, key, value));
    m_runEnds.clear();
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
    m_runEnds.clear();
}

namespace {

// The pairs of two sorted runs in one, in key order; of equal keys the
// later run's wins.
std::vector<const MappingEntry*> MergeRuns(std::span<const MappingEntry* const> earlier,
                                           std::span<const MappingEntry* const> later) {
    std::vector<const MappingEntry*> merged;
    merged.reserve(earlier.size() + later.size());
    auto mine = earlier.begin();
    for (const MappingEntry* pLater : later) {
        int order = -1;
        while (mine != earlier.end() && (order = KeyOrder::Compare((*mine)->Key(), pLater->Key())) < 0)
            merged.push_back(*mine++);
        if (mine != earlier.end() && order == 0)
            ++mine;
        merged.push_back(pLater);
    }
    merged.insert(merged.end(), mine, earlier.end());
    return merged;
}

}  // namespace

void MappingBatch::Sort() {
    if (m_runEnds.empty()) {
        KeySort::SortKeepingLast(m_entries);
    } else if (m_runEnds.size() > 1) {
        // Runs sorted apart (batches joined): merged one after the other.
        std::vector<const MappingEntry*> merged(m_entries.begin(), m_entries.begin() + ptrdiff_t(m_runEnds[0]));
        for (size_t run = 1; run < m_runEnds.size(); ++run)
            merged = MergeRuns(merged, std::span(m_entries).subspan(m_runEnds[run - 1],
                                                                    m_runEnds[run] - m_runEnds[run - 1]));
        m_entries.swap(merged);
    }
    m_runEnds.assign(1, m_entries.size());
}

void MappingBatch::Append(MappingBatch&& later) {
    if (m_entries.size() + later.m_entries.size() >= UINT32_MAX)
        throw std::bad_alloc();
    if (later.m_entries.empty()) {
        later.Clear();
        return;
    }
    // Sorted runs stay runs, to be merged by Sort (on the merging thread).
    const size_t before = m_entries.size();
    if (before == 0) {
        m_entries.swap(later.m_entries);
        m_runEnds.swap(later.m_runEnds);
    } else {
        if (!m_runEnds.empty() && !later.m_runEnds.empty()) {
            for (size_t end : later.m_runEnds)
                m_runEnds.push_back(before + end);
        } else {
            m_runEnds.clear();
        }
        m_entries.insert(m_entries.end(), later.m_entries.begin(), later.m_entries.end());
    }
    m_arena.Adopt(std::move(later.m_arena));
    later.Clear();
}

void MappingBatch::Clear() noexcept {
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_runEnds.clear();
    m_arena.Clear();
}

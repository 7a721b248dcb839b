#include "store/model/MappingTable.h"

#include "store/model/KeyOrder.h"
#include "store/model/MappingBatch.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>

MappingTable::MappingTable(const MappingTable& other) {
    for (const MappingEntry& entry : other)
        Append(MappingEntry::Create(m_arena, entry.Key(), entry.Value()));
    m_count = other.m_count;
}

// A moved-from table is empty and usable.
MappingTable::MappingTable(MappingTable&& other) noexcept { swap(other); }

MappingTable& MappingTable::operator=(const MappingTable& other) {
    if (this != &other) {
        MappingTable copy(other);
        swap(copy);
    }
    return *this;
}

MappingTable& MappingTable::operator=(MappingTable&& other) noexcept {
    swap(other);
    return *this;
}

void MappingTable::swap(MappingTable& other) noexcept {
    std::swap(m_chunks, other.m_chunks);
    std::swap(m_count, other.m_count);
    m_arena.swap(other.m_arena);
    ++m_nChanges;
    ++other.m_nChanges;
}

char16_t* MappingEntry::Allocate(EntryArena& arena, size_t keyLength, size_t valueLength,
                                 const MappingEntry*& pEntry) {
    if (keyLength > UINT32_MAX || valueLength > UINT32_MAX)
        throw std::bad_alloc();
    void* p = arena.Allocate(sizeof(MappingEntry) + (keyLength + valueLength) * sizeof(char16_t));
    auto* pNew = new (p) MappingEntry(uint32_t(keyLength), uint32_t(valueLength));
    pEntry = pNew;
    return reinterpret_cast<char16_t*>(pNew + 1);
}

size_t MappingEntry::SizeAt(const std::byte* p) {
    const auto* pEntry = reinterpret_cast<const MappingEntry*>(p);
    return sizeof(MappingEntry) + (size_t(pEntry->m_keyLength) + pEntry->m_valueLength) * sizeof(char16_t);
}

const MappingEntry* MappingEntry::Create(EntryArena& arena, std::u16string_view key, std::u16string_view value) {
    const MappingEntry* pEntry = nullptr;
    char16_t* text = Allocate(arena, key.size(), value.size(), pEntry);
    std::memcpy(text, key.data(), key.size() * sizeof(char16_t));
    std::memcpy(text + key.size(), value.data(), value.size() * sizeof(char16_t));
    return pEntry;
}

MappingTable::Chunk& MappingTable::ChunkWithRoom() {
    if (m_chunks.empty() || m_chunks.back().size() >= kChunkEntries) {
        m_chunks.emplace_back();
        m_chunks.back().reserve(kChunkEntries + 1);
    }
    return m_chunks.back();
}

void MappingTable::Append(const MappingEntry* pEntry) { ChunkWithRoom().push_back(pEntry); }

MappingTable::Position MappingTable::LowerBound(std::u16string_view key) const {
    auto before = [key](const MappingEntry* pEntry) { return KeyOrder::Compare(pEntry->Key(), key) < 0; };
    auto chunk = std::partition_point(m_chunks.begin(), m_chunks.end(),
                                      [&before](const Chunk& c) { return before(c.back()); });
    if (chunk == m_chunks.end())
        return {m_chunks.size(), 0};
    return {size_t(chunk - m_chunks.begin()), size_t(std::partition_point(chunk->begin(), chunk->end(), before) -
                                                     chunk->begin())};
}

const MappingEntry* MappingTable::At(Position position, std::u16string_view key) const {
    if (position.chunk >= m_chunks.size())
        return nullptr;
    const MappingEntry* pEntry = m_chunks[position.chunk][position.index];
    return pEntry->Key() == key ? pEntry : nullptr;
}

EntryChange MappingTable::Store(std::u16string_view key, std::u16string_view value) {
    const Position position = LowerBound(key);
    const MappingEntry* pBefore = At(position, key);
    if (pBefore && pBefore->Value() == value)
        return {pBefore, pBefore};
    const MappingEntry* pEntry = MappingEntry::Create(m_arena, key, value);
    PutAt(position, pEntry);
    return {pBefore, pEntry};
}

void MappingTable::PutAt(Position position, const MappingEntry* pEntry) {
    ++m_nChanges;
    if (At(position, pEntry->Key())) {
        m_chunks[position.chunk][position.index] = pEntry;
        return;
    }
    ++m_count;
    if (position.chunk == m_chunks.size()) {  // after the last key
        Append(pEntry);
        return;
    }
    Chunk& chunk = m_chunks[position.chunk];
    chunk.insert(chunk.begin() + std::ptrdiff_t(position.index), pEntry);
    if (chunk.size() > kChunkEntries) {
        const size_t half = kChunkEntries / 2;
        Chunk upper;
        upper.reserve(kChunkEntries + 1);
        upper.assign(chunk.begin() + std::ptrdiff_t(half), chunk.end());
        chunk.resize(half);
        m_chunks.insert(m_chunks.begin() + std::ptrdiff_t(position.chunk) + 1, std::move(upper));
    }
}

MappingTable::MergeCounts MappingTable::Merge(MappingBatch&& batch, std::vector<EntryChange>* pChanges) {
    struct EmptyAtExit {
        MappingBatch& batch;
        ~EmptyAtExit() { batch.Clear(); }
    } emptyAtExit{batch};
    if (!batch.m_bSorted)
        batch.Sort();
    const std::vector<const MappingEntry*>& incoming = batch.m_sorted;

    // Both in key order: one walk through the two, into full chunks. The
    // table stays as it is until the new chunks are complete.
    MappingTable merged;
    MergeCounts counts;
    const_iterator old = begin();
    auto next = incoming.begin();
    while (old != end() || next != incoming.end()) {
        const int order = old == end()              ? 1
                          : next == incoming.end() ? -1
                                                   : KeyOrder::Compare(old->Key(), (*next)->Key());
        if (order < 0) {
            merged.Append(&*old++);
        } else if (order > 0) {
            if (pChanges)
                pChanges->push_back({nullptr, *next});
            merged.Append(*next++);
            ++counts.added;
        } else {
            // An equal value keeps the entry a view may point at.
            const bool same = old->Value() == (*next)->Value();
            if (pChanges && !same)
                pChanges->push_back({&*old, *next});
            merged.Append(same ? &*old : *next);
            counts.changed += !same;
            ++old;
            ++next;
        }
    }
    if (counts.added == 0 && counts.changed == 0)
        return counts;
    // The batch's entries become the table's memory, used or not.
    m_arena.Adopt(std::move(batch.m_arena));
    m_chunks.swap(merged.m_chunks);
    m_count += counts.added;
    ++m_nChanges;
    return counts;
}

const MappingEntry* MappingTable::Find(std::u16string_view key) const { return At(LowerBound(key), key); }

CString MappingTable::GetValue(const CString& key) const {
    const MappingEntry* pEntry = Find(key.View());
    return pEntry ? CString(pEntry->Value()) : CString();
}

EntryChange MappingTable::Remove(std::u16string_view key) {
    Position position = LowerBound(key);
    const MappingEntry* pEntry = At(position, key);
    if (!pEntry)
        return {};
    // The entry's memory stays until the table is cleared.
    Chunk& chunk = m_chunks[position.chunk];
    chunk.erase(chunk.begin() + std::ptrdiff_t(position.index));
    if (chunk.empty())
        m_chunks.erase(m_chunks.begin() + std::ptrdiff_t(position.chunk));
    --m_count;
    ++m_nChanges;
    return {pEntry, nullptr};
}

void MappingTable::Reapply(std::span<const MappingEntry* const> drop, std::span<const MappingEntry* const> put) {
    if (drop.empty() && put.empty())
        return;
    if (drop.size() + put.size() < size_t(m_count) / kFewerThanTable) {
        // A few keys of a large table: one search each.
        for (const MappingEntry* pEntry : drop)
            Remove(pEntry->Key());
        for (const MappingEntry* pEntry : put)
            PutAt(LowerBound(pEntry->Key()), pEntry);
        return;
    }
    // One walk through the table beside the two lists, into full chunks.
    MappingTable merged;
    auto nextDrop = drop.begin();
    auto nextPut = put.begin();
    auto putBefore = [&](std::u16string_view key) {  // the entries to put whose keys sort before key
        for (; nextPut != put.end() && KeyOrder::Compare((*nextPut)->Key(), key) < 0; ++nextPut) {
            merged.Append(*nextPut);
            ++m_count;
        }
    };
    for (const MappingEntry& entry : *this) {
        putBefore(entry.Key());
        if (nextPut != put.end() && (*nextPut)->Key() == entry.Key()) {
            merged.Append(*nextPut++);
            continue;
        }
        while (nextDrop != drop.end() && KeyOrder::Compare((*nextDrop)->Key(), entry.Key()) < 0)
            ++nextDrop;  // not in the table
        if (nextDrop != drop.end() && (*nextDrop)->Key() == entry.Key()) {
            ++nextDrop;
            --m_count;
            continue;
        }
        merged.Append(&entry);
    }
    for (; nextPut != put.end(); ++nextPut) {
        merged.Append(*nextPut);
        ++m_count;
    }
    m_chunks.swap(merged.m_chunks);
    ++m_nChanges;
}

void MappingTable::ClearPairs() {
    m_chunks.clear();
    m_count = 0;
    ++m_nChanges;
    m_arena.Clear();
}

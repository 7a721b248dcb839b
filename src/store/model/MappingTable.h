// MappingTable: one mapping kind's pairs, key -> value. Keys are unique under
// the ordinal, case-sensitive comparison and iterate in ascending order, so
// "Level" and "level" are two entries and the upper-case one comes first.
//
// Memory: a million pairs are a million entries, each its key and value
// side by side in the table's arena (no allocation per string), and a
// sorted array of entry pointers cut into chunks of a few hundred, so an
// insert moves at most one chunk. Many pairs at once come in a batch
// (MappingBatch) and are merged in one pass.
#pragma once

#include "framework/CString.h"
#include "store/model/EntryArena.h"
#include "store/model/KeyOrder.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

// A key or value of a table entry: a view into the table's memory with the
// reading side of CString; CString(text) makes a copy that owns its text.
class TableText {
public:
    explicit TableText(std::u16string_view text) : m_text(text) {}
    std::u16string_view View() const { return m_text; }
    int GetLength() const { return int(m_text.size()); }
    BOOL IsEmpty() const { return m_text.empty(); }
    std::string ToUtf8() const { return CString(m_text).ToUtf8(); }
    operator CString() const { return CString(m_text); }

private:
    std::u16string_view m_text;
};

// One pair of a table: its key and value stored together. An entry stays
// where it is until its table is cleared or destroyed, also after its key
// was removed or its value replaced (a changed value is a new entry), so a
// view of the table (a list's rows) stays readable until it is rebuilt.
// `const auto& [key, value] = entry` gives the two texts.
class MappingEntry {
public:
    std::u16string_view Key() const noexcept { return {Text(), m_keyLength}; }
    std::u16string_view Value() const noexcept { return {Text() + m_keyLength, m_valueLength}; }
    template <size_t I>
    TableText get() const {
        return TableText(I == 0 ? Key() : Value());
    }

private:
    friend class MappingTable;
    friend class MappingBatch;
    MappingEntry(uint32_t keyLength, uint32_t valueLength) : m_keyLength(keyLength), m_valueLength(valueLength) {}
    // A new entry in arena holding copies of the texts.
    static const MappingEntry* Create(EntryArena& arena, std::u16string_view key, std::u16string_view value);
    // A new entry in arena for texts of these lengths: the key's code units,
    // then the value's, are to be written where the result points.
    static char16_t* Allocate(EntryArena& arena, size_t keyLength, size_t valueLength, const MappingEntry*& pEntry);
    // A new entry in arena holding texts of bytes, each widened by toChar.
    template <class ToChar>
    static const MappingEntry* Create(EntryArena& arena, std::string_view key, std::string_view value, ToChar toChar) {
        const MappingEntry* pEntry = nullptr;
        char16_t* text = Allocate(arena, key.size(), value.size(), pEntry);
        for (char byte : key)
            *text++ = toChar(byte);
        for (char byte : value)
            *text++ = toChar(byte);
        return pEntry;
    }
    // The size of the entry at p, as it was allocated.
    static size_t SizeAt(const std::byte* p);
    // The key's code units, then the value's, follow the lengths.
    const char16_t* Text() const noexcept { return reinterpret_cast<const char16_t*>(this + 1); }

    uint32_t m_keyLength;
    uint32_t m_valueLength;
};

class MappingBatch;

// What an edit did to one key: its entry before and after, each an entry of
// the table (null where the key was absent). The same entry twice: nothing
// changed.
struct EntryChange {
    const MappingEntry* before = nullptr;
    const MappingEntry* after = nullptr;
    bool Changed() const { return before != after; }
    std::u16string_view Key() const { return (before ? before : after)->Key(); }
};

template <>
struct std::tuple_size<MappingEntry> : std::integral_constant<size_t, 2> {};
template <size_t I>
struct std::tuple_element<I, MappingEntry> {
    using type = TableText;
};

class MappingTable {
    using Chunk = std::vector<const MappingEntry*>;

public:
    MappingTable() = default;
    MappingTable(const MappingTable& other);
    MappingTable(MappingTable&& other) noexcept;
    MappingTable& operator=(const MappingTable& other);
    MappingTable& operator=(MappingTable&& other) noexcept;
    ~MappingTable() = default;

    // Inserts the pair or replaces the value of an equal key. True when the
    // table changed: a new key, or a value that differs by Compare.
    // The table keeps copies of the texts, so views will do.
    bool SetPair(const CString& key, const CString& value) { return Store(key.View(), value.View()).Changed(); }
    bool SetPair(std::u16string_view key, std::u16string_view value) { return Store(key, value).Changed(); }
    bool SetPair(const char16_t* key, const char16_t* value) { return Store(key, value).Changed(); }
    // SetPair, telling which entries the key had before and has after.
    EntryChange Assign(std::u16string_view key, std::u16string_view value) { return Store(key, value); }

    // What a merge did: keys new to the table, and keys already there
    // whose value now differs.
    struct MergeCounts {
        int added = 0;
        int changed = 0;
    };
    // The same as SetPair of every pair of batch in the order added, in one
    // pass through the table: the table ends with the same pairs. The counts
    // and the change count follow what the whole batch did, not each pair:
    // a key set and then set back to its stored value is no change. Entries
    // already in the table stay where they are; the batch's memory becomes
    // the table's, and the batch is empty afterwards. pChanges, when given,
    // gets each changed key's entries before and after, in key order.
    MergeCounts Merge(MappingBatch&& batch, std::vector<EntryChange>* pChanges = nullptr);

    // The stored value, or "" when the key is absent.
    CString GetValue(const CString& key) const;
    // The entry of key, or null.
    const MappingEntry* Find(std::u16string_view key) const;
    void RemovePair(const CString& key) { Remove(key.View()); }
    // RemovePair, telling which entry the key had (after: null).
    EntryChange Remove(std::u16string_view key);
    void ClearPairs();
    // Takes back or repeats edits whose entries were this table's: the keys
    // of drop leave the table, and each entry of put becomes its key's entry
    // again (no copy: an entry lives until the table is cleared). Both in
    // ascending key order, each key once, no key in both.
    void Reapply(std::span<const MappingEntry* const> drop, std::span<const MappingEntry* const> put);
    int GetCount() const { return m_count; }
    bool IsEmpty() const { return m_count == 0; }
    // Grows with every change of the table: equal counts, same pairs.
    unsigned GetChangeCount() const { return m_nChanges; }

    // Ascending ordinal key order; yields const MappingEntry&. Entries lie
    // in the order they were added, not in key order, so the iterator asks
    // for the entry a few steps on while this one is read (prefetch).
    class const_iterator {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = MappingEntry;
        using difference_type = std::ptrdiff_t;
        using pointer = const MappingEntry*;
        using reference = const MappingEntry&;

        const_iterator() = default;
        reference operator*() const { return *(*m_chunks)[m_chunk][m_index]; }
        pointer operator->() const { return (*m_chunks)[m_chunk][m_index]; }
        const_iterator& operator++() {
            const Chunk& chunk = (*m_chunks)[m_chunk];
            if (++m_index == chunk.size()) {
                ++m_chunk;
                m_index = 0;
            } else if (m_index + kAhead < chunk.size()) {
                // An entry often runs on into the next cache line.
                const char* pAhead = reinterpret_cast<const char*>(chunk[m_index + kAhead]);
                __builtin_prefetch(pAhead);
                __builtin_prefetch(pAhead + 63);
            }
            return *this;
        }
        const_iterator operator++(int) {
            const_iterator before = *this;
            ++*this;
            return before;
        }
        friend bool operator==(const const_iterator& a, const const_iterator& b) {
            return a.m_chunk == b.m_chunk && a.m_index == b.m_index;
        }

    private:
        friend class MappingTable;
        static constexpr size_t kAhead = 8;
        const_iterator(const std::vector<Chunk>* chunks, size_t chunk) : m_chunks(chunks), m_chunk(chunk) {}
        const std::vector<Chunk>* m_chunks = nullptr;
        size_t m_chunk = 0;
        size_t m_index = 0;
    };
    const_iterator begin() const { return const_iterator(&m_chunks, 0); }
    const_iterator end() const { return const_iterator(&m_chunks, m_chunks.size()); }

    void swap(MappingTable& other) noexcept;

private:
    // Where key is or would go: its chunk and its index there.
    struct Position {
        size_t chunk;
        size_t index;
    };
    EntryChange Store(std::u16string_view key, std::u16string_view value);
    // Makes pEntry its key's entry at position (where LowerBound put the
    // key): it replaces the entry there or goes in before it.
    void PutAt(Position position, const MappingEntry* pEntry);
    Position LowerBound(std::u16string_view key) const;
    // The entry at position, if it holds key.
    const MappingEntry* At(Position position, std::u16string_view key) const;
    // The last chunk, or a new one when it is full.
    Chunk& ChunkWithRoom();
    void Append(const MappingEntry* pEntry);

    // A chunk splits in two when it would pass this many entries.
    static constexpr size_t kChunkEntries = 512;
    // Reapply puts keys one by one into a table of this many times as many;
    // otherwise it rebuilds the chunks in one walk.
    static constexpr size_t kFewerThanTable = 64;

    std::vector<Chunk> m_chunks;  // never an empty one
    int m_count = 0;
    unsigned m_nChanges = 0;
    EntryArena m_arena;
};

// MappingTable: one mapping kind's pairs, key -> value. Keys are unique under
// the ordinal, case-sensitive comparison and iterate in ascending order, so
// "Level" and "level" are two entries and the upper-case one comes first.
#pragma once

#include "framework/CString.h"
#include "store/KeyOrder.h"
#include "store/MappingPair.h"
#include "store/NodePool.h"

#include <memory>
#include <set>
#include <string_view>
#include <utility>

class MappingTable {
public:
    MappingTable();
    MappingTable(const MappingTable& other);
    MappingTable(MappingTable&& other);
    MappingTable& operator=(const MappingTable& other);
    MappingTable& operator=(MappingTable&& other) noexcept;
    ~MappingTable();

    // Inserts the pair or replaces the value of an equal key. True when the
    // table changed: a new key, or a value that differs by Compare.
    bool SetPair(const CString& key, const CString& value);
    bool SetPair(CString&& key, CString&& value);

    // The stored value, or "" when the key is absent.
    CString GetValue(const CString& key) const;
    void RemovePair(const CString& key);
    void ClearPairs();
    int GetCount() const { return int(m_pairs.size()); }
    bool IsEmpty() const { return m_pairs.empty(); }

    // Ascending ordinal key order; yields const MappingPair&. An entry stays
    // at its address until its key is removed or the table is cleared, so
    // a list can show entries without copying them.
    auto begin() const { return m_pairs.begin(); }
    auto end() const { return m_pairs.end(); }

    void swap(MappingTable& other) noexcept;

private:
    // Entries ordered by key alone; a lookup takes the key as a view.
    struct PairLess {
        using is_transparent = void;
        static std::u16string_view Key(const MappingPair& pair) noexcept { return pair.key.View(); }
        static std::u16string_view Key(std::u16string_view key) noexcept { return key; }
        template <typename A, typename B>
        bool operator()(const A& a, const B& b) const noexcept {
            return KeyOrder::Compare(Key(a), Key(b)) < 0;
        }
    };
    using Pairs = std::set<MappingPair, PairLess, NodePoolAllocator<MappingPair>>;

    template <typename Key, typename Value>
    bool Store(Key&& key, Value&& value);

    // Declared before the map: the nodes go back to the pool before it goes.
    std::unique_ptr<NodePool> m_pool;
    Pairs m_pairs;
};

// MappingTable: one mapping kind's pairs, key -> value. Keys are unique under
// the ordinal, case-sensitive comparison and iterate in ascending order, so
// "Level" and "level" are two entries and the upper-case one comes first.
#pragma once

#include "framework/CString.h"
#include "store/KeyOrder.h"
#include "store/NodePool.h"

#include <map>
#include <memory>
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
    bool Contains(const CString& key) const { return m_pairs.find(key) != m_pairs.end(); }
    void RemovePair(const CString& key);
    void ClearPairs();
    int GetCount() const { return int(m_pairs.size()); }
    bool IsEmpty() const { return m_pairs.empty(); }

    // Ascending ordinal key order; yields std::pair<const CString, CString>.
    auto begin() const { return m_pairs.begin(); }
    auto end() const { return m_pairs.end(); }

    void swap(MappingTable& other) noexcept;

private:
    using Pairs = std::map<CString, CString, KeyOrder::Less, NodePoolAllocator<std::pair<const CString, CString>>>;

    template <typename Key, typename Value>
    bool Store(Key&& key, Value&& value);

    // Declared before the map: the nodes go back to the pool before it goes.
    std::unique_ptr<NodePool> m_pool;
    Pairs m_pairs;
};

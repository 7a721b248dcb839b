// MappingTable: one mapping kind's pairs, key -> value. Keys are unique under
// the ordinal, case-sensitive comparison and iterate in ascending order, so
// "Level" and "level" are two entries and the upper-case one comes first.
#pragma once

#include "framework/CString.h"

#include <map>
#include <utility>

class MappingTable {
public:
    // Inserts the pair or replaces the value of an equal key. True when the
    // table changed: a new key, or a value that differs by Compare.
    bool SetPair(const CString& key, const CString& value);
    bool SetPair(CString&& key, CString&& value);

    // The stored value, or "" when the key is absent.
    CString GetValue(const CString& key) const;
    void RemovePair(const CString& key);
    void ClearPairs() { m_pairs.clear(); }
    int GetCount() const { return int(m_pairs.size()); }
    bool IsEmpty() const { return m_pairs.empty(); }

    // Ascending ordinal key order; yields std::pair<const CString, CString>.
    auto begin() const { return m_pairs.begin(); }
    auto end() const { return m_pairs.end(); }

private:
    template <typename Key, typename Value>
    bool Store(Key&& key, Value&& value);

    std::map<CString, CString, CStringLess> m_pairs;
};

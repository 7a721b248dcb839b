#include "store/MappingTable.h"

template <typename Key, typename Value>
bool MappingTable::Store(Key&& key, Value&& value) {
    // Files are written in key order, so reading one appends at the end:
    // try that position first and skip the tree search.
    if (m_pairs.empty() || CStringLess()(std::prev(m_pairs.end())->first, key)) {
        m_pairs.emplace_hint(m_pairs.end(), std::forward<Key>(key), std::forward<Value>(value));
        return true;
    }
    auto it = m_pairs.lower_bound(key);
    if (it != m_pairs.end() && it->first.Compare(key) == 0) {
        if (it->second.Compare(value) == 0)
            return false;
        it->second = std::forward<Value>(value);
        return true;
    }
    m_pairs.emplace_hint(it, std::forward<Key>(key), std::forward<Value>(value));
    return true;
}

bool MappingTable::SetPair(const CString& key, const CString& value) {
    return Store(key, value);
}

bool MappingTable::SetPair(CString&& key, CString&& value) {
    return Store(std::move(key), std::move(value));
}

CString MappingTable::GetValue(const CString& key) const {
    auto it = m_pairs.find(key);
    return it == m_pairs.end() ? CString() : it->second;
}

void MappingTable::RemovePair(const CString& key) {
    m_pairs.erase(key);
}

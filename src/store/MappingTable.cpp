#include "store/MappingTable.h"

MappingTable::MappingTable()
    : m_pool(std::make_unique<NodePool>()), m_pairs(Pairs::allocator_type(m_pool.get())) {}

MappingTable::MappingTable(const MappingTable& other) : MappingTable() {
    for (const auto& pair : other.m_pairs)
        m_pairs.emplace_hint(m_pairs.end(), pair);
}

// A moved-from table is empty and usable, with a pool of its own.
MappingTable::MappingTable(MappingTable&& other) : MappingTable() {
    swap(other);
}

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

// The nodes go back to the pool one by one before the pool itself goes.
MappingTable::~MappingTable() = default;

void MappingTable::swap(MappingTable& other) noexcept {
    m_pool.swap(other.m_pool);
    m_pairs.swap(other.m_pairs);
}

void MappingTable::ClearPairs() {
    m_pairs.clear();
    m_pool->Reset();
}

template <typename Key, typename Value>
bool MappingTable::Store(Key&& key, Value&& value) {
    // Files are written in key order, so reading one appends at the end. The
    // end hint costs one comparison with the last key when it does; any
    // other key gets the usual search. key and value are left untouched
    // when the key is already there.
    size_t count = m_pairs.size();
    auto it = m_pairs.try_emplace(m_pairs.end(), std::forward<Key>(key), std::forward<Value>(value));
    if (m_pairs.size() != count)
        return true;
    if (it->second.View() == value.View())
        return false;
    it->second = std::forward<Value>(value);
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

#include "store/MappingTable.h"

MappingTable::MappingTable()
    : m_pool(std::make_unique<NodePool>()), m_pairs(Pairs::allocator_type(m_pool.get())) {}

MappingTable::MappingTable(const MappingTable& other) : MappingTable() {
    for (const MappingPair& pair : other.m_pairs)
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
    // Files are written in key order, so reading one appends at the end:
    // one comparison with the last key. Any other key gets the usual
    // search. key and value are left untouched when the key is there.
    auto hint = m_pairs.end();
    if (!m_pairs.empty() && KeyOrder::Compare(std::prev(hint)->key.View(), key.View()) >= 0) {
        hint = m_pairs.lower_bound(key.View());
        if (hint->key.View() == key.View()) {
            if (hint->value.View() == value.View())
                return false;
            // The value takes no part in the order: it may change in place.
            const_cast<CString&>(hint->value) = std::forward<Value>(value);
            return true;
        }
    }
    m_pairs.emplace_hint(hint, MappingPair{std::forward<Key>(key), std::forward<Value>(value)});
    return true;
}

bool MappingTable::SetPair(const CString& key, const CString& value) {
    return Store(key, value);
}

bool MappingTable::SetPair(CString&& key, CString&& value) {
    return Store(std::move(key), std::move(value));
}

CString MappingTable::GetValue(const CString& key) const {
    auto it = m_pairs.find(key.View());
    return it == m_pairs.end() ? CString() : it->value;
}

void MappingTable::RemovePair(const CString& key) {
    auto it = m_pairs.find(key.View());
    if (it != m_pairs.end())
        m_pairs.erase(it);
}

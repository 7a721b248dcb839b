// STAND-IN until the store's batch lands: same interface, SetPair inside.
#pragma once

#include "store/MappingTable.h"

#include <string>
#include <utility>
#include <vector>

class MappingBatch {
public:
    void Add(std::u16string_view key, std::u16string_view value) { m_pairs.emplace_back(key, value); }
    size_t GetCount() const { return m_pairs.size(); }
    void Clear() { m_pairs.clear(); }
    void MergeInto(MappingTable& table) {
        for (auto& [k, v] : m_pairs)
            table.SetPair(std::u16string_view(k), std::u16string_view(v));
        m_pairs.clear();
    }

private:
    std::vector<std::pair<std::u16string, std::u16string>> m_pairs;
};

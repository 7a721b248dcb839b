// The help control's registry: one record per registered window, keyed by the
// window handle's value as an unsigned 64-bit number, in ascending key order.
// Registering a key again replaces only the record's text; records live
// until the registry is destroyed (there is no removal). Portable: the record
// type is the caller's, with a default constructor and a CString `text`.
#pragma once

#include "framework/CString.h"

#include <cstdint>
#include <map>

template <typename Record>
class ToolRegistry {
public:
    // Adds a default record holding `text`, or replaces the text of the
    // record already stored under `key` (its other fields stay).
    void AddTool(uint64_t key, const CString& text) {
        auto [it, inserted] = m_records.try_emplace(key);
        it->second.text = text;
    }

    // The record stored under `key`, or null.
    const Record* Find(uint64_t key) const {
        auto it = m_records.find(key);
        return it == m_records.end() ? nullptr : &it->second;
    }
    Record* Find(uint64_t key) {
        auto it = m_records.find(key);
        return it == m_records.end() ? nullptr : &it->second;
    }

    int GetCount() const { return int(m_records.size()); }

    // Every record in ascending key order (for releasing what records own).
    template <typename Visit>
    void ForEach(Visit visit) {
        for (auto& [key, record] : m_records) visit(key, record);
    }

private:
    std::map<uint64_t, Record> m_records;
};

// CStringArray: a growable array of CString indexed from 0. Whole text files
// travel as one of these, one element per line.
#pragma once

#include "framework/CString.h"

#include <vector>

class CStringArray {
public:
    int GetSize() const { return int(m_items.size()); }
    int GetCount() const { return GetSize(); }
    BOOL IsEmpty() const { return m_items.empty(); }
    int Add(const CString& item) { m_items.push_back(item); return GetSize() - 1; }
    int Add(CString&& item) { m_items.push_back(std::move(item)); return GetSize() - 1; }
    const CString& GetAt(int index) const { return m_items.at(size_t(index)); }
    void SetAt(int index, const CString& item) { m_items.at(size_t(index)) = item; }
    CString& operator[](int index) { return m_items.at(size_t(index)); }
    const CString& operator[](int index) const { return m_items.at(size_t(index)); }
    void RemoveAt(int index) { m_items.erase(m_items.begin() + index); }
    void RemoveAll() { m_items.clear(); }
    void Reserve(int count) { m_items.reserve(count > 0 ? size_t(count) : 0); }

    auto begin() const { return m_items.begin(); }
    auto end() const { return m_items.end(); }

private:
    std::vector<CString> m_items;
};

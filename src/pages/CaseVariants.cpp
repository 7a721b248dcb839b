#include "pages/CaseVariants.h"

#include "pages/ListOrder.h"

CaseVariants::CaseVariants(size_t nValues) {
    size_t buckets = 16;
    while (buckets < nValues * 2)
        buckets *= 2;
    m_first.assign(buckets, nullptr);
}

void CaseVariants::Add(const MappingEntry& entry) {
    const MappingEntry*& first = m_first[SlotOf(entry.Value())];
    if (!first)
        first = &entry;
    else if (first->Value() != entry.Value())
        m_second.try_emplace(first, &entry);
}

size_t CaseVariants::SlotOf(std::u16string_view value) const {
    const size_t mask = m_first.size() - 1;
    size_t slot = ListOrder::FoldedHash(value) & mask;
    while (m_first[slot] && !ListOrder::EqualIgnoringCase(m_first[slot]->Value(), value))
        slot = (slot + 1) & mask;
    return slot;
}

std::u16string_view CaseVariants::OtherSpelling(std::u16string_view value) const {
    const MappingEntry* pFirst = m_first[SlotOf(value)];
    if (!pFirst)
        return {};
    if (pFirst->Value() != value)
        return pFirst->Value();
    auto second = m_second.find(pFirst);
    return second != m_second.end() ? second->second->Value() : std::u16string_view();
}

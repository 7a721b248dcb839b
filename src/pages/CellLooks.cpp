#include "pages/CellLooks.h"

int WeightLinePixels(int nWeight, int nDpi) {
    // Hundredths of a millimetre to pixels: 2540 of them to the inch.
    const long long pixels = ((long long)nWeight * nDpi + 1270) / 2540;
    return pixels < 1 ? 1 : int(pixels);
}

bool CellLooks::KnowsCaseVariants() const {
    return !MappingRules::HasNames(m_kind) ||
           (m_variants && m_nVariantsChange == m_table.GetChangeCount() && m_next == m_table.end());
}

bool CellLooks::FindCaseVariants(size_t nPairs) const {
    if (KnowsCaseVariants())
        return true;
    if (!m_variants || m_nVariantsChange != m_table.GetChangeCount()) {
        m_variants.emplace(size_t(m_table.GetCount()));
        m_next = m_table.begin();
        m_nVariantsChange = m_table.GetChangeCount();
    }
    for (const auto end = m_table.end(); m_next != end && nPairs > 0; ++m_next, --nPairs)
        m_variants->Add(*m_next);
    return m_next == m_table.end();
}

std::u16string_view CellLooks::CaseVariantOf(std::u16string_view value) const {
    return MappingRules::HasNames(m_kind) && KnowsCaseVariants() ? m_variants->OtherSpelling(value)
                                                                  : std::u16string_view();
}

CellLook CellLooks::LookOf(std::u16string_view key, std::u16string_view value, int nColumn) const {
    CellLook look;
    const auto side = nColumn == 0 ? MappingRules::kMicroStation : MappingRules::kAutoCad;
    const std::u16string_view text = nColumn == 0 ? key : value;
    look.bMarked = !MappingRules::Takes(m_kind, side, text) ||
                   (side == MappingRules::kAutoCad && MappingRules::HasNames(m_kind) && !CaseVariantOf(text).empty());
    if (side != MappingRules::kAutoCad || look.bMarked)
        return look;
    // A value AutoCAD takes is one of the page's list: a number, or ByLayer,
    // ByBlock (and Default) that have no color or weight of their own, nor
    // has color 0 (ByBlock).
    const int number = MappingRules::DecimalNumber(text);
    if (m_kind == KindColors) {
        look.picture = AciColorOf(number, look.color) ? CellLook::Picture::Swatch : CellLook::Picture::EmptySwatch;
    } else if (m_kind == KindWeights && number >= 0) {
        look.picture = CellLook::Picture::WeightLine;
        look.nWeight = number;
    }
    return look;
}

std::vector<MappingRules::Finding> CellLooks::FindingsOf(std::u16string_view key, std::u16string_view value,
                                                         int nColumn) const {
    const auto side = nColumn == 0 ? MappingRules::kMicroStation : MappingRules::kAutoCad;
    const std::u16string_view text = nColumn == 0 ? key : value;
    std::vector<MappingRules::Finding> findings = MappingRules::Check(m_kind, side, text);
    if (side == MappingRules::kAutoCad && MappingRules::HasNames(m_kind))
        if (std::u16string_view other = CaseVariantOf(text); !other.empty())
            findings.push_back(MappingRules::CaseVariant(m_kind, text, other));
    return findings;
}

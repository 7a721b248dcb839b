#include "pages/CellLooks.h"

#include <utility>

int WeightLinePixels(int nWeight, int nDpi) {
    // Hundredths of a millimetre to pixels: 2540 of them to the inch.
    const long long pixels = ((long long)nWeight * nDpi + 1270) / 2540;
    return pixels < 1 ? 1 : int(pixels);
}

std::u16string_view CellLooks::CaseVariantOf(std::u16string_view value) const {
    if (!MappingRules::HasNames(m_kind))
        return {};
    if (!m_variants || m_nVariantsChange != m_table.GetChangeCount()) {
        m_variants.emplace(size_t(m_table.GetCount()));
        for (const MappingEntry& entry : m_table)
            m_variants->Add(entry);
        m_nVariantsChange = m_table.GetChangeCount();
    }
    return m_variants->OtherSpelling(value);
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

CellLook CellLooks::LookOf(const MappingEntry& entry, int nColumn) const {
    CellLook look = LookOf(entry.Key(), entry.Value(), nColumn);
    look.bImported = m_pImported && m_pImported->Puts(&entry);
    return look;
}

bool CellLooks::SetImportMarks(const TableEdit* pImported) {
    return std::exchange(m_pImported, pImported) != pImported;
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

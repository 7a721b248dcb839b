#include "pages/CellLooks.h"

namespace {

// The index an AutoCAD color value names: 1 to 255 written as the Colors
// list writes them; 0 for ByLayer, ByBlock and "0"; -1 for anything else.
int AciIndexOf(std::u16string_view value) {
    if (value == u"ByLayer" || value == u"ByBlock" || value == u"0")
        return 0;
    if (value.empty() || value.size() > 3 || value[0] == u'0')
        return -1;
    int index = 0;
    for (char16_t ch : value) {
        if (ch < u'0' || ch > u'9')
            return -1;
        index = index * 10 + (ch - u'0');
    }
    return index <= 255 ? index : -1;
}

}  // namespace

int WeightLinePixels(int nWeight, int nDpi) {
    // Hundredths of a millimetre to pixels: 2540 of them to the inch.
    const long long pixels = ((long long)nWeight * nDpi + 1270) / 2540;
    return pixels < 1 ? 1 : int(pixels);
}

std::u16string_view CellLooks::CaseVariantOf(std::u16string_view value) const {
    if (!m_variants || m_nVariantsChange != m_table.GetChangeCount()) {
        m_variants.emplace(m_table);
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
    if (m_kind == KindColors) {
        const int index = AciIndexOf(text);
        if (index == 0)
            look.picture = CellLook::Picture::EmptySwatch;
        else if (AciColorOf(index, look.color))
            look.picture = CellLook::Picture::Swatch;
    } else if (m_kind == KindWeights && !text.empty() && text[0] >= u'0' && text[0] <= u'9') {
        look.picture = CellLook::Picture::WeightLine;
        for (char16_t ch : text)
            look.nWeight = look.nWeight * 10 + (ch - u'0');
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

#include "import/ImportMerge.h"

#include "framework/CString.h"
#include "import/RemapKind.h"

#include <type_traits>

namespace {

template <class Char, typename Predicate>
void TrimEnds(std::basic_string_view<Char>& text, Predicate drop) {
    while (!text.empty() && drop(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && drop(text.back()))
        text.remove_suffix(1);
}

template <class Char>
bool IsWhiteSpace(Char ch) {
    return IsCWhiteSpace(char16_t(std::make_unsigned_t<Char>(ch)));
}

template <class Char>
bool IsColorOrCellSuffix(Char ch) {
    return ch == Char('a') || ch == Char('c');
}

}  // namespace

BOOL PageOfRemapKind(int kind, MappingKind& page) {
    switch (kind) {
    case RemapLevels: page = KindLevels; return TRUE;
    case RemapColors: page = KindColors; return TRUE;
    case RemapWeights: page = KindWeights; return TRUE;
    case RemapLineStyles: page = KindLineStyles; return TRUE;
    case RemapCellNames: page = KindCells; return TRUE;
    default: return FALSE;
    }
}

template <class Char>
BOOL TrimImportedPair(int kind, std::basic_string_view<Char>& microStation, std::basic_string_view<Char>& dwg) {
    TrimEnds(microStation, IsWhiteSpace<Char>);
    TrimEnds(dwg, IsWhiteSpace<Char>);
    if (kind == RemapColors || kind == RemapCellNames) {
        TrimEnds(dwg, IsColorOrCellSuffix<Char>);
        TrimEnds(dwg, IsWhiteSpace<Char>);
    }
    MappingKind page;
    return PageOfRemapKind(kind, page) && !microStation.empty();
}

template BOOL TrimImportedPair(int, std::u16string_view&, std::u16string_view&);
template BOOL TrimImportedPair(int, std::string_view&, std::string_view&);

#include "pages/RowSearch.h"

namespace {

// The lower-case letter of an upper-case one in the basic Latin, Latin-1,
// Greek and Cyrillic blocks; any other unit as it is.
char16_t FoldCase(char16_t ch) {
    if (ch < 0x80)
        return ch >= u'A' && ch <= u'Z' ? char16_t(ch + 0x20) : ch;
    if ((ch >= 0xC0 && ch <= 0xDE && ch != 0xD7) || (ch >= 0x391 && ch <= 0x3AB && ch != 0x3A2) ||
        (ch >= 0x410 && ch <= 0x42F))
        return char16_t(ch + 0x20);
    if (ch >= 0x400 && ch <= 0x40F)
        return char16_t(ch + 0x50);
    return ch;
}

bool IsWordUnit(char16_t ch) {
    if (ch < 0x80)
        return (ch >= u'0' && ch <= u'9') || (ch >= u'A' && ch <= u'Z') || (ch >= u'a' && ch <= u'z') || ch == u'_';
    // Letters from Latin-1 on; the Latin-1 signs and punctuation are not.
    return ch >= 0xC0 && ch != 0xD7 && ch != 0xF7;
}

}  // namespace

RowSearch::RowSearch(std::u16string_view text, bool bMatchCase, bool bWholeWord)
    : m_text(text), m_bMatchCase(bMatchCase), m_bWholeWord(bWholeWord) {
    if (!m_bMatchCase)
        for (char16_t& ch : m_text)
            ch = FoldCase(ch);
}

bool RowSearch::Holds(std::u16string_view cell) const {
    const size_t length = m_text.size();
    if (length == 0 || cell.size() < length)
        return false;
    const char16_t first = m_text[0];
    for (size_t at = 0; at + length <= cell.size(); ++at) {
        if ((m_bMatchCase ? cell[at] : FoldCase(cell[at])) != first)
            continue;
        size_t i = 1;
        if (m_bMatchCase)
            while (i < length && cell[at + i] == m_text[i])
                ++i;
        else
            while (i < length && FoldCase(cell[at + i]) == m_text[i])
                ++i;
        if (i < length)
            continue;
        if (!m_bWholeWord || ((at == 0 || !IsWordUnit(cell[at - 1])) &&
                              (at + length == cell.size() || !IsWordUnit(cell[at + length]))))
            return true;
    }
    return false;
}

int RowSearch::FindRow(std::span<const MappingEntry* const> rows, int nStart, bool bDown) const {
    const int count = int(rows.size());
    for (int i = nStart; i >= 0 && i < count; i += bDown ? 1 : -1)
        if (rows[size_t(i)] && Matches(*rows[size_t(i)]))
            return i;
    return -1;
}

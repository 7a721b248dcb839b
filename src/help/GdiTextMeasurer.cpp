#include "help/GdiTextMeasurer.h"

GdiTextMeasurer::GdiTextMeasurer(HDC hDC, HFONT hBold, HFONT hUnderline, HFONT hNormal)
    : m_hDC(hDC), m_hFonts{hBold, hUnderline, hNormal} {}

GdiTextMeasurer::~GdiTextMeasurer() {
    if (m_hPrevious)
        ::SelectObject(m_hDC, m_hPrevious);
}

void GdiTextMeasurer::Select(HelpFont font) {
    HFONT hFont = m_hFonts[font];
    if (!hFont)
        return;
    HGDIOBJ hPrevious = ::SelectObject(m_hDC, hFont);
    if (!m_hPrevious)
        m_hPrevious = hPrevious;
}

BalloonSize GdiTextMeasurer::Measure(const CString& text, HelpFont font) {
    Select(font);
    // DT_CALCRECT alone: lines break only at the text's own line breaks, and
    // the rectangle grows from (0, 0) to the text's extent.
    RECT rc = {0, 0, 0, 0};
    ::DrawTextW(m_hDC, text.GetString(), text.GetLength(), &rc, DT_CALCRECT);
    return {int(rc.right), int(rc.bottom)};
}

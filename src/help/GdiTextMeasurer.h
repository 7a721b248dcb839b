// Measures help text on a device context in the balloon's three fonts, as the
// layout arithmetic asks. The context's font is restored when the measurer
// goes. Win32.
#pragma once

#include "framework/Win32.h"
#include "help/BalloonLayout.h"

class GdiTextMeasurer : public HelpTextMeasurer {
public:
    // Fonts in HelpFont order: bold, underlined, normal. A null font measures
    // in the context's current one.
    GdiTextMeasurer(HDC hDC, HFONT hBold, HFONT hUnderline, HFONT hNormal);
    ~GdiTextMeasurer() override;
    GdiTextMeasurer(const GdiTextMeasurer&) = delete;
    GdiTextMeasurer& operator=(const GdiTextMeasurer&) = delete;

    BalloonSize Measure(const CString& text, HelpFont font) override;
    // Selects `font` for drawing; the previous font still comes back at the end.
    void Select(HelpFont font);

private:
    HDC m_hDC;
    HFONT m_hFonts[3];
    HGDIOBJ m_hPrevious = nullptr;
};

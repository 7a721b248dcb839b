// Draws one cell of a mapping list as its CellLook says, left to right: the
// warning glyph of a marked cell, the picture of its value (a color swatch,
// or a line at the value's weight), then its text. Win32.
#pragma once

#include "framework/DpiScale.h"
#include "framework/Win32.h"
#include "pages/CellLooks.h"

#include <string_view>

// The text and background of a marked cell that is not selected.
constexpr COLORREF kWarningText = RGB(164, 32, 0);
constexpr COLORREF kWarningBack = RGB(255, 238, 200);
// The glyph's fill.
constexpr COLORREF kWarningGlyph = RGB(244, 170, 0);

struct CellColors {
    COLORREF text;
    COLORREF back;
};

// Paints the whole cell rectangle rcCell on hDC, measures designed at
// 96 DPI scaled by px.
void PaintListCell(HDC hDC, const RECT& rcCell, const CellLook& look, std::u16string_view text, CellColors colors,
                   DpiScale px);

#include "pages/ListCellPainter.h"

#include <algorithm>

namespace {

constexpr int kPadding = 4;      // before the first part and between parts
constexpr int kSwatchWidth = 20;
constexpr int kLineLength = 24;
constexpr COLORREF kFrame = RGB(96, 96, 96);
constexpr COLORREF kGlyphEdge = RGB(120, 72, 0);
constexpr size_t kLongestDrawn = 260;

void Fill(HDC hDC, const RECT& rc, COLORREF colour) {
    ::SetBkColor(hDC, colour);
    ::ExtTextOutW(hDC, 0, 0, ETO_OPAQUE, &rc, nullptr, 0, nullptr);
}

// A warning triangle with an exclamation mark, size pixels square.
void PaintGlyph(HDC hDC, int x, int top, int size) {
    HBRUSH hBrush = ::CreateSolidBrush(kWarningGlyph);
    HPEN hPen = ::CreatePen(PS_SOLID, 1, kGlyphEdge);
    HGDIOBJ hOldBrush = ::SelectObject(hDC, hBrush), hOldPen = ::SelectObject(hDC, hPen);
    const POINT corners[3] = {{x + size / 2, top}, {x + size - 1, top + size - 1}, {x, top + size - 1}};
    ::Polygon(hDC, corners, 3);
    ::SelectObject(hDC, hOldBrush);
    ::SelectObject(hDC, hOldPen);
    ::DeleteObject(hBrush);
    ::DeleteObject(hPen);
    const int stroke = size >= 14 ? 2 : 1, middle = x + size / 2 - stroke / 2;
    Fill(hDC, {middle, top + size * 3 / 8, middle + stroke, top + size * 11 / 16}, kGlyphEdge);
    Fill(hDC, {middle, top + size * 3 / 4, middle + stroke, top + size * 3 / 4 + stroke}, kGlyphEdge);
}

void PaintSwatch(HDC hDC, const RECT& rc, const CellLook& look, COLORREF empty) {
    Fill(hDC, rc, kFrame);
    const RECT inner = {rc.left + 1, rc.top + 1, rc.right - 1, rc.bottom - 1};
    Fill(hDC, inner,
         look.picture == CellLook::Picture::Swatch ? RGB(look.color.red, look.color.green, look.color.blue) : empty);
}

}  // namespace

void PaintListCell(HDC hDC, const RECT& rcCell, const CellLook& look, std::u16string_view text, CellColors colors,
                   DpiScale px) {
    const COLORREF oldBack = ::GetBkColor(hDC);
    Fill(hDC, rcCell, colors.back);
    const int height = rcCell.bottom - rcCell.top;
    int x = rcCell.left + px(kPadding);
    if (look.bMarked) {
        const int size = std::max(height - px(4), 7);
        PaintGlyph(hDC, x, rcCell.top + (height - size) / 2, size);
        x += size + px(kPadding);
    }
    switch (look.picture) {
    case CellLook::Picture::Swatch:
    case CellLook::Picture::EmptySwatch: {
        const int box = std::max(height - px(6), 6);
        const int top = rcCell.top + (height - box) / 2;
        PaintSwatch(hDC, {x, top, x + px(kSwatchWidth), top + box}, look, ::GetSysColor(COLOR_WINDOW));
        x += px(kSwatchWidth) + px(kPadding);
        break;
    }
    case CellLook::Picture::WeightLine: {
        const int width = std::min(WeightLinePixels(look.nWeight, px.Dpi()), height - 2);
        const int top = rcCell.top + (height - width) / 2;
        Fill(hDC, {x, top, x + px(kLineLength), top + width}, colors.text);
        x += px(kLineLength) + px(kPadding);
        break;
    }
    case CellLook::Picture::None:
        break;
    }
    RECT rcText = {x, rcCell.top, rcCell.right - px(2), rcCell.bottom};
    const int oldMode = ::SetBkMode(hDC, TRANSPARENT);
    const COLORREF oldText = ::SetTextColor(hDC, colors.text);
    // No more of a long text than the control itself would show.
    const int length = int(std::min(text.size(), kLongestDrawn));
    ::DrawTextW(hDC, reinterpret_cast<LPCWSTR>(text.data()), length, &rcText,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    ::SetTextColor(hDC, oldText);
    ::SetBkMode(hDC, oldMode);
    ::SetBkColor(hDC, oldBack);
}

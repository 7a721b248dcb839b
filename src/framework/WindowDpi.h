// The DPI scale of a device context or of the screen a window is on, as the
// process sees it: a DPI-aware process gets the screen's DPI, an unaware one
// 96 (the system then scales its windows as bitmaps).
#pragma once

#include "framework/DpiScale.h"
#include "framework/Win32.h"

inline DpiScale DpiScaleOf(HDC hDC) { return DpiScale(hDC ? ::GetDeviceCaps(hDC, LOGPIXELSY) : DpiScale::kDesignDpi); }

inline DpiScale DpiScaleOf(HWND hWnd) {
    HDC hDC = ::GetDC(hWnd);
    DpiScale scale = DpiScaleOf(hDC);
    if (hDC)
        ::ReleaseDC(hWnd, hDC);
    return scale;
}

#include "framework/RecreateDlgItem.h"

#include <iterator>

HWND RecreateDlgItem(HWND hDialog, int nID, DWORD dwAddStyle) {
    HWND hOld = ::GetDlgItem(hDialog, nID);
    if (!hOld)
        return nullptr;
    wchar_t className[64] = {};
    ::GetClassNameW(hOld, className, int(std::size(className)));
    RECT rc{};
    ::GetWindowRect(hOld, &rc);
    ::MapWindowPoints(nullptr, hDialog, reinterpret_cast<POINT*>(&rc), 2);
    const DWORD style = DWORD(::GetWindowLongPtrW(hOld, GWL_STYLE)) | dwAddStyle;
    const DWORD exStyle = DWORD(::GetWindowLongPtrW(hOld, GWL_EXSTYLE));
    const auto hInstance = HINSTANCE(::GetWindowLongPtrW(hOld, GWLP_HINSTANCE));
    HWND hNew = ::CreateWindowExW(exStyle, className, L"", style, rc.left, rc.top, rc.right - rc.left,
                                  rc.bottom - rc.top, hDialog, HMENU(INT_PTR(nID)), hInstance, nullptr);
    if (!hNew)
        return nullptr;
    ::SendMessageW(hNew, WM_SETFONT, ::SendMessageW(hOld, WM_GETFONT, 0, 0), FALSE);
    // Right after the old one in the z-order, which is the tab order.
    ::SetWindowPos(hNew, hOld, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::DestroyWindow(hOld);
    return hNew;
}

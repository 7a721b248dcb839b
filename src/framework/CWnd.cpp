#include "framework/CWnd.h"

#include <cwchar>
#include <map>
#include <memory>
#include <unordered_map>

namespace {

// The property that ties a window to its permanent CWnd.
const wchar_t kObjectProperty[] = L"Varnel.CWnd";

// The permanent objects by window, the same as the property says: every
// routed message looks its object up, and here that costs no round trip to
// the window server (under Wine each GetPropW is one). The library's
// windows all live on the host's one user-interface thread: no lock.
std::unordered_map<HWND, CWnd*> g_objects;

// The object whose window CreateEx is creating; the first message of a window
// of one of our own classes attaches it.
thread_local CWnd* t_pCreating = nullptr;

// Wrappers made by FromHandle for windows that have no object of their own.
thread_local std::map<HWND, std::unique_ptr<CWnd>> t_temporaries;

}  // namespace

class CWndRouting {
public:
    static void Attach(CWnd* pWnd, HWND hWnd) {
        pWnd->m_hWnd = hWnd;
        ::SetPropW(hWnd, kObjectProperty, pWnd);
        g_objects[hWnd] = pWnd;
    }
    // Forgets the window: after its last message, or when the object dies first.
    static void Detach(CWnd* pWnd, bool restoreProcedure) {
        HWND hWnd = pWnd->m_hWnd;
        if (restoreProcedure && pWnd->m_pfnSuper)
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, LONG_PTR(pWnd->m_pfnSuper));
        ::RemovePropW(hWnd, kObjectProperty);
        g_objects.erase(hWnd);
        pWnd->m_hWnd = nullptr;
        pWnd->m_pfnSuper = nullptr;
    }
};

LRESULT CALLBACK VarnelWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd) {
        pWnd = t_pCreating;
        if (!pWnd)
            return ::DefWindowProcW(hWnd, message, wParam, lParam);
        t_pCreating = nullptr;
        CWndRouting::Attach(pWnd, hWnd);
    }
    LRESULT result = 0;
    try {
        result = pWnd->WindowProc(message, wParam, lParam);
    } catch (...) {
        // No exception may cross into the system's code; the message counts
        // as handled with result 0.
        result = 0;
    }
    if (message == WM_NCDESTROY && pWnd->m_hWnd == hWnd) {
        CWndRouting::Detach(pWnd, false);
        pWnd->PostNcDestroy();
    }
    return result;
}

CWnd::CWnd() = default;

CWnd::~CWnd() {
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        if (m_pfnSuper) {
            CWndRouting::Detach(this, true);  // a control outlives its wrapper
        } else {
            HWND hWnd = m_hWnd;
            CWndRouting::Detach(this, false);
            ::DestroyWindow(hWnd);
        }
    }
}

HWND CWnd::GetSafeHwnd() const { return m_hWnd; }

CWnd* CWnd::FromHandlePermanent(HWND hWnd) {
    if (!hWnd)
        return nullptr;
    auto found = g_objects.find(hWnd);
    return found == g_objects.end() ? nullptr : found->second;
}

CWnd* CWnd::FromHandle(HWND hWnd) {
    if (!hWnd)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    auto found = t_temporaries.find(hWnd);
    if (found != t_temporaries.end())
        return found->second.get();
    for (auto it = t_temporaries.begin(); it != t_temporaries.end();)
        it = ::IsWindow(it->first) ? std::next(it) : t_temporaries.erase(it);
    auto pWnd = std::make_unique<CWnd>();
    pWnd->m_hWnd = hWnd;
    return t_temporaries.emplace(hWnd, std::move(pWnd)).first->second.get();
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int cx, int cy, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
    if (m_hWnd)
        return FALSE;
    t_pCreating = this;
    HWND hWnd = ::CreateWindowExW(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, cx, cy, hWndParent,
                                  nIDorHMenu, AfxGetResourceHandle(), lpParam);
    if (t_pCreating == this)
        t_pCreating = nullptr;
    if (!hWnd)
        return FALSE;
    if (!m_hWnd)
        SubclassWindow(hWnd);  // a class of the system's: routed from now on
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND hWnd) {
    if (m_hWnd || !hWnd || FromHandlePermanent(hWnd))
        return FALSE;
    CWndRouting::Attach(this, hWnd);
    auto previous = WNDPROC(::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, LONG_PTR(&VarnelWndProc)));
    m_pfnSuper = previous == &VarnelWndProc ? nullptr : previous;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    return pParent && SubclassWindow(::GetDlgItem(pParent->m_hWnd, int(nID)));
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (OnCommand(wParam, lParam))
            return 0;
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(wParam, lParam, &result))
            return result;
        break;
    }
    case WM_DESTROY:
        OnDestroy();
        break;
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*) { return FALSE; }
BOOL CWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }
BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) { return FALSE; }
void CWnd::OnDestroy() {}
void CWnd::PostNcDestroy() {}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
}

void CWnd::ScreenToClient(LPRECT lpRect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(lpRect), 2);
}

CString CWnd::GetWindowText() const {
    int length = ::GetWindowTextLengthW(m_hWnd);
    if (length <= 0)
        return CString();
    std::u16string text(size_t(length) + 1, u'\0');
    int copied = ::GetWindowTextW(m_hWnd, reinterpret_cast<LPWSTR>(text.data()), length + 1);
    text.resize(size_t(copied > 0 ? copied : 0));
    return CString(std::move(text));
}

void CWnd::SetFont(HFONT hFont, BOOL bRedraw) const {
    SendMessage(WM_SETFONT, WPARAM(hFont), MAKELPARAM(bRedraw, 0));
}

CWnd* CWnd::GetParentOwner() const {
    HWND hWnd = m_hWnd;
    while (hWnd && (::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD))
        hWnd = ::GetParent(hWnd);
    return FromHandle(hWnd);
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd) const {
    DWORD style = GetStyle();
    DWORD changed = (style & ~dwRemove) | dwAdd;
    if (changed == style)
        return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, LONG_PTR(changed));
    return TRUE;
}

BOOL CWnd::SetWindowPos(HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) const {
    return ::SetWindowPos(m_hWnd, hWndInsertAfter, x, y, cx, cy, nFlags);
}

void CWnd::CenterWindow() const {
    RECT rc;
    GetWindowRect(&rc);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT area = monitor.rcWork;
    HWND hOwner = ::GetWindow(m_hWnd, GW_OWNER);
    RECT around = area;
    if (hOwner && ::IsWindowVisible(hOwner) && !::IsIconic(hOwner))
        ::GetWindowRect(hOwner, &around);
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    int x = (around.left + around.right - cx) / 2, y = (around.top + around.bottom - cy) / 2;
    if (x + cx > area.right) x = area.right - cx;
    if (y + cy > area.bottom) y = area.bottom - cy;
    if (x < area.left) x = area.left;
    if (y < area.top) y = area.top;
    SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CString AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon) {
    HINSTANCE hInstance = AfxGetResourceHandle();
    // The module's address is part of the name: a class left registered by an
    // earlier load of the library at another address is never reused.
    wchar_t name[128];
    std::swprintf(name, 128, L"Varnel:%p:%x:%p:%p:%p", static_cast<void*>(hInstance), nClassStyle,
                  static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    if (!::GetClassInfoExW(hInstance, name, &wc)) {
        wc = WNDCLASSEXW{};
        wc.cbSize = sizeof(wc);
        wc.style = nClassStyle;
        wc.lpfnWndProc = &VarnelWndProc;
        wc.hInstance = hInstance;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.hIcon = hIcon;
        wc.lpszClassName = name;
        ::RegisterClassExW(&wc);
    }
    return CString(name);
}

HINSTANCE AfxGetResourceHandle() {
    static HINSTANCE s_hInstance = [] {
        HMODULE hModule = nullptr;
        ::GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                             reinterpret_cast<LPCWSTR>(&AfxGetResourceHandle), &hModule);
        return hModule;
    }();
    return s_hInstance;
}

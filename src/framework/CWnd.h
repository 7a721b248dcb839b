// CWnd: a window object that keeps `this` with its HWND and routes the
// window's messages to one virtual WindowProc. Windows of our own classes are
// routed from creation on; other windows (controls, dialogs, the property
// sheet) are subclassed, and the procedure they had becomes the default.
#pragma once

#include "framework/Win32.h"
#include "framework/CString.h"

class CWnd {
public:
    HWND m_hWnd = nullptr;

    CWnd();
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // The window handle; null for an object without a window. Calling it
    // through a null pointer is undefined, so callers test the pointer first.
    HWND GetSafeHwnd() const;
    operator HWND() const { return m_hWnd; }

    // The CWnd that owns the handle, or a temporary wrapper kept for the
    // thread's life while the window exists; null for a null handle.
    static CWnd* FromHandle(HWND hWnd);
    // The CWnd that owns the handle, or null: never a temporary.
    static CWnd* FromHandlePermanent(HWND hWnd);

    BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                  int x, int y, int cx, int cy, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    BOOL DestroyWindow();
    // Routes an existing window's messages to this object.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // What the window does without us: its original procedure or DefWindowProc.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Offered each message of a modal loop before it is dispatched; TRUE eats it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL ShowWindow(int nCmdShow) const { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
    BOOL EnableWindow(BOOL bEnable = TRUE) const { return ::EnableWindow(m_hWnd, bEnable); }
    void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
    void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
    void ScreenToClient(LPRECT lpRect) const;
    void SetWindowText(LPCWSTR lpszText) const { ::SetWindowTextW(m_hWnd, lpszText); }
    CString GetWindowText() const;
    void SetFont(HFONT hFont, BOOL bRedraw = TRUE) const;
    HFONT GetFont() const { return HFONT(SendMessage(WM_GETFONT)); }
    CWnd* GetDlgItem(int nID) const { return FromHandle(::GetDlgItem(m_hWnd, nID)); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    CWnd* GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
    // The top-level window above this one (itself when it is top-level).
    CWnd* GetParentOwner() const;
    DWORD GetStyle() const { return DWORD(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)); }
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd) const;
    BOOL SetWindowPos(HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) const;
    void CenterWindow() const;
    BOOL SetMenu(HMENU hMenu) const { return ::SetMenu(m_hWnd, hMenu); }
    static CWnd* GetFocus() { return FromHandle(::GetFocus()); }
    CWnd* SetFocus() const { return FromHandle(::SetFocus(m_hWnd)); }

protected:
    // Handlers called by WindowProc; TRUE means handled (no default).
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // Called on WM_DESTROY before the default procedure runs.
    virtual void OnDestroy();
    // Called after the last message (WM_NCDESTROY); the handle is gone.
    virtual void PostNcDestroy();

private:
    friend LRESULT CALLBACK VarnelWndProc(HWND, UINT, WPARAM, LPARAM);
    friend class CWndRouting;
    WNDPROC m_pfnSuper = nullptr;
};

// Registers (once) a window class whose procedure routes to CWnd::WindowProc
// and returns its name. Objects are attached when created with CWnd::CreateEx.
CString AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr, HBRUSH hbrBackground = nullptr,
                            HICON hIcon = nullptr);

// The module that holds the framework code, and so the library's resources:
// inside Varnel.dll this is the DLL, never the host program.
HINSTANCE AfxGetResourceHandle();

// CMenu: owns a menu handle loaded from the library's module.
#pragma once

#include "framework/CWnd.h"

class CMenu {
public:
    HMENU m_hMenu = nullptr;

    CMenu() = default;
    ~CMenu() { DestroyMenu(); }
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    BOOL LoadMenu(UINT nIDResource) {
        return Attach(::LoadMenuW(AfxGetResourceHandle(), MAKEINTRESOURCEW(nIDResource)));
    }
    BOOL Attach(HMENU hMenu) {
        if (m_hMenu || !hMenu)
            return FALSE;
        m_hMenu = hMenu;
        return TRUE;
    }
    HMENU Detach() {
        HMENU hMenu = m_hMenu;
        m_hMenu = nullptr;
        return hMenu;
    }
    BOOL DestroyMenu() {
        if (!m_hMenu)
            return FALSE;
        return ::DestroyMenu(Detach());
    }
    HMENU GetSafeHmenu() const { return m_hMenu; }
};

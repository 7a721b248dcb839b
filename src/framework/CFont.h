// CFont: owns a GDI font.
#pragma once

#include "framework/Win32.h"

class CFont {
public:
    HFONT m_hObject = nullptr;

    CFont() = default;
    ~CFont() { DeleteObject(); }
    CFont(const CFont&) = delete;
    CFont& operator=(const CFont&) = delete;

    BOOL CreateFontIndirect(const LOGFONTW* pLogFont) { return Attach(::CreateFontIndirectW(pLogFont)); }
    BOOL Attach(HFONT hFont) {
        if (m_hObject || !hFont)
            return FALSE;
        m_hObject = hFont;
        return TRUE;
    }
    BOOL DeleteObject() {
        if (!m_hObject)
            return FALSE;
        HFONT hFont = m_hObject;
        m_hObject = nullptr;
        return ::DeleteObject(hFont);
    }
    HFONT GetSafeHandle() const { return m_hObject; }
    operator HFONT() const { return m_hObject; }
};

// The balloon help control: keeps one help text per registered control and
// hands out the description of a control's text; it owns a hidden popup
// window that can show a text as a balloon. Win32.
#pragma once

#include "framework/CFont.h"
#include "framework/CWnd.h"
#include "help/BalloonShape.h"
#include "help/ToolRegistry.h"

#include <vector>

// One registered tool. The icon belongs to the control, which destroys it
// when the control is destroyed; copies handed to a text provider never do.
struct ToolRecord {
    RECT rect;
    HICON hIcon;
    CString text;
};

// Supplies a tool's text when the registered one is empty.
class CVNToolTextProvider {
public:
    virtual ~CVNToolTextProvider() = default;
    virtual void FillToolText(ToolRecord* pRecord) = 0;
};

class CVNToolTipCtrl : public CWnd {
public:
    CVNToolTipCtrl();
    ~CVNToolTipCtrl() override;

    // Creates the hidden popup owned by the parent's window (which may not
    // exist yet). FALSE at once for a null parent.
    BOOL Create(CWnd* pParent, DWORD dwStyle, DWORD dwOptions, CVNToolTextProvider* pProvider);
    // Registers the control's window with string nIdText of the module's
    // table, or replaces the text of an earlier registration. The icon id is
    // not used.
    void AddTool(CWnd* pWnd, UINT nIdText, UINT nIdIcon);
    // The first "<D>" section of the control's text; "" when unregistered.
    CString GetToolDescription(CWnd* pWnd) const;
    CString GetToolDescription(HWND hWnd) const;

    void ShowAt(POINT ptScreen);
    void Hide();

protected:
    void OnDestroy() override;

private:
    CVNToolTextProvider* m_pProvider = nullptr;
    UINT m_nHoverDelay = 1000;
    BOOL m_bArmed = FALSE;
    BOOL m_bStemLeft = FALSE;
    BOOL m_bAbove = FALSE;
    CFont m_fontNormal;
    CFont m_fontUnderline;
    CFont m_fontBold;
    UINT m_nFontHeight = 14;
    UINT m_nLineSpacing = 3;
    DWORD m_nStyle = 0;
    DWORD m_nOptions = 0;
    UINT_PTR m_nTimerId = 0;
    RECT m_rcTool = {};
    SIZE m_sizeIcon = {};
    POINT m_ptAnchor = {};
    CString m_strClassName;
    CString m_strText;
    // Header, description, title/line text; outer frame, inner frame, background.
    COLORREF m_crColors[6] = {0x0000056C, 0x00233627, 0x00D13401, 0x009CA4AB, 0x00082E1E, 0x00E8FEFF};
    std::vector<CString> m_tags;
    ToolRegistry<ToolRecord> m_tools;
};

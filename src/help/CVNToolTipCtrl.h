// The balloon help control: keeps one help text per registered control and
// hands out the description of a control's text; it owns a hidden popup
// window that shows a control's text as a balloon once the mouse has rested
// on the control, and hides it when the mouse leaves. Win32.
#pragma once

#include "framework/CFont.h"
#include "framework/CWnd.h"
#include "help/BalloonLayout.h"
#include "help/ToolRegistry.h"

#include <vector>

#define VNTT_TIMER_SHOW 100  // shows the armed balloon
#define VNTT_TIMER_POLL 101  // hides the balloon once the cursor leaves the tool

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

    // Lays out m_strText, shapes, places and shows the balloon with its stem
    // tip on the screen point; uses up the arming.
    void ShowAt(POINT ptScreen);
    void Hide();

    // Watches the messages of the dialog's loop: the mouse resting on a
    // registered control arms the balloon for it; a click or a key dismisses
    // it. Messages for the balloon itself are its own.
    void RelayEvent(const MSG* pMsg);
    // Arms the balloon for a registered control: its text, its screen
    // rectangle, and the show timer after the hover delay. FALSE (and nothing
    // armed) for an unregistered control or an empty text.
    BOOL ArmTool(HWND hTool);
    // The icon drawn at the balloon's left (not owned); the text keeps clear
    // of its whole size. Create sets the module's application icon.
    void SetIcon(HICON hIcon);

    BOOL IsArmed() const { return m_bArmed; }
    const CString& GetText() const { return m_strText; }
    const RECT& GetToolRect() const { return m_rcTool; }
    SIZE GetIconSize() const { return m_sizeIcon; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;
    void OnPaint();
    void OnTimer(UINT_PTR nIdEvent);
    void OnMouseEvent();

private:
    void EnsureFonts();
    // The layout's measures for drawing on hDC, at its DPI.
    BalloonMetrics GetMetrics(HDC hDC) const;
    // Measures m_strText, decides the sides for m_ptAnchor and makes the
    // window's region (null for a style without a shape); pSize receives the
    // window's size.
    BOOL CalcLayout(HDC hDC, HRGN* pRgn, SIZE* pSize);
    void BuildBalloonRgn(const RECT& rcBody, HRGN* pRgn, SIZE* pSize) const;
    void BuildRoundRgn(const RECT& rcBody, HRGN* pRgn, SIZE* pSize) const;
    void BuildRectRgn(const RECT& rcBody, HRGN* pRgn, SIZE* pSize) const;

    // The tool's text, from the provider when the registered one is empty.
    CString GetToolText(HWND hWnd) const;
    // The registered control under the cursor for a mouse message to hWnd.
    HWND FindToolAt(HWND hWnd, POINT ptScreen) const;
    void KillCurrentTimer();
    void Disarm();

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
    BalloonMeasures m_measures;  // at the DPI of the last layout
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
    HICON m_hIcon = nullptr;
    HWND m_hTool = nullptr;  // the control the balloon is armed or shown for
};

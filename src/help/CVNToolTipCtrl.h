// The balloon help control: keeps one help text per registered control and
// hands out the description of a control's text; it owns a hidden popup
// window that shows a control's text as a balloon once the mouse has rested
// on the control, and hides it when the mouse leaves. A control may also
// have notes for a spot of it or for the state it is in (a list's marked
// cells): those take the place of its help text there. Win32.
#pragma once

#include "framework/CFont.h"
#include "framework/CWnd.h"
#include "help/BalloonLayout.h"
#include "help/ToolRegistry.h"

#include <vector>

#define VNTT_TIMER_SHOW 100  // shows the armed balloon
#define VNTT_TIMER_POLL 101  // hides the balloon once the cursor leaves the tool

// Sent to a control's top-level window when the note of the control's state
// changed (wParam: the control's window), so that the description area can
// show it at once.
#define VNTT_NOTE_CHANGED (WM_APP + 0x0C01)

// What a control tells about a spot of it or about its state, beyond its
// help text: a header and lines, shown as they are (no markup).
struct ToolNote {
    CString header;
    std::vector<CString> lines;
};

// A control that has notes.
class CVNToolNotes {
public:
    // The note for the screen point, and the rectangle (screen coordinates)
    // where it holds; false where the control's help text applies.
    virtual bool NoteAt(POINT ptScreen, ToolNote& note, RECT& rcSpot) const = 0;
    // The note of the control's state (its selected row); false when none.
    virtual bool CurrentNote(ToolNote& note) const = 0;

protected:
    ~CVNToolNotes() = default;
};

// One registered tool. The icon belongs to the control, which destroys it
// when the control is destroyed; copies handed to a text provider never do.
// The notes belong to the control too.
struct ToolRecord {
    RECT rect;
    HICON hIcon;
    CString text;
    CVNToolNotes* pNotes;
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
    // Gives a registered control notes, or takes them away (null); the
    // control clears them before its window goes.
    void SetToolNotes(CWnd* pWnd, CVNToolNotes* pNotes);
    // The note of a registered control's state; false when it has none.
    bool GetToolNote(HWND hWnd, ToolNote& note) const;
    // The first "<D>" section of the control's text; "" when unregistered.
    // A control whose state has a note gives the note's lines instead, one
    // to a line.
    CString GetToolDescription(CWnd* pWnd) const;
    CString GetToolDescription(HWND hWnd) const;

    // Lays out m_strText, shapes, places and shows the balloon with its stem
    // tip on the screen point; uses up the arming.
    void ShowAt(POINT ptScreen);
    void Hide();

    // Watches the messages of the dialog's loop: the mouse resting on a
    // registered control arms the balloon for it (for its note there, when
    // it has one); a click or a key dismisses it. Messages for the balloon
    // itself are its own.
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
    // What resting on a tool shows, and the screen rectangle where that
    // holds: the markup of a help text, or a note's content.
    struct Spot {
        CString text;
        HelpContent content;
        RECT rc{};
    };
    // The tool's help text over its whole window; false when it has none.
    bool HelpSpot(HWND hTool, Spot& spot) const;
    // Its note at the screen point, or else its help text; false when there
    // is nothing to show.
    bool SpotAt(HWND hTool, POINT ptScreen, Spot& spot) const;
    bool Arm(HWND hTool, Spot spot);
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
    CString m_strText;      // the markup shown, when it is a help text
    HelpContent m_content;  // what the balloon shows: m_strText's sections, or a note's
    // Header, description, title/line text; outer frame, inner frame, background.
    COLORREF m_crColors[6] = {0x0000056C, 0x00233627, 0x00D13401, 0x009CA4AB, 0x00082E1E, 0x00E8FEFF};
    std::vector<CString> m_tags;
    ToolRegistry<ToolRecord> m_tools;
    HICON m_hIcon = nullptr;
    HWND m_hTool = nullptr;  // the control the balloon is armed or shown for
};

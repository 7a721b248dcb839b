#include "help/CVNToolTipCtrl.h"

#include "help/HelpMarkup.h"
#include "resource.h"

#include <cstdint>

namespace {

uint64_t KeyOf(HWND hWnd) { return uint64_t(reinterpret_cast<uintptr_t>(hWnd)); }

// A note as the balloon shows it: its header, then each line as a
// description, whatever characters they hold.
HelpContent ContentOf(const ToolNote& note) {
    HelpContent content;
    if (!note.header.IsEmpty())
        content.sections.push_back({HELP_TAG_HEADER, note.header});
    for (const CString& line : note.lines)
        content.sections.push_back({HELP_TAG_DESCRIPTION, line});
    return content;
}

}  // namespace

CVNToolTipCtrl::CVNToolTipCtrl() {
    for (HelpTag tag : {HELP_TAG_HEADER, HELP_TAG_TITLE, HELP_TAG_DESCRIPTION, HELP_TAG_LINE})
        m_tags.push_back(HelpTagText(tag));
}

CVNToolTipCtrl::~CVNToolTipCtrl() {
    m_fontBold.DeleteObject();
    m_fontUnderline.DeleteObject();
    m_fontNormal.DeleteObject();
    m_tools.ForEach([](uint64_t, ToolRecord& record) {
        if (record.hIcon) {
            ::DestroyIcon(record.hIcon);
            record.hIcon = nullptr;
        }
    });
}

BOOL CVNToolTipCtrl::Create(CWnd* pParent, DWORD dwStyle, DWORD dwOptions, CVNToolTextProvider* pProvider) {
    if (!pParent)
        return FALSE;
    m_strClassName = AfxRegisterWndClass(0);
    m_pProvider = pProvider;
    m_nStyle = dwStyle;
    m_nOptions = dwOptions;
    // The module's application icon, the same shared icon the application
    // object loads.
    if (!m_hIcon)
        SetIcon(::LoadIconW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_VARNEL)));
    // A tool window stays off the task bar; it is never made visible here.
    return CreateEx(WS_EX_TOOLWINDOW, m_strClassName, nullptr, WS_POPUP, 0, 0, 0, 0, pParent->m_hWnd, nullptr,
                    nullptr);
}

void CVNToolTipCtrl::AddTool(CWnd* pWnd, UINT nIdText, UINT /*nIdIcon*/) {
    HWND hWnd = pWnd ? pWnd->m_hWnd : nullptr;
    if (!hWnd)
        return;
    CString text;
    text.LoadString(nIdText);  // an id without a string registers ""
    m_tools.AddTool(KeyOf(hWnd), text);
    m_tools.Find(KeyOf(hWnd))->pNotes = nullptr;  // a window registered again starts without notes
}

CString CVNToolTipCtrl::GetToolDescription(CWnd* pWnd) const {
    return GetToolDescription(pWnd ? pWnd->m_hWnd : nullptr);
}

void CVNToolTipCtrl::SetToolNotes(CWnd* pWnd, CVNToolNotes* pNotes) {
    if (ToolRecord* pRecord = pWnd && pWnd->m_hWnd ? m_tools.Find(KeyOf(pWnd->m_hWnd)) : nullptr)
        pRecord->pNotes = pNotes;
}

bool CVNToolTipCtrl::GetToolNote(HWND hWnd, ToolNote& note) const {
    const ToolRecord* pRecord = hWnd ? m_tools.Find(KeyOf(hWnd)) : nullptr;
    return pRecord && pRecord->pNotes && pRecord->pNotes->CurrentNote(note) && !note.lines.empty();
}

CString CVNToolTipCtrl::GetToolDescription(HWND hWnd) const {
    ToolNote note;
    if (GetToolNote(hWnd, note)) {
        note.header.Empty();  // the description area shows the lines alone
        return PlainText(ContentOf(note));
    }
    return GetDescription(GetToolText(hWnd));
}

CString CVNToolTipCtrl::GetToolText(HWND hWnd) const {
    const ToolRecord* pRecord = hWnd ? m_tools.Find(KeyOf(hWnd)) : nullptr;
    if (!pRecord)
        return CString();
    // The provider works on a copy: whatever it fills in is used once.
    ToolRecord copy = *pRecord;
    if (copy.text.IsEmpty() && m_pProvider)
        m_pProvider->FillToolText(&copy);
    return copy.text;
}

void CVNToolTipCtrl::OnDestroy() {
    KillCurrentTimer();
    CWnd::OnDestroy();
}

void CVNToolTipCtrl::RelayEvent(const MSG* pMsg) {
    if (!pMsg || !m_hWnd || pMsg->hwnd == m_hWnd)
        return;
    switch (pMsg->message) {
    case WM_MOUSEMOVE: {
        HWND hTool = FindToolAt(pMsg->hwnd, pMsg->pt);
        Spot spot;
        const bool bSpot = hTool && SpotAt(hTool, pMsg->pt, spot);
        const bool bSameSpot = bSpot && hTool == m_hTool && ::EqualRect(&spot.rc, &m_rcTool);
        if (m_nTimerId == VNTT_TIMER_POLL) {
            // Shown: the poll hides it once the cursor leaves the spot; only
            // another spot of the same tool (another marked cell) takes its
            // place at once.
            if (!bSpot || hTool != m_hTool || bSameSpot)
                return;
            KillCurrentTimer();
            Hide();
        } else if (bSameSpot && m_nTimerId == VNTT_TIMER_SHOW) {
            // Still on the armed spot: the rest starts again.
            m_nTimerId = ::SetTimer(m_hWnd, VNTT_TIMER_SHOW, m_nHoverDelay, nullptr);
            return;
        }
        Disarm();
        if (bSpot)
            Arm(hTool, std::move(spot));
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        // Using the control dismisses its help: a waiting balloon never shows,
        // a shown one hides and stays hidden until the cursor leaves the tool.
        if (m_nTimerId == VNTT_TIMER_POLL)
            ShowWindow(SW_HIDE);
        else
            Disarm();
        break;
    }
}

bool CVNToolTipCtrl::HelpSpot(HWND hTool, Spot& spot) const {
    spot.text = GetToolText(hTool);
    return !spot.text.IsEmpty() && ::GetWindowRect(hTool, &spot.rc);
}

bool CVNToolTipCtrl::SpotAt(HWND hTool, POINT ptScreen, Spot& spot) const {
    const ToolRecord* pRecord = m_tools.Find(KeyOf(hTool));
    ToolNote note;
    if (!pRecord || !pRecord->pNotes || !pRecord->pNotes->NoteAt(ptScreen, note, spot.rc))
        return HelpSpot(hTool, spot);
    spot.text.Empty();
    spot.content = ContentOf(note);
    return !spot.content.sections.empty();
}

BOOL CVNToolTipCtrl::ArmTool(HWND hTool) {
    Spot spot;
    return HelpSpot(hTool, spot) && Arm(hTool, std::move(spot));
}

bool CVNToolTipCtrl::Arm(HWND hTool, Spot spot) {
    if (!m_hWnd)
        return false;
    m_content = spot.text.IsEmpty() ? std::move(spot.content) : ReadHelpContent(spot.text);
    m_strText = std::move(spot.text);
    m_rcTool = spot.rc;
    m_bArmed = TRUE;
    m_hTool = hTool;
    m_nTimerId = ::SetTimer(m_hWnd, VNTT_TIMER_SHOW, m_nHoverDelay, nullptr);
    return true;
}

void CVNToolTipCtrl::Disarm() {
    if (m_nTimerId != VNTT_TIMER_SHOW)
        return;
    KillCurrentTimer();
    m_bArmed = FALSE;
    m_rcTool = RECT{};
    m_hTool = nullptr;
}

HWND CVNToolTipCtrl::FindToolAt(HWND hWnd, POINT ptScreen) const {
    // A disabled control's mouse messages go to its parent: look for the
    // child under the cursor first.
    POINT ptClient = ptScreen;
    if (hWnd && ::ScreenToClient(hWnd, &ptClient)) {
        HWND hChild = ::ChildWindowFromPointEx(hWnd, ptClient, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (hChild)
            hWnd = hChild;
    }
    // Then the window itself or the nearest registered window it sits in
    // (the edit box inside a combo box, say), up to its top-level window.
    while (hWnd) {
        if (m_tools.Find(KeyOf(hWnd)))
            return hWnd;
        if (!(::GetWindowLongPtrW(hWnd, GWL_STYLE) & WS_CHILD))
            break;
        hWnd = ::GetParent(hWnd);
    }
    return nullptr;
}

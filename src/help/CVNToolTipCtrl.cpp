#include "help/CVNToolTipCtrl.h"

#include "help/HelpMarkup.h"
#include "resource.h"

#include <cstdint>

namespace {

uint64_t KeyOf(HWND hWnd) { return uint64_t(reinterpret_cast<uintptr_t>(hWnd)); }

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
}

CString CVNToolTipCtrl::GetToolDescription(CWnd* pWnd) const {
    return GetToolDescription(pWnd ? pWnd->m_hWnd : nullptr);
}

CString CVNToolTipCtrl::GetToolDescription(HWND hWnd) const { return GetDescription(GetToolText(hWnd)); }

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
        if (m_nTimerId == VNTT_TIMER_POLL)
            return;  // shown: the poll hides it once the cursor leaves the tool
        HWND hTool = FindToolAt(pMsg->hwnd, pMsg->pt);
        if (hTool && hTool == m_hTool && m_nTimerId == VNTT_TIMER_SHOW) {
            // Still on the armed tool: the rest starts again.
            m_nTimerId = ::SetTimer(m_hWnd, VNTT_TIMER_SHOW, m_nHoverDelay, nullptr);
            return;
        }
        Disarm();
        if (hTool)
            ArmTool(hTool);
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

BOOL CVNToolTipCtrl::ArmTool(HWND hTool) {
    CString text = GetToolText(hTool);
    RECT rcTool;
    if (!m_hWnd || text.IsEmpty() || !::GetWindowRect(hTool, &rcTool))
        return FALSE;
    m_strText = text;
    m_rcTool = rcTool;
    m_bArmed = TRUE;
    m_hTool = hTool;
    m_nTimerId = ::SetTimer(m_hWnd, VNTT_TIMER_SHOW, m_nHoverDelay, nullptr);
    return TRUE;
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

#include "help/CVNToolTipCtrl.h"

#include "help/HelpMarkup.h"

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

CString CVNToolTipCtrl::GetToolDescription(HWND hWnd) const {
    if (!hWnd)
        return CString();
    const ToolRecord* pRecord = m_tools.Find(KeyOf(hWnd));
    if (!pRecord)
        return CString();
    // The provider works on a copy: whatever it fills in is used once.
    ToolRecord copy = *pRecord;
    if (copy.text.IsEmpty() && m_pProvider)
        m_pProvider->FillToolText(&copy);
    return GetDescription(copy.text);
}

void CVNToolTipCtrl::ShowAt(POINT ptScreen) {
    // Records where the stem tip goes and uses up the arming; laying out,
    // shaping and painting the balloon are not built yet, so it stays hidden.
    m_ptAnchor = ptScreen;
    m_bArmed = FALSE;
}

void CVNToolTipCtrl::Hide() {
    if (m_hWnd)
        ShowWindow(SW_HIDE);
    m_rcTool = RECT{};
}

void CVNToolTipCtrl::OnDestroy() {
    if (m_nTimerId) {
        ::KillTimer(m_hWnd, m_nTimerId);
        m_nTimerId = 0;
    }
    CWnd::OnDestroy();
}

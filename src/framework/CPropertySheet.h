// CPropertySheet: the system's property sheet run modally the way the
// library needs it: created modeless, subclassed from its first moment, and
// driven by our own message loop so that PreTranslateMessage sees every
// message (the Enter key included) before the dialog manager does. The owner
// is disabled while the sheet runs.
#pragma once

#include "framework/CPropertyPage.h"

#include <vector>

class CPropertySheet : public CWnd {
public:
    CPropertySheet();
    CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    void AddPage(CPropertyPage* pPage);
    int GetPageCount() const { return int(m_pages.size()); }
    CPropertyPage* GetPage(int nPage) const;
    CPropertyPage* GetActivePage() const;
    // The page's place among the tabs, or -1.
    int GetPageIndex(const CPropertyPage* pPage) const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int nPage);
    HWND GetTabControl() const;

    // Creates the window, runs it until EndDialog or until the system's sheet
    // closes itself, destroys it, and returns the end code (-1: not created).
    INT_PTR DoModal();
    void EndDialog(int nEndID);

    // Runs once the sheet and its first page exist, before it is shown.
    virtual BOOL OnInitDialog();
    BOOL PreTranslateMessage(MSG* pMsg) override;

    PROPSHEETHEADERW m_psh;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // The system Close command becomes the Cancel command; others go on.
    virtual void OnSysCommand(UINT nID, LPARAM lParam);

private:
    static int CALLBACK SheetCallback(HWND hWnd, UINT message, LPARAM lParam);
    void RunModalLoop();

    std::vector<CPropertyPage*> m_pages;
    CString m_strCaption;
    HWND m_hWndOwner = nullptr;
    bool m_bModalEnded = false;
    int m_nModalResult = IDCANCEL;
};

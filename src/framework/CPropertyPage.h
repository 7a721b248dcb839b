// CPropertyPage: one page of a CPropertySheet, made from a dialog template of
// the library's module. `this` travels to the page's window in the page
// description's lParam.
#pragma once

#include "framework/CDialog.h"

class CPropertyPage : public CDialog {
public:
    // nIDCaption 0 keeps the template's caption as the tab's title.
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);

    // Tells the sheet whether the page holds changes not yet applied.
    void SetModified(BOOL bChanged = TRUE);

    PROPSHEETPAGEW m_psp;

private:
    static INT_PTR CALLBACK PageDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    CString m_strCaption;
};

// CPropertyPage: one page of a CPropertySheet, made from a dialog template of
// the library's module. `this` travels to the page's window in the page
// description's lParam.
#pragma once

#include "framework/CDialog.h"

#include <vector>

class CPropertyPage : public CDialog {
public:
    // nIDCaption 0 keeps the template's caption as the tab's title.
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0);

    // Tells the sheet whether the page holds changes not yet applied.
    void SetModified(BOOL bChanged = TRUE);

    // The description handed to the sheet: the template copied into the
    // sheet's font when that works, the module's template otherwise.
    PROPSHEETPAGEW PreparePage();

    PROPSHEETPAGEW m_psp;

protected:
    // A page never ends itself: OK and Cancel belong to the sheet.
    BOOL OnCommand(WPARAM, LPARAM) override { return FALSE; }

private:
    static INT_PTR CALLBACK PageDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    CString m_strCaption;
    std::vector<BYTE> m_template;
};

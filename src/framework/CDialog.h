// CDialog: a dialog made from a template of the library's module. The dialog
// procedure only attaches the object on WM_INITDIALOG; from then on the
// window is subclassed and its messages reach WindowProc like any CWnd's,
// with the system's dialog procedure as the default.
#pragma once

#include "framework/CWnd.h"

// What DoDataExchange is asked to do: bind controls and move data.
class CDataExchange {
public:
    CWnd* m_pDlgWnd;
    BOOL m_bSaveAndValidate;
};

// Binds rControl to the dialog's child nIDC (once; later calls keep it).
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

class CDialog : public CWnd {
public:
    explicit CDialog(UINT nIDTemplate = 0, CWnd* pParentWnd = nullptr);

    // Runs the dialog modally with the system's loop; IDOK, IDCANCEL or -1.
    INT_PTR DoModal();
    void EndDialog(int nResult);
    // Runs DoDataExchange: TRUE takes data from the controls, FALSE fills them.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);

    virtual BOOL OnInitDialog();

    UINT m_nIDTemplate;

protected:
    virtual void DoDataExchange(CDataExchange* pDX);
    virtual void OnOK();
    virtual void OnCancel();
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    // Attaches the object to its window and runs OnInitDialog.
    INT_PTR AttachOnInitDialog(HWND hWnd);
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_hWndParent;
};

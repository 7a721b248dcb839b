#include "framework/MessageBox.h"

#include "resource.h"

int VNMessageBox(HWND hOwner, const CString& strText, UINT nType) {
    CString strCaption;
    strCaption.LoadString(IDS_CAPTION);
    return ::MessageBoxW(hOwner, strText, strCaption, nType);
}

// Thin wrappers over the system's standard controls: each method sends one
// message to the control's window. Only what the library uses.
#pragma once

#include "framework/CWnd.h"

class CEdit : public CWnd {
public:
    BOOL SetReadOnly(BOOL bReadOnly = TRUE) const { return BOOL(SendMessage(EM_SETREADONLY, bReadOnly)); }
    void SetSel(int nStart, int nEnd) const { SendMessage(EM_SETSEL, WPARAM(nStart), LPARAM(nEnd)); }
};

class CStatic : public CWnd {};

class CButton : public CWnd {
public:
    // Presses the button as a click would (BN_CLICKED to its parent).
    void Click() const { SendMessage(BM_CLICK); }
};

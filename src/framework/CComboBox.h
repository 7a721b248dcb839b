// CComboBox: a thin view over a combo box. Each method sends one message to
// the control's window.
#pragma once

#include "framework/CWnd.h"

class CComboBox : public CWnd {
public:
    void ResetContent() const { SendMessage(CB_RESETCONTENT); }
    // The new item's index, or CB_ERR / CB_ERRSPACE.
    int AddString(const CString& text) const { return int(SendMessage(CB_ADDSTRING, 0, LPARAM(text.GetString()))); }
    int GetCount() const { return int(SendMessage(CB_GETCOUNT)); }
    // The selected item, or CB_ERR when none is.
    int GetCurSel() const { return int(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int nSelect) const { return int(SendMessage(CB_SETCURSEL, WPARAM(nSelect))); }
    // The first item after nStartAfter whose whole text equals the text
    // ignoring case, wrapping to the start; CB_ERR when none does.
    int FindStringExact(int nStartAfter, const CString& text) const {
        return int(SendMessage(CB_FINDSTRINGEXACT, WPARAM(nStartAfter), LPARAM(text.GetString())));
    }
    // Item nIndex's text; "" for an index outside the list.
    CString GetLBText(int nIndex) const {
        int length = int(SendMessage(CB_GETLBTEXTLEN, WPARAM(nIndex)));
        if (length <= 0)
            return CString();
        std::u16string buffer(size_t(length) + 1, u'\0');
        int copied = int(SendMessage(CB_GETLBTEXT, WPARAM(nIndex), LPARAM(buffer.data())));
        buffer.resize(size_t(copied > 0 ? copied : 0));
        return CString(std::move(buffer));
    }
};

// CListCtrl: a thin view over a list-view control. Each method sends one
// message to the control's window; the control owns nothing of the caller's.
#pragma once

#include "framework/CWnd.h"

class CListCtrl : public CWnd {
public:
    int GetItemCount() const { return int(SendMessage(LVM_GETITEMCOUNT)); }
    // The row count of an owner-data list (LVSICF_* flags); for any other
    // list a hint of how many rows are coming.
    void SetItemCount(int nItems, DWORD dwFlags = 0) const { SendMessage(LVM_SETITEMCOUNT, WPARAM(nItems), dwFlags); }
    UINT GetSelectedCount() const { return UINT(SendMessage(LVM_GETSELECTEDCOUNT)); }
    // The next row after nItem (-1: from the start) with the LVNI_* flags, or -1.
    int GetNextItem(int nItem, int nFlags) const { return int(SendMessage(LVM_GETNEXTITEM, WPARAM(nItem), nFlags)); }

    int InsertColumn(int nCol, const LVCOLUMNW& column) const {
        return int(SendMessage(LVM_INSERTCOLUMNW, WPARAM(nCol), LPARAM(&column)));
    }
    // The number of columns, as the header control counts them; 0 without a header.
    int GetColumnCount() const {
        HWND hHeader = GetHeaderCtrl();
        return hHeader ? int(::SendMessageW(hHeader, HDM_GETITEMCOUNT, 0, 0)) : 0;
    }
    HWND GetHeaderCtrl() const { return HWND(SendMessage(LVM_GETHEADER)); }

    // The nMask bits of row nItem's state.
    UINT GetItemState(int nItem, UINT nMask) const { return UINT(SendMessage(LVM_GETITEMSTATE, WPARAM(nItem), nMask)); }
    // nItem -1: every row.
    BOOL SetItemState(int nItem, UINT nState, UINT nMask) const {
        LVITEMW item{};
        item.state = nState;
        item.stateMask = nMask;
        return BOOL(SendMessage(LVM_SETITEMSTATE, WPARAM(nItem), LPARAM(&item)));
    }
    BOOL DeleteItem(int nItem) const { return BOOL(SendMessage(LVM_DELETEITEM, WPARAM(nItem))); }
    BOOL DeleteAllItems() const { return BOOL(SendMessage(LVM_DELETEALLITEMS)); }
    // Scrolls row nItem into view, wholly unless bPartialOK.
    BOOL EnsureVisible(int nItem, BOOL bPartialOK) const {
        return BOOL(SendMessage(LVM_ENSUREVISIBLE, WPARAM(nItem), bPartialOK));
    }
    // Redraws rows nFirst to nLast when the control next paints.
    BOOL RedrawItems(int nFirst, int nLast) const { return BOOL(SendMessage(LVM_REDRAWITEMS, WPARAM(nFirst), nLast)); }

    // dwMask 0 applies dwStyle to every extended style bit.
    DWORD SetExtendedStyle(DWORD dwStyle, DWORD dwMask = 0) const {
        return DWORD(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, dwMask, dwStyle));
    }
};

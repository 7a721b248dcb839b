// CListCtrl: a thin view over a list-view control. Each method sends one
// message to the control's window; the control owns nothing of the caller's.
#pragma once

#include "framework/CWnd.h"

class CListCtrl : public CWnd {
public:
    int GetItemCount() const { return int(SendMessage(LVM_GETITEMCOUNT)); }
    // Tells the control how many rows are coming, so it allocates once.
    void SetItemCountHint(int nItems) const { SendMessage(LVM_SETITEMCOUNT, WPARAM(nItems)); }
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

    // The index of the new row, or -1.
    int InsertItem(const LVITEMW& item) const { return int(SendMessage(LVM_INSERTITEMW, 0, LPARAM(&item))); }
    BOOL SetItem(const LVITEMW& item) const { return BOOL(SendMessage(LVM_SETITEMW, 0, LPARAM(&item))); }
    BOOL SetItemText(int nItem, int nSubItem, const CString& text) const {
        LVITEMW item{};
        item.iSubItem = nSubItem;
        item.pszText = const_cast<LPWSTR>(text.GetString());
        return BOOL(SendMessage(LVM_SETITEMTEXTW, WPARAM(nItem), LPARAM(&item)));
    }
    CString GetItemText(int nItem, int nSubItem) const {
        // LVM_GETITEMTEXT gives no length: grow until the text fits.
        for (int size = 256;; size *= 2) {
            std::u16string buffer(size_t(size), u'\0');
            LVITEMW item{};
            item.iSubItem = nSubItem;
            item.cchTextMax = size;
            item.pszText = reinterpret_cast<LPWSTR>(buffer.data());
            int length = int(SendMessage(LVM_GETITEMTEXTW, WPARAM(nItem), LPARAM(&item)));
            if (length < size - 1 || size >= (1 << 24)) {
                buffer.resize(size_t(length > 0 ? length : 0));
                return CString(std::move(buffer));
            }
        }
    }
    LPARAM GetItemData(int nItem) const {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = nItem;
        return SendMessage(LVM_GETITEMW, 0, LPARAM(&item)) ? item.lParam : 0;
    }
    BOOL SetItemData(int nItem, LPARAM data) const {
        LVITEMW item{};
        item.mask = LVIF_PARAM;
        item.iItem = nItem;
        item.lParam = data;
        return SetItem(item);
    }
    BOOL SetItemState(int nItem, UINT nState, UINT nMask) const {
        LVITEMW item{};
        item.state = nState;
        item.stateMask = nMask;
        return BOOL(SendMessage(LVM_SETITEMSTATE, WPARAM(nItem), LPARAM(&item)));
    }
    BOOL DeleteItem(int nItem) const { return BOOL(SendMessage(LVM_DELETEITEM, WPARAM(nItem))); }
    BOOL DeleteAllItems() const { return BOOL(SendMessage(LVM_DELETEALLITEMS)); }

    // dwMask 0 applies dwStyle to every extended style bit.
    DWORD SetExtendedStyle(DWORD dwStyle, DWORD dwMask = 0) const {
        return DWORD(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, dwMask, dwStyle));
    }
    DWORD GetExtendedStyle() const { return DWORD(SendMessage(LVM_GETEXTENDEDLISTVIEWSTYLE)); }
    // Sorts the rows; pfnCompare receives two rows' item data and lParamSort.
    BOOL SortItems(PFNLVCOMPARE pfnCompare, LPARAM lParamSort) const {
        return BOOL(SendMessage(LVM_SORTITEMS, WPARAM(lParamSort), LPARAM(pfnCompare)));
    }
    // Stops (FALSE) or resumes (TRUE) painting; resuming repaints the list.
    void SetRedraw(BOOL bRedraw) const {
        SendMessage(WM_SETREDRAW, WPARAM(bRedraw));
        if (bRedraw)
            ::InvalidateRect(m_hWnd, nullptr, TRUE);
    }
};

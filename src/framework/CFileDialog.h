// CFileDialog: the system's Open or Save As dialog. The filter is written as
// "Description|Pattern|...||"; the chosen path is read after DoModal
// returned IDOK. GetOFN gives the caller the structure to adjust (a title,
// say) before DoModal.
#pragma once

#include "framework/CWnd.h"

#include <commdlg.h>

#include <string>
#include <vector>

class CFileDialog {
public:
    CFileDialog(BOOL bOpenFileDialog, LPCWSTR lpszDefExt = nullptr, LPCWSTR lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCWSTR lpszFilter = nullptr,
                CWnd* pParentWnd = nullptr)
        : m_bOpenFileDialog(bOpenFileDialog), m_file(32768, L'\0') {
        if (lpszDefExt && *lpszDefExt)
            m_strDefExt = lpszDefExt;
        if (lpszFileName)
            m_strFileName = lpszFileName;
        // The "|" separators become the NULs the dialog expects; the final
        // "||" becomes the double terminator.
        if (lpszFilter)
            m_filter = lpszFilter;
        for (wchar_t& ch : m_filter)
            if (ch == L'|')
                ch = L'\0';
        m_strFileName.copy(m_file.data(), m_file.size() - 1);

        m_ofn.lStructSize = sizeof m_ofn;
        m_ofn.hwndOwner = pParentWnd ? pParentWnd->GetSafeHwnd() : nullptr;
        m_ofn.lpstrFilter = m_filter.empty() ? nullptr : m_filter.c_str();
        m_ofn.nFilterIndex = 1;
        m_ofn.lpstrFile = m_file.data();
        m_ofn.nMaxFile = DWORD(m_file.size());
        m_ofn.lpstrDefExt = m_strDefExt.empty() ? nullptr : m_strDefExt.c_str();
        m_ofn.Flags = dwFlags;
    }
    CFileDialog(const CFileDialog&) = delete;
    CFileDialog& operator=(const CFileDialog&) = delete;

    OPENFILENAMEW& GetOFN() { return m_ofn; }

    // IDOK when the user chose a file, IDCANCEL otherwise (also when the
    // dialog could not be shown).
    INT_PTR DoModal() {
        BOOL bChosen = m_bOpenFileDialog ? ::GetOpenFileNameW(&m_ofn) : ::GetSaveFileNameW(&m_ofn);
        return bChosen ? IDOK : IDCANCEL;
    }
    CString GetPathName() const { return CString(m_file.data()); }

private:
    BOOL m_bOpenFileDialog;
    std::wstring m_strDefExt;
    std::wstring m_strFileName;
    std::wstring m_filter;
    std::vector<wchar_t> m_file;
    OPENFILENAMEW m_ofn = {};
};

// Helpers of the sheet tests under Wine: the saved file's form, message box
// answers and a pair typed into the current page.
#pragma once

#include "driver/SheetDriver.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>

// The file as Save writes it, from the pairs of the three sections used here.
inline std::string SavedFile(const std::string& aliases, const std::string& colors = "", const std::string& levels = "") {
    return "[Aliases]\r\n" + aliases + "\r\n[MappingCommands]\r\n\r\n[Colors]\r\n" + colors +
           "\r\n[LineStyles]\r\n\r\n[Cells]\r\n\r\n[Weights]\r\n\r\n[Levels]\r\n" + levels + "\r\n";
}

// Answers the sheet's message box with nButton; gives "caption|text", or
// "" when no box came.
inline std::wstring AnswerBox(HWND hSheet, int nButton) {
    driver::MessageBoxSeen box = driver::WaitForMessageBox(hSheet);
    if (box.hWnd)
        driver::Answer(box, nButton);
    return box.hWnd ? box.caption + L"|" + box.text : L"";
}

// Types a pair into the current page's edit boxes and presses Insert.
inline void InsertPair(HWND hSheet, const std::wstring& key, const std::wstring& value) {
    HWND hPage = driver::CurrentPage(hSheet);
    for (int id : {IDC_EDIT1, IDC_EDIT2})
        ::SendMessageW(::GetDlgItem(hPage, id), WM_SETTEXT, 0, LPARAM(L""));
    driver::Type(::GetDlgItem(hPage, IDC_EDIT1), key);
    driver::Type(::GetDlgItem(hPage, IDC_EDIT2), value);
    driver::Click(::GetDlgItem(hPage, IDC_INSERT));
    driver::Settle(hSheet);
}


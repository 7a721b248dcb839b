// A dialog test with a folder of its own: the real Varnel.dll, a fresh
// folder named after the test, the mapping file's path in it, and table
// files written beside it; and the saved file's form and message box answers.
#pragma once

#include "driver/SheetDriver.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using Rows = std::vector<std::pair<std::wstring, std::wstring>>;

// The file as Save writes it, from each section's pair lines.
inline std::string SavedFile(const std::string& aliases, const std::string& colors = "", const std::string& levels = "",
                             const std::string& lineStyles = "", const std::string& cells = "",
                             const std::string& weights = "") {
    return "[Aliases]\r\n" + aliases + "\r\n[MappingCommands]\r\n\r\n[Colors]\r\n" + colors + "\r\n[LineStyles]\r\n" +
           lineStyles + "\r\n[Cells]\r\n" + cells + "\r\n[Weights]\r\n" + weights + "\r\n[Levels]\r\n" + levels + "\r\n";
}

// Answers the sheet's message box with nButton; gives "caption|text", or
// "" when no box came.
inline std::wstring AnswerBox(HWND hSheet, int nButton) {
    driver::MessageBoxSeen box = driver::WaitForMessageBox(hSheet);
    if (box.hWnd)
        driver::Answer(box, nButton);
    return box.hWnd ? box.caption + L"|" + box.text : L"";
}

// Expects the sheet's message box with this text and system icon; closes it.
inline void ExpectMessage(HWND hSheet, const std::wstring& text, const wchar_t* icon) {
    auto box = driver::WaitForMessageBox(hSheet);
    ASSERT_TRUE(box.hWnd) << "no message box";
    EXPECT_EQ(box.caption + L"|" + box.text, L"Commands Mapping|" + text);
    EXPECT_EQ(box.hIcon, ::LoadIconW(nullptr, icon));
    driver::Answer(box, IDOK);
    driver::Settle(hSheet);
}

class FolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(library.IsLoaded());
        folder = MakeTempFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        path = folder + "\\commands.mapping";
    }
    void TearDown() override {
        // The Open dialog leaves the process in the folder it chose from.
        std::filesystem::current_path(std::filesystem::temp_directory_path());
        std::filesystem::remove_all(folder);
    }
    // Writes a table file into the test's folder and returns its path.
    std::string Table(const std::string& name, const std::string& content) {
        WriteFile(folder + "\\" + name, content);
        return folder + "\\" + name;
    }
    // Chooses File > Import > v7 or v8 and answers the Open dialog, which must
    // offer the command's filter, with table (Cancel when ""). A message box
    // the import shows afterwards is left standing.
    static void Import(HWND hSheet, UINT nCommand, const std::string& table) {
        ::PostMessageW(hSheet, WM_COMMAND, MAKEWPARAM(nCommand, 0), 0);
        EXPECT_EQ(driver::AnswerOpenDialog(hSheet, table),
                  nCommand == ID_IMPORT_V7 ? L"MicroStation v7 Files (TBL)" : L"MicroStation v8 Files (CSV)");
    }
    // A page's rows, sorted: the page decides their order.
    static Rows SortedRows(HWND hPage) {
        auto rows = driver::ListRows(::GetDlgItem(hPage, IDC_LIST));
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    VarnelLibrary library;
    std::string folder, path;
};

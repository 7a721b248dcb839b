// A dialog test with a folder of its own: the real Varnel.dll, a fresh
// folder named after the test, the mapping file's path in it, and table
// files written beside it.
#pragma once

#include "driver/SheetDriver.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

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
    static std::vector<std::pair<std::wstring, std::wstring>> SortedRows(HWND hPage) {
        auto rows = driver::ListRows(::GetDlgItem(hPage, IDC_LIST));
        std::sort(rows.begin(), rows.end());
        return rows;
    }

    VarnelLibrary library;
    std::string folder, path;
};

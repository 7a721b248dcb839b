// A pages test: the real dialog open on a mapping file the test writes, and
// the page and list of the tab it shows.
#pragma once

#include "driver/FolderTest.h"

#include <memory>

class OpenPageTest : public FolderTest {
protected:
    // Writes the mapping file and opens the dialog on it.
    void Open(const std::string& mapping) {
        WriteFile(path, mapping);
        run = std::make_unique<DialogRun>(library, path);
        hSheet = run->Open();
        ASSERT_TRUE(hSheet);
    }
    void TearDown() override {
        run.reset();  // cancels a dialog still open
        FolderTest::TearDown();
    }
    void Show(int tab) {
        hPage = driver::SelectTab(hSheet, tab);
        hList = ::GetDlgItem(hPage, IDC_LIST);
    }

    std::unique_ptr<DialogRun> run;
    HWND hSheet = nullptr, hPage = nullptr, hList = nullptr;
};

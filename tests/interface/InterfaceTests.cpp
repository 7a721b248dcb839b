// Varnel.dll as a host sees it: the five exports, their results, the
// default mapping file in the start directory, and repeated dialog runs.
#include "driver/SheetDriver.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

const char* const kExports[] = {"CreateVNInterface", "DeleteVNInterface", "FreeInterface", "LoadInterface",
                                "ShowVarnelDlg"};

std::string OnlyAliases(const std::string& pairs) {
    std::string file = "[Aliases]\r\n" + pairs + "\r\n";
    for (const char* name : {"MappingCommands", "Colors", "LineStyles", "Cells", "Weights", "Levels"})
        file += std::string("[") + name + "]\r\n\r\n";
    return file;
}

void SaveAndWait(DialogRun& run, HWND hSheet) {
    driver::Click(::GetDlgItem(hSheet, IDOK));
    ASSERT_TRUE(run.WaitClosed());
}

TEST(InterfaceTest, ExportsAndTheirResults) {
    VarnelLibrary library;
    ASSERT_TRUE(library.IsLoaded());
    for (int ordinal = 1; ordinal <= 5; ++ordinal)
        EXPECT_EQ(::GetProcAddress(library.m_hModule, MAKEINTRESOURCEA(ordinal)),
                  ::GetProcAddress(library.m_hModule, kExports[ordinal - 1]))
            << kExports[ordinal - 1];

    EXPECT_EQ(library.Load(nullptr, "x.mapping", nullptr), -1);
    EXPECT_EQ(library.Free(nullptr), -1);
    EXPECT_EQ(library.Show(nullptr), -1);
    library.Delete(nullptr);

    CVNInterface* iface = library.Create();
    ASSERT_TRUE(iface);
    EXPECT_EQ(library.Show(iface), -1);  // not loaded
    EXPECT_EQ(library.Load(iface, nullptr, nullptr), 0);
    EXPECT_EQ(library.Load(iface, "again.mapping", nullptr), 0);  // replaces the first
    EXPECT_EQ(library.Free(iface), 0);
    EXPECT_EQ(library.Free(iface), 0);
    EXPECT_EQ(library.Show(iface), -1);  // freed
    library.Delete(iface);
}

TEST(InterfaceTest, EmptyPathMeansCommandsMappingInTheStartDirectory) {
    char previous[MAX_PATH];
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    std::string start = MakeTempFolder("start");
    std::string later = MakeTempFolder("later");
    ::SetCurrentDirectoryA(start.c_str());
    {
        VarnelLibrary library;  // loaded here: the start directory
        ::SetCurrentDirectoryA(later.c_str());
        WriteFile(start + "\\commands.mapping", "[Aliases]\r\nLINE=PLACE LINE\r\n");
        DialogRun run(library, "");
        HWND hSheet = run.Open();
        ASSERT_TRUE(hSheet);
        SaveAndWait(run, hSheet);
    }
    ::SetCurrentDirectoryA(previous);
    EXPECT_EQ(ReadFile(start + "\\commands.mapping"), OnlyAliases("LINE = PLACE LINE\r\n"));
    EXPECT_EQ(::GetFileAttributesA((later + "\\commands.mapping").c_str()), INVALID_FILE_ATTRIBUTES);
    ::DeleteFileA((start + "\\commands.mapping").c_str());
    ::RemoveDirectoryA(start.c_str());
    ::RemoveDirectoryA(later.c_str());
}

TEST(InterfaceTest, EachShowReadsTheFileAgainUnlessItYieldsNothing) {
    VarnelLibrary library;
    std::string folder = MakeTempFolder("runs");
    std::string path = folder + "\\my.mapping";
    WriteFile(path, "[Aliases]\r\nA = 1\r\n");
    DialogRun run(library, path);

    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    driver::Click(::GetDlgItem(hSheet, IDCANCEL));
    ASSERT_TRUE(run.WaitClosed());

    // Changed outside: the next run shows the new content. A cancelled
    // insert stays in the tables of the interface...
    WriteFile(path, "[Aliases]\r\nB = 2\r\n");
    hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    HWND hPage = driver::CurrentPage(hSheet);
    driver::Type(::GetDlgItem(hPage, IDC_EDIT1), L"C");
    driver::Type(::GetDlgItem(hPage, IDC_EDIT2), L"3");
    driver::Click(::GetDlgItem(hPage, IDC_INSERT));
    driver::Settle(hSheet);
    driver::Click(::GetDlgItem(hSheet, IDCANCEL));
    auto box = driver::WaitForMessageBox(hSheet);
    ASSERT_TRUE(box.hWnd);
    driver::Answer(box, IDYES);
    ASSERT_TRUE(run.WaitClosed());
    EXPECT_EQ(ReadFile(path), "[Aliases]\r\nB = 2\r\n");

    // ...and comes back when the file is gone and so cannot replace them.
    ::DeleteFileA(path.c_str());
    hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    SaveAndWait(run, hSheet);
    EXPECT_EQ(run.ShowResult(), 0);
    EXPECT_EQ(ReadFile(path), OnlyAliases("B = 2\r\nC = 3\r\n"));
    ::DeleteFileA(path.c_str());
    ::RemoveDirectoryA(folder.c_str());
}

}  // namespace

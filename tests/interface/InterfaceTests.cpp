// Varnel.dll as a host sees it: the five exports, their results, the
// default mapping file in the start directory, and repeated dialog runs.
#include "driver/SheetDriver.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

// Opens the dialog and ends it with the button `id` (IDOK: Save).
void OpenAndPress(DialogRun& run, int id) {
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    driver::Click(::GetDlgItem(hSheet, id));
    ASSERT_TRUE(run.WaitClosed());
}

TEST(InterfaceTest, ExportsAndTheirResults) {
    VarnelLibrary library;
    ASSERT_TRUE(library.IsLoaded());
    HMODULE hDll = library.m_hModule;
    int ordinal = 0;  // the exports in ordinal order
    for (const char* name : {"CreateVNInterface", "DeleteVNInterface", "FreeInterface", "LoadInterface",
                             "ShowVarnelDlg"})
        EXPECT_EQ(::GetProcAddress(hDll, MAKEINTRESOURCEA(++ordinal)), ::GetProcAddress(hDll, name)) << name;
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
    const std::string start = MakeTempFolder("start"), later = MakeTempFolder("later"),
                      file = start + "\\commands.mapping";
    ::SetCurrentDirectoryA(start.c_str());
    VarnelLibrary library;  // loaded here: the start directory
    ::SetCurrentDirectoryA(later.c_str());
    WriteFile(file, "[Aliases]\r\nLINE=PLACE LINE\r\n");
    DialogRun run(library, "");
    OpenAndPress(run, IDOK);
    ::SetCurrentDirectoryA(previous);
    EXPECT_TRUE(ReadFile(file).starts_with("[Aliases]\r\nLINE = PLACE LINE\r\n\r\n[")) << ReadFile(file);
    EXPECT_EQ(::GetFileAttributesA((later + "\\commands.mapping").c_str()), INVALID_FILE_ATTRIBUTES);
    ::DeleteFileA(file.c_str());
    ::RemoveDirectoryA(start.c_str());
    ::RemoveDirectoryA(later.c_str());
}

TEST(InterfaceTest, EachShowReadsTheFileAgainUnlessItYieldsNothing) {
    VarnelLibrary library;
    const std::string folder = MakeTempFolder("runs"), path = folder + "\\my.mapping";
    WriteFile(path, "[Aliases]\r\nA = 1\r\n");
    DialogRun run(library, path);
    OpenAndPress(run, IDCANCEL);

    // Changed outside: the next run shows the new content. A cancelled
    // insert stays in the tables of the interface...
    WriteFile(path, "[Aliases]\r\nB = 2\r\n");
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    driver::InsertPair(hSheet, L"C", L"3");
    ASSERT_NE(run.Cancel(IDYES), L"");
    ASSERT_FALSE(run.IsOpen());

    // ...and comes back when the file is gone and so cannot replace them.
    ::DeleteFileA(path.c_str());
    OpenAndPress(run, IDOK);
    EXPECT_TRUE(ReadFile(path).starts_with("[Aliases]\r\nB = 2\r\nC = 3\r\n\r\n[")) << ReadFile(path);
    ::DeleteFileA(path.c_str());
    ::RemoveDirectoryA(folder.c_str());
}

}  // namespace

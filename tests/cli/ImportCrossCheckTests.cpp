// varnel import against the dialog: the same tables imported into copies
// of one mapping file, once through the real Varnel.dll's File > Import and
// Save under Wine, once by varnel.exe, give the same bytes, and the
// dialog's warnings say what varnel's report lines say.
#include "VarnelProcess.h"
#include "framework/CString.h"
#include "driver/SheetDriver.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

const char kMappingFile[] = "[Aliases]\r\nLINE = PLACE LINE\r\n[Colors]\r\n1 = 7\r\n3 = 7\r\n[Levels]\r\nWalls = OLD\r\n"
                            "walls = lower\r\n";
const char kRemap[] = "%section,Levels\r\nLevel,Color,DWGOutputLayer\r\n Walls ,3, A-WALL \r\nD\xE9p\xF4t,,A-DEPOT\r\n"
                      "x,1,acme\r\nx,1,acme2\r\n"
                      "%section,Colors\r\nDWGOutputColor,Color\r\nac12,3\r\nca,5\r\n"
                      "%section,Weights\r\nWeight,DWGOutputWeight\r\n2,0.25\r\n"
                      "%section,LineStyles\r\nLineStyle,DWGOutputLineStyle\r\n{ Dash },DASHED\r\n"
                      "%section,CellNames\r\nCellName,V7OutputCellName\r\ndoor,acad\r\n"
                      "%section,Fonts\r\nFont,DWGOutputFont\r\n1,Arial\r\n";
const char kVersion7[] = "LAYER_A 7 x y z extra\n  LAYER_B\t8\n";

TEST(ImportCrossCheck, CommandLineImportSavesWhatTheDialogSaves) {
    VarnelLibrary library;
    ASSERT_TRUE(library.IsLoaded());
    WorkFolder work("crosscheck");
    const fs::path dialogFile = work.Path() / "dialog.mapping";
    WriteFile(dialogFile, kMappingFile);
    WriteFile(work.Path() / "tool.mapping", kMappingFile);
    WriteFile(work.Path() / "remap.csv", kRemap);
    WriteFile(work.Path() / "dwglevel.tbl", kVersion7);

    // What the dialog's warning after each import says, "" for none.
    std::vector<std::wstring> warnings;
    {
        DialogRun run(library, dialogFile.string());
        HWND hSheet = run.Open();
        ASSERT_TRUE(hSheet);
        const std::pair<UINT, fs::path> imports[] = {{ID_IMPORT_V8, work.Path() / "remap.csv"},
                                                     {ID_IMPORT_V7, work.Path() / "dwglevel.tbl"}};
        for (const auto& [command, table] : imports) {
            ::PostMessageW(hSheet, WM_COMMAND, MAKEWPARAM(command, 0), 0);
            EXPECT_FALSE(driver::AnswerOpenDialog(hSheet, table.string()).empty());
            const driver::MessageBoxSeen box = driver::WaitForMessageBox(hSheet, 500);
            warnings.push_back(box.hWnd ? box.text : L"");
            if (box.hWnd)
                driver::Answer(box, IDOK);
            driver::Settle(hSheet);
        }
        ASSERT_TRUE(run.Save());
    }

    const ProcessResult result = RunVarnel(work.Path(), "import -m tool.mapping remap.csv dwglevel.tbl");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(ReadFile(work.Path() / "tool.mapping"), ReadFile(dialogFile));
    EXPECT_NE(ReadFile(dialogFile), kMappingFile);
    // varnel's lines, "FILE:LINE: text", are the warnings' paragraphs.
    std::wstring said[2];
    std::istringstream lines(result.err);
    for (std::string line; std::getline(lines, line);) {
        const size_t table = line.starts_with("remap.csv:") ? 0 : 1;
        const std::u16string text = CString::FromUtf8(line.substr(line.find(": ") + 2)).Str();
        said[table] += (said[table].empty() ? L"" : L"\n\n") + std::wstring(text.begin(), text.end());
    }
    EXPECT_NE(said[0], L"");  // the qualifier column Color, and values AutoCAD will not take
    EXPECT_EQ(warnings, (std::vector<std::wstring>{said[0], said[1]}));
}

}  // namespace

// An office in its own language, under Wine with the locale of that office
// (OFFICE_CODE_PAGE: 1251 Cyrillic, 932 Japanese): driven through the real
// Varnel.dll like a user, the mapping file and the MicroStation tables are
// text in the system's ANSI code page.
#include "driver/FolderTest.h"

namespace {

// Texts of the office and their bytes in its code page.
struct Text {
    std::wstring chars;
    std::string bytes;
};

struct Office {
    Text fileKey, fileValue;    // a pair the mapping file holds
    Text typedKey, typedValue;  // a pair the user types
    Text v7Key, v7Value;        // from a version 7 Levels table
    Text v8Key, v8Value;        // from a version 8 remap file
};

#if OFFICE_CODE_PAGE == 1251
const Office kOffice = {
    {L"\u0421\u0442\u0435\u043d\u0430", "\xD1\xF2\xE5\xED\xE0"},                          // Стена
    {L"\u0421\u043b\u043e\u0439-1", "\xD1\xEB\xEE\xE9-1"},                                // Слой-1
    {L"\u0414\u0432\u0435\u0440\u044c", "\xC4\xE2\xE5\xF0\xFC"},                          // Дверь
    {L"\u0421\u043b\u043e\u0439-2", "\xD1\xEB\xEE\xE9-2"},                                // Слой-2
    {L"\u041e\u043a\u043d\u043e", "\xCE\xEA\xED\xEE"},                                    // Окно
    {L"\u0421\u043b\u043e\u0439-3", "\xD1\xEB\xEE\xE9-3"},                                // Слой-3
    {L"\u041f\u043e\u043b", "\xCF\xEE\xEB"},                                              // Пол
    {L"\u0421\u043b\u043e\u0439-4", "\xD1\xEB\xEE\xE9-4"},                                // Слой-4
};
#else
// Second bytes "\", "[" and "]" in every text: ソ 83 5C, 表 95 5C, ゼ 83 5B, ゾ 83 5D.
const Office kOffice = {
    {L"\u58c1\u30bd", "\x95\xC7\x83\\"},                   // 壁ソ
    {L"[\u8868]-\u30be", "[\x95\\]-\x83]"},                // [表]-ゾ
    {L"\u6249\u30bc", "\x94\xE0\x83["},                    // 扉ゼ
    {L"\u5c64-\u30be", "\x91w-\x83]"},                     // 層-ゾ
    {L"\u7a93\u8868", "\x91\x8B\x95\\"},                   // 窓表
    {L"\u30bc\u30be", "\x83[\x83]"},                       // ゼゾ
    {L"[\u5e8a\u30bd", "[\x8F\xB0\x83\\"},                 // [床ソ
    {L"\u30bd\u30be", "\x83\\\x83]"},                      // ソゾ: "[床ソ = ソゾ" ends in the byte "]"
};
#endif

std::string Line(const Text& key, const Text& value) { return key.bytes + " = " + value.bytes + "\r\n"; }

// The four pairs in the writer's order (keys by UTF-16 code unit), as rows
// and as the Levels lines of the saved file.
std::vector<std::pair<Text, Text>> AllPairs() {
    std::vector<std::pair<Text, Text>> pairs{{kOffice.fileKey, kOffice.fileValue},
                                             {kOffice.typedKey, kOffice.typedValue},
                                             {kOffice.v7Key, kOffice.v7Value},
                                             {kOffice.v8Key, kOffice.v8Value}};
    std::sort(pairs.begin(), pairs.end(), [](const auto& a, const auto& b) { return a.first.chars < b.first.chars; });
    return pairs;
}
std::string AllLevelLines() {
    std::string levels;
    for (const auto& [key, value] : AllPairs())
        levels += Line(key, value);
    return levels;
}

class OfficeCodePageTest : public FolderTest {
protected:
    void SetUp() override {
        ASSERT_EQ(::GetACP(), unsigned(OFFICE_CODE_PAGE)) << "the locale of the office is missing (tools/bootstrap)";
        FolderTest::SetUp();
        WriteFile(path, SavedFile("", "", Line(kOffice.fileKey, kOffice.fileValue)));
    }
};

TEST_F(OfficeCodePageTest, FileShownTypedAndImportedTextSavedInTheCodePage) {
    const std::string v7 = Table("dwglevel.tbl", kOffice.v7Value.bytes + " " + kOffice.v7Key.bytes + "\r\n");
    const std::string v8 = Table("remap.csv", "%section,Levels\r\nLevel,DWGOutputLayer\r\n" + kOffice.v8Key.bytes +
                                                  "," + kOffice.v8Value.bytes + "\r\n");
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    HWND hLevels = driver::SelectTab(hSheet, 3);
    EXPECT_EQ(SortedRows(hLevels), (Rows{{kOffice.fileKey.chars, kOffice.fileValue.chars}}));

    driver::InsertPair(hSheet, kOffice.typedKey.chars, kOffice.typedValue.chars);
    for (auto [command, table] : {std::pair(ID_IMPORT_V7, v7), std::pair(ID_IMPORT_V8, v8)}) {
        Import(hSheet, command, table);
        driver::ExpectNoMessage(hSheet);
    }
    Rows rows;
    for (const auto& [key, value] : AllPairs())
        rows.emplace_back(key.chars, value.chars);
    EXPECT_EQ(SortedRows(hLevels), rows);
    ASSERT_TRUE(run.Save());
    EXPECT_EQ(ReadFile(path), SavedFile("", "", AllLevelLines()));
}

TEST_F(OfficeCodePageTest, FileReadAndSavedUnchangedIsTheSameBytes) {
    const std::string levels = AllLevelLines();
    WriteFile(path, SavedFile("", "", levels));
    DialogRun run(library, path);
    ASSERT_TRUE(run.Open());
    ASSERT_TRUE(run.Save());
    EXPECT_EQ(ReadFile(path), SavedFile("", "", levels));
}

TEST_F(OfficeCodePageTest, CharacterOutsideTheCodePageIsRefusedAndNothingIsSaved) {
    const std::string before = ReadFile(path);
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    driver::SelectTab(hSheet, 3);
    // "ç" is neither Cyrillic nor Japanese.
    driver::InsertPair(hSheet, kOffice.typedKey.chars, L"Gla\u00e7on");
    driver::Click(::GetDlgItem(hSheet, IDOK));
    driver::MessageBoxSeen box = driver::WaitForMessageBox(hSheet);
    ASSERT_TRUE(box.hWnd);
    EXPECT_EQ(box.caption, L"Commands Mapping");
    for (const std::wstring& part : {std::wstring(L"Nothing was saved"), std::wstring(L"Layers / Levels"),
                                     L"\"" + kOffice.typedKey.chars + L"\"", std::wstring(L"\"\u00e7\" (U+00E7)")})
        EXPECT_NE(box.text.find(part), std::wstring::npos) << part.size();
    driver::Answer(box, IDOK);
    driver::Settle(hSheet);
    EXPECT_TRUE(run.IsOpen());
    EXPECT_EQ(ReadFile(path), before);
    // The edit is still there: without it the same Save works.
    driver::InsertPair(hSheet, kOffice.typedKey.chars, kOffice.typedValue.chars);
    ASSERT_TRUE(run.Save());
    EXPECT_NE(ReadFile(path).find(Line(kOffice.typedKey, kOffice.typedValue)), std::string::npos);
}

}  // namespace

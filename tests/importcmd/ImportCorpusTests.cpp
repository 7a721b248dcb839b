// The corpus of tables the way offices have them (tests/import/corpus)
// through the real dialog under Wine, in the office's code page
// (OFFICE_CODE_PAGE, which Wine takes from LC_ALL): each case, in a few of
// its forms, imported with File > Import into a new mapping file and saved,
// gives its expected tables, and the import's warning says the lines of
// its expected report, a blank line between, as varnel prints them.
#include "SevenTables.h"
#include "TableCorpus.h"
#include "driver/FolderTest.h"

namespace {

std::wstring Wide(const std::string& utf8) {
    const std::u16string text = CString::FromUtf8(utf8).Str();
    return std::wstring(text.begin(), text.end());
}

const std::vector<corpus::Case>& Cases() {
    static const std::vector<corpus::Case> cases = corpus::Cases(VARNEL_TABLE_CORPUS);
    return cases;
}

// One case of the corpus, by its number.
class ImportCorpusTest : public FolderTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(ImportCorpusTest, ImportsAsExpectedInEveryForm) {
    ASSERT_EQ(::GetACP(), unsigned(OFFICE_CODE_PAGE)) << "the locale of the office is missing (tools/bootstrap)";
    const corpus::Case& test = Cases()[GetParam()];
    if (!test.RunsIn(OFFICE_CODE_PAGE))
        GTEST_SKIP() << "a table of another office";
    const corpus::Expected expected = test.ExpectedIn(OFFICE_CODE_PAGE);
    std::string warning;
    for (const auto& [line, text] : expected.report)
        warning += (warning.empty() ? "" : "\n\n") + text;
    for (const corpus::Form& form : corpus::SomeForms(GetParam(), 2)) {
        SCOPED_TRACE(form.Name());
        std::string bytes;
        if (!test.Bytes(form, OFFICE_CODE_PAGE, bytes))
            continue;
        const std::string table = Table(test.FileName(form), bytes);
        std::filesystem::remove(path);
        DialogRun run(library, path);
        HWND hSheet = run.Open();
        ASSERT_TRUE(hSheet);
        Import(hSheet, test.Kind() == 0 ? ID_IMPORT_V8 : ID_IMPORT_V7, table);
        if (warning.empty())
            driver::ExpectNoMessage(hSheet);
        else
            ExpectMessage(hSheet, Wide(warning), IDI_WARNING);
        ASSERT_TRUE(run.Save());
        EXPECT_EQ(Tables::Parse(ReadFile(path)).Listed(), expected.listing);
    }
}

INSTANTIATE_TEST_SUITE_P(Corpus, ImportCorpusTest, ::testing::Range(size_t(0), Cases().size()),
                         [](const auto& info) {
                             std::string name = Cases()[info.param].name;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace

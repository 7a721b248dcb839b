// varnel import of the corpus of office tables (tests/import/corpus): each
// case and form into a fresh mapping file gives the expected tables and the
// import's report lines, "FILE:LINE: text", as the dialog's warning says
// them. Natively every form in the three code pages; under Wine a few forms
// a case, which together read every form.
#include "SevenTables.h"
#include "TableCorpus.h"
#include "VarnelProcess.h"

#include "store/platform/CodePage.h"

#include <gtest/gtest.h>

// By the office's code page.
class CorpusImport : public ::testing::TestWithParam<unsigned> {};

TEST_P(CorpusImport, EveryCaseGivesItsTablesAndReport) {
    const unsigned codePage = GetParam();
    const std::vector<corpus::Case> cases = corpus::Cases(VARNEL_TABLE_CORPUS);
    ASSERT_FALSE(cases.empty());
    WorkFolder work("corpus");
    // A version 7 table's kind is in its name, behind a folder.
    fs::create_directories(work.Path() / "tables");
    ASSERT_TRUE(CodePage::Select(codePage));
    for (size_t n = 0; n < cases.size(); ++n) {
        const corpus::Case& test = cases[n];
        if (!test.RunsIn(codePage))
            continue;
        const corpus::Expected expected = test.ExpectedIn(codePage);
#ifdef _WIN32
        const std::vector<corpus::Form> forms = corpus::SomeForms(n, 2);
#else
        const std::vector<corpus::Form> forms = corpus::AllForms();
#endif
        for (const corpus::Form& form : forms) {
            SCOPED_TRACE(test.name + ", " + form.Name());
            std::string bytes;
            if (!test.Bytes(form, codePage, bytes))
                continue;
            const std::string table = "tables/" + test.FileName(form);
            WriteFile(work.Path() / table, bytes);
            fs::remove(work.Path() / "out.mapping");
            const ProcessResult result = RunVarnel(
                work.Path(), "-q --code-page " + std::to_string(codePage) + " import -m out.mapping " + table);
            EXPECT_EQ(result.status, 0) << result.err;
            std::string report;
            for (const auto& [line, text] : expected.report)
                report += table + ":" + std::to_string(line) + ": " + text + "\n";
            EXPECT_EQ(result.err, report);
            EXPECT_EQ(Tables::Parse(ReadFile(work.Path() / "out.mapping")).Listed(), expected.listing);
        }
    }
    CodePage::Select(0);
}

INSTANTIATE_TEST_SUITE_P(CodePages, CorpusImport, ::testing::ValuesIn(corpus::kCodePages));

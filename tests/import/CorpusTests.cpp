// The corpus of tables the way offices have them (TableCorpus.h) through
// the reader's one road and the import's report: every case, in every form
// and in each office's code page, gives its expected tables and report
// lines, and what the plain reading of the rules gives.
#include "ImportTestHelpers.h"
#include "PlainTableReading.h"
#include "SevenTables.h"
#include "TableCorpus.h"

#include "import/CSVReader.h"
#include "import/ImportReport.h"
#include "store/platform/CodePage.h"

#include <gtest/gtest.h>

namespace {

struct Imported {
    std::string listing;
    std::vector<std::pair<uint32_t, std::string>> report;
};

Imported Import(const std::string& bytes, int kind) {
    RemapTable table = ReadRemapBytes(bytes, kind);
    Imported imported;
    for (const ImportReportLine& line : ImportReport(table))
        imported.report.emplace_back(line.line, line.text.ToUtf8());
    Tables tables;
    for (size_t page = 0; page < tables.table.size(); ++page)
        tables.table[page].Merge(std::move(table.pairs[page]));
    imported.listing = tables.Listed();
    return imported;
}

std::string Listed(const plain::Reading& reading) {
    std::string listed;
    for (int page = 0; page < MappingKindCount; ++page)
        for (const auto& [key, value] : reading.pages[page])
            listed += SectionKey(MappingKind(page)).ToUtf8() + ":" + Utf8(key) + "=" + Utf8(value) + "\n";
    return listed;
}

}  // namespace

TEST(TableCorpus, EveryFormGivesTheExpectedTablesAndReport) {
    const std::vector<corpus::Case> cases = corpus::Cases(VARNEL_TABLE_CORPUS);
    ASSERT_GE(cases.size(), 10u);
    for (unsigned codePage : corpus::kCodePages) {
        ASSERT_TRUE(CodePage::Select(codePage));
        for (const corpus::Case& test : cases) {
            if (!test.RunsIn(codePage))
                continue;
            const corpus::Expected expected = test.ExpectedIn(codePage);
            for (const corpus::Form& form : corpus::AllForms()) {
                SCOPED_TRACE(test.name + ", " + form.Name() + ", code page " + std::to_string(codePage));
                std::string bytes;
                if (!test.Bytes(form, codePage, bytes))
                    continue;  // a text the code page cannot hold comes marked
                const Imported imported = Import(bytes, test.Kind());
                EXPECT_EQ(imported.listing, expected.listing);
                EXPECT_EQ(imported.report, expected.report);
                EXPECT_EQ(Listed(plain::ReadBytes(bytes, test.Kind())), expected.listing);
            }
        }
    }
    CodePage::Select(0);
}

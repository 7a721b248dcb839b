// varnel run as a user runs it, one golden case per folder of cases/: the
// files of in/ are copied into a fresh working folder, the command line of
// "command" runs there, and the exit status, standard output, standard
// error and the files of out/ must match byte for byte (a missing stdout,
// stderr or out/ is not compared). Natively and, for varnel.exe, under Wine.
#include "VarnelProcess.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

const fs::path kCases = VARNEL_CLI_CASES;

std::vector<std::string> CaseNames() {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(kCases))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class GoldenCase : public ::testing::TestWithParam<std::string> {};

TEST_P(GoldenCase, MatchesItsGoldenFiles) {
    const fs::path golden = kCases / GetParam();
    WorkFolder work(GetParam());
    if (fs::exists(golden / "in"))
        for (const auto& entry : fs::directory_iterator(golden / "in"))
            fs::copy_file(entry.path(), work.Path() / entry.path().filename());

    std::string command = ReadFile(golden / "command");
    command.erase(command.find_last_not_of("\r\n") + 1);
    const ProcessResult result = RunVarnel(work.Path(), command);

    EXPECT_EQ(result.status, std::stoi(ReadFile(golden / "status")));
    if (fs::exists(golden / "stdout")) {
        EXPECT_EQ(result.out, ReadFile(golden / "stdout"));
    }
    if (fs::exists(golden / "stderr")) {
        EXPECT_EQ(result.err, ReadFile(golden / "stderr"));
    }
    if (fs::exists(golden / "out")) {
        for (const auto& entry : fs::directory_iterator(golden / "out"))
            EXPECT_EQ(ReadFile(work.Path() / entry.path().filename()), ReadFile(entry.path()))
                << entry.path().filename();
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, GoldenCase, ::testing::ValuesIn(CaseNames()),
                         [](const auto& info) {
                             std::string name = info.param;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

// Nothing the import reads is half-saved: a table refused after a good one
// leaves no file behind where none was.
TEST(CommandLine, RefusedImportCreatesNoMappingFile) {
    WorkFolder work("refused");
    WriteFile(work.Path() / "dwglevel.tbl", "LAYER_A 7\n");
    const ProcessResult result = RunVarnel(work.Path(), "import dwglevel.tbl dwgfont.tbl");
    EXPECT_EQ(result.status, 1);
    EXPECT_FALSE(fs::exists(work.Path() / "commands.mapping"));
    EXPECT_EQ(std::distance(fs::directory_iterator(work.Path()), {}), 1);
}

// Without --code-page the files are in code page 1252 natively and in the
// system's ANSI code page on Windows (CTest runs this once more under Wine
// with a Russian locale, code page 1251).
TEST(CommandLine, FilesAreInTheSystemCodePageByDefault) {
    WorkFolder work("codepage");
    WriteFile(work.Path() / "old.mapping", "[Levels]\r\n\xC4\xE2\xE5\xF0\xFC = A\r\n");
    WriteFile(work.Path() / "new.mapping", "[Levels]\r\n\xC4\xE2\xE5\xF0\xFC = B\r\n");
    const ProcessResult result = RunVarnel(work.Path(), "diff old.mapping new.mapping");
#ifdef _WIN32
    const bool cyrillic = ::GetACP() == 1251;
#else
    const bool cyrillic = false;
#endif
    EXPECT_EQ(result.out, std::string("[Levels]\n~ ") + (cyrillic ? "\u0414\u0432\u0435\u0440\u044C" : "\u00C4\u00E2\u00E5\u00F0\u00FC") +
                              ": A -> B\n");
}

}  // namespace

// Two programs on one machine save their own mapping files at the same
// moment, sharing one TEMP folder and so one backup name: every save of
// both must succeed and leave each file exactly as its program wrote it.
// The second program is this test executable started again in the role of
// the other saver.
#include "StoreTestSupport.h"

#include "support/ChildProcess.h"

#include <chrono>
#include <thread>

namespace {

constexpr int kSaves = 300;
constexpr const char* kRoleVariable = "VARNEL_OTHER_SAVER";  // the folder the other saver works in

// Saves a file of its own kSaves times, each time with one pair changed,
// and checks that every save succeeded and the file holds the last one.
void SaveRepeatedly(const fs::path& mappingPath, const char* who) {
    Tables tables;
    for (int i = 0; i < 2000; ++i)  // large enough that copying it for the backup takes a while
        tables[KindLevels].SetPair(CString::FromLatin1("Level " + std::to_string(i)),
                                   CString::FromLatin1(std::string(who) + "-LAYER"));
    CVNTextFile file(u"mapping", u"\n");
    for (int i = 0; i < kSaves; ++i) {
        tables[KindAliases].SetPair(u"save", CString::FromLatin1(std::to_string(i)));
        CString path = PathText(mappingPath);
        const SaveResult result = MappingFile::Save(file, path, tables.View());
        ASSERT_EQ(result.fault, SaveFault::None) << who << " save " << i << " failed (system code "
                                                 << result.nSystemCode << "): " << file.m_strError.ToUtf8();
    }
    EXPECT_EQ(ReadFile(mappingPath), tables.Written());
}

}  // namespace

TEST_F(StoreTest, TwoProgramsSavingAtOnceBothSucceed) {
    fs::create_directories(m_folder / "other");
    WriteFile(Path("commands.mapping"), "[Aliases]\r\nfirst = file\r\n");
    WriteFile(m_folder / "other" / "commands.mapping", "[Aliases]\r\nsecond = file\r\n");
    ChildProcess other("ConcurrentSave.OtherSaverRole", {{kRoleVariable, (m_folder / "other").string()}});
    ASSERT_TRUE(other.Started());
    // Both start saving together: the other saver says when it is ready.
    for (int waited = 0; waited < 3000 && !fs::exists(m_folder / "other" / "ready"); ++waited)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    SaveRepeatedly(Path("commands.mapping"), "first");
    EXPECT_EQ(other.Wait(60000), 0) << "the other saver:\n" << other.Output();
    EXPECT_FALSE(fs::exists(BackupPath()));
}

// Runs only as the other saver started by the test above.
TEST(ConcurrentSave, OtherSaverRole) {
    const char* folder = std::getenv(kRoleVariable);
    if (!folder || !*folder)
        GTEST_SKIP() << "runs only as the other saver of TwoProgramsSavingAtOnceBothSucceed";
    WriteFile(fs::path(folder) / "ready", "");
    SaveRepeatedly(fs::path(folder) / "commands.mapping", "second");
}

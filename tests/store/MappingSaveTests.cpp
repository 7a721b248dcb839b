#include "StoreTestSupport.h"

#include "store/FileSystem.h"

namespace {

const std::string kOldFile = "[Aliases]\r\nold = file\r\n";

class MappingSaveTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        m_tables[KindLevels].SetPair(u"1", u"Walls");
        WriteFile(Path("commands.mapping"), kOldFile);
    }
    void TearDown() override {
        FileSystem::FailWritesAfter(-1);
        StoreTest::TearDown();
    }
    // A relative path lies in the test's folder.
    BOOL Save(const fs::path& path = "commands.mapping") {
        return MappingFile::Write(&m_file, PathText(m_folder / path), m_tables.View());
    }
    // The file at the mapping path, and nothing else beside the TEMP folder.
    void ExpectOnly(const std::string& content) {
        EXPECT_EQ(ReadFile(Path("commands.mapping")), content);
        EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()), 2);
        EXPECT_FALSE(fs::exists(BackupPath()));
    }

    Tables m_tables;
    CVNTextFile m_file{u"mapping", u"\n"};
};

}  // namespace

TEST_F(StoreTest, BackupPathFollowsTempWithOneSeparator) {
    const std::pair<std::optional<CString>, const char16_t*> cases[] = {
        {CString(u"  C:\\Temp  "), u"C:\\Temp\\"}, {CString(u"C:\\Temp\\"), u"C:\\Temp\\"},
        {CString(u"/var/tmp/"), u"/var/tmp/"}, {std::nullopt, u"\\"}};
    for (const auto& [temp, folder] : cases) {
        SetTemp(temp);
        EXPECT_EQ(MappingFile::GetBackupPath(), CString(folder) + u"_bakcommands.mapping");
    }
}

TEST_F(MappingSaveTest, SavesAndCleansUpWhateverTheBackupMeets) {
    WriteFile(BackupPath(), "stale");  // from an earlier run
    ASSERT_TRUE(Save()) << m_file.m_strError.ToUtf8();
    ExpectOnly(m_tables.Written());
    fs::remove(Path("commands.mapping"));  // no old file
    ASSERT_TRUE(Save());
    ExpectOnly(m_tables.Written());

    fs::create_directory(BackupPath());  // cannot be replaced: left alone
    ASSERT_TRUE(Save());
    EXPECT_TRUE(fs::is_directory(BackupPath()));
    fs::remove(BackupPath());

    SetTemp(PathText(Path("no such folder")));
    ASSERT_TRUE(Save());
    ExpectOnly(m_tables.Written());

    // The mapping file is the backup itself: it must not be removed.
    SetTemp(PathText(Path("temp")));
    WriteFile(BackupPath(), kOldFile);
    ASSERT_TRUE(Save(BackupPath()));
    EXPECT_EQ(ReadFile(BackupPath()), m_tables.Written());
}

TEST_F(MappingSaveTest, BackupOnAnotherDrive) {
    // Under Wine the TEMP folder is on C: and files often on Z:; natively a
    // memory file system plays the other drive.
#ifdef _WIN32
    fs::path folder = "Z:\\tmp";
#else
    fs::path folder = "/dev/shm";
#endif
    std::error_code error;
    if (!fs::is_directory(folder, error))
        GTEST_SKIP() << "no second drive";
    folder /= m_folder.filename();
    fs::create_directories(folder);
    WriteFile(folder / "commands.mapping", kOldFile);
    EXPECT_TRUE(Save(folder / "commands.mapping")) << m_file.m_strError.ToUtf8();
    EXPECT_EQ(ReadFile(folder / "commands.mapping"), m_tables.Written());
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    EXPECT_FALSE(fs::exists(BackupPath()));
    fs::remove_all(folder, error);
}

TEST_F(MappingSaveTest, FailedSaveKeepsTheOldFileOrNoneAndSaysWhy) {
    FileSystem::FailWritesAfter(20);  // the disk fills up halfway
    EXPECT_FALSE(Save());
    EXPECT_FALSE(m_file.m_strError.IsEmpty());
    ExpectOnly(kOldFile);
    FileSystem::FailWritesAfter(-1);

    m_tables[KindCells].SetPair(u"door", CString(u"\u0394"));  // not in code page 1252
    EXPECT_FALSE(Save());
    EXPECT_EQ(m_file.m_unencodable.kind, KindCells);
    EXPECT_EQ(m_file.m_unencodable.key, CString(u"door"));
    EXPECT_EQ(m_file.m_unencodable.ch, U'\u0394');
    EXPECT_NE(m_file.m_strError.Find(u"U+0394"), -1);
    ExpectOnly(kOldFile);
    m_tables[KindCells].ClearPairs();

    EXPECT_FALSE(Save("missing/commands.mapping"));
    EXPECT_NE(m_file.m_strError.Find(u"missing"), -1);

    fs::remove(Path("commands.mapping"));
    FileSystem::FailWritesAfter(0);  // a first save that fails leaves no file
    EXPECT_FALSE(Save());
    EXPECT_FALSE(fs::exists(Path("commands.mapping")));
    FileSystem::FailWritesAfter(-1);

    fs::create_directory(Path("commands.mapping"));  // a folder in the way
    EXPECT_FALSE(Save());
    EXPECT_TRUE(fs::is_directory(Path("commands.mapping")));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()), 2);
    fs::remove(Path("commands.mapping"));
    EXPECT_TRUE(Save());
    EXPECT_TRUE(m_file.m_strError.IsEmpty());
}

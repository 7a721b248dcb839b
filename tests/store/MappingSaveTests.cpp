#include "StoreTestSupport.h"

#include "store/FileSystem.h"

namespace {

const std::string kOldFile = "[Aliases]\r\nold = file\r\n";

class MappingSaveTest : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        m_tables[KindLevels].SetPair(u"1", u"Walls");
        m_path = PathText(Path("commands.mapping"));
    }
    void TearDown() override {
        FileSystem::FailWritesAfter(-1);
        StoreTest::TearDown();
    }
    BOOL Save() { return MappingFile::Write(&m_file, m_path, m_tables.View()); }
    BOOL SaveTo(const fs::path& path) { return MappingFile::Write(&m_file, PathText(path), m_tables.View()); }
    std::string NewFile() { return Written(); }
    std::string Written() {
        CStringArray lines;
        MappingFile::BuildLines(lines, m_tables.View());
        std::string bytes;
        m_file.EncodeLines(lines, bytes);
        return bytes;
    }
    // Nothing but the mapping file and the TEMP folder may remain.
    void ExpectNoLeftovers(const fs::path& folder) {
        for (const auto& entry : fs::directory_iterator(folder))
            EXPECT_TRUE(entry.path().filename() == "commands.mapping" || entry.path().filename() == "temp")
                << entry.path().string();
        EXPECT_FALSE(fs::exists(BackupPath()));
    }

    Tables m_tables;
    CVNTextFile m_file{u"mapping", u"\n"};
    CString m_path;
};

}  // namespace

TEST(BackupPath, FollowsTempWithOneSeparator) {
    std::optional<CString> old;
    if (const char* value = std::getenv("TEMP"))
        old = CString::FromUtf8(value);
    SetTemp(CString(u"  C:\\Temp  "));
    EXPECT_EQ(MappingFile::GetBackupPath(), CString(u"C:\\Temp\\_bakcommands.mapping"));
    SetTemp(CString(u"C:\\Temp\\"));
    EXPECT_EQ(MappingFile::GetBackupPath(), CString(u"C:\\Temp\\_bakcommands.mapping"));
    SetTemp(CString(u"/var/tmp/"));
    EXPECT_EQ(MappingFile::GetBackupPath(), CString(u"/var/tmp/_bakcommands.mapping"));
    SetTemp(std::nullopt);
    EXPECT_EQ(MappingFile::GetBackupPath(), CString(u"\\_bakcommands.mapping"));
    SetTemp(old);
}

TEST_F(MappingSaveTest, SavesOverAnOldFileAndCleansUp) {
    WriteBytes(Path("commands.mapping"), kOldFile);
    ASSERT_TRUE(Save()) << m_file.m_strError.ToUtf8();
    EXPECT_EQ(ReadBytes(Path("commands.mapping")), NewFile());
    ExpectNoLeftovers(m_folder);

    // A first save, with no file there yet.
    fs::remove(Path("commands.mapping"));
    ASSERT_TRUE(Save());
    EXPECT_EQ(ReadBytes(Path("commands.mapping")), NewFile());
    ExpectNoLeftovers(m_folder);
}

TEST_F(MappingSaveTest, BackupTroubleDoesNotStopTheSave) {
    WriteBytes(Path("commands.mapping"), kOldFile);
    // A stale backup from an earlier run is in the way.
    WriteBytes(BackupPath(), "stale");
    ASSERT_TRUE(Save()) << m_file.m_strError.ToUtf8();
    EXPECT_EQ(ReadBytes(Path("commands.mapping")), NewFile());
    EXPECT_FALSE(fs::exists(BackupPath()));

    // A backup that cannot be replaced at all: left alone.
    fs::create_directory(BackupPath());
    ASSERT_TRUE(Save());
    EXPECT_TRUE(fs::is_directory(BackupPath()));
    fs::remove(BackupPath());

    // TEMP names a folder that does not exist.
    SetTemp(PathText(Path("no such folder")));
    ASSERT_TRUE(Save());
    EXPECT_EQ(ReadBytes(Path("commands.mapping")), NewFile());

    // The mapping file is the backup itself: it must not be removed.
    SetTemp(PathText(Path("temp")));
    fs::path inTemp = BackupPath();
    WriteBytes(inTemp, kOldFile);
    ASSERT_TRUE(SaveTo(inTemp));
    EXPECT_EQ(ReadBytes(inTemp), NewFile());
}

TEST_F(MappingSaveTest, BackupOnAnotherDrive) {
    // Under Wine the TEMP folder is on C: while files often live on Z:; a
    // memory file system plays the other drive natively.
#ifdef _WIN32
    fs::path other = "Z:\\tmp";
#else
    fs::path other = "/dev/shm";
#endif
    std::error_code error;
    if (!fs::is_directory(other, error))
        GTEST_SKIP() << "no second drive";
    fs::path folder = other / ("varnel-store-" + std::to_string(std::random_device()()));
    fs::create_directories(folder);
    WriteBytes(folder / "commands.mapping", kOldFile);
    EXPECT_TRUE(SaveTo(folder / "commands.mapping")) << m_file.m_strError.ToUtf8();
    EXPECT_EQ(ReadBytes(folder / "commands.mapping"), NewFile());
    EXPECT_FALSE(fs::exists(BackupPath()));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    fs::remove_all(folder, error);
}

TEST_F(MappingSaveTest, FailedSaveKeepsTheOldFileAndSaysWhy) {
    WriteBytes(Path("commands.mapping"), kOldFile);

    // The disk fills up halfway through the new content.
    FileSystem::FailWritesAfter(20);
    EXPECT_FALSE(Save());
    FileSystem::FailWritesAfter(-1);
    EXPECT_FALSE(m_file.m_strError.IsEmpty());
    EXPECT_EQ(ReadBytes(Path("commands.mapping")), kOldFile);
    ExpectNoLeftovers(m_folder);

    // A character the 8-bit file cannot hold.
    m_tables[KindCells].SetPair(u"door", CString(u"\u0394"));
    EXPECT_FALSE(Save());
    EXPECT_NE(m_file.m_strError.Find(u"916"), -1);
    EXPECT_EQ(ReadBytes(Path("commands.mapping")), kOldFile);
    m_tables[KindCells].ClearPairs();

    // A success after a failure reports no error.
    EXPECT_TRUE(Save());
    EXPECT_TRUE(m_file.m_strError.IsEmpty());
    EXPECT_FALSE(MappingFile::Write(nullptr, m_path, m_tables.View()));
}

TEST_F(MappingSaveTest, UnwritableTargetFails) {
    // A folder where the file should be.
    fs::create_directory(Path("commands.mapping"));
    EXPECT_FALSE(Save());
    EXPECT_FALSE(m_file.m_strError.IsEmpty());
    EXPECT_TRUE(fs::is_directory(Path("commands.mapping")));
    ExpectNoLeftovers(m_folder);

    // A folder that does not exist.
    EXPECT_FALSE(SaveTo(Path("missing") / "commands.mapping"));
    EXPECT_NE(m_file.m_strError.Find(u"missing"), -1);

    // A first save that fails midway leaves no file behind.
    fs::remove(Path("commands.mapping"));
    FileSystem::FailWritesAfter(0);
    EXPECT_FALSE(Save());
    EXPECT_FALSE(fs::exists(Path("commands.mapping")));
}

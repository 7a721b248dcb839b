#include "StoreTestSupport.h"

#include "store/platform/FileSystem.h"

#include <functional>

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

// The encoding fault is checked with the code pages.
TEST_F(MappingSaveTest, EachFaultHasItsKindAndLeavesTheOldFileAlone) {
    using FileSystem::FileError;
    using FileSystem::Step;
    struct Case {
        const char* what;
        std::function<void()> apply;
        SaveFault fault;
        fs::path target = "commands.mapping";
    };
    const std::string longName(300, 'x');
    const Case cases[] = {
        {"the folder allows no new file", [] { FileSystem::FailNext(Step::Create, FileError::AccessDenied); },
         SaveFault::FolderDenied},
        {"the disk fills up", [] { FileSystem::FailWritesAfter(20); }, SaveFault::DiskFull},
        {"the file may not be replaced", [] { FileSystem::FailNext(Step::Replace, FileError::AccessDenied); },
         SaveFault::AccessDenied},
        {"another program holds it", [] { FileSystem::FailNext(Step::Replace, FileError::InUse); },
         SaveFault::InUse},
        {"read-only", [&] { fs::permissions(Path("commands.mapping"), fs::perms::owner_read); },
         SaveFault::ReadOnly},
        {"a folder", [&] { fs::create_directory(Path("folder")); }, SaveFault::IsFolder, "folder"},
        {"a missing folder", {}, SaveFault::FolderMissing, "missing/commands.mapping"},
        {"too long a name", {}, SaveFault::PathTooLong, longName},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.apply)
            c.apply();
        CString path = PathText(m_folder / c.target);
        SaveResult result = MappingFile::Save(m_file, path, m_tables.View());
        EXPECT_EQ(result.fault, c.fault);
        fs::permissions(Path("commands.mapping"), fs::perms::owner_all);
        FileSystem::FailWritesAfter(-1);
        m_tables[KindCells].ClearPairs();
        fs::remove(Path("folder"));
        ExpectOnly(kOldFile);
    }
    // A first save that fails leaves no file.
    fs::remove(Path("commands.mapping"));
    FileSystem::FailWritesAfter(0);
    EXPECT_FALSE(Save());
    EXPECT_FALSE(fs::exists(Path("commands.mapping")));
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()), 1);
}

TEST_F(MappingSaveTest, TheStampOfTheReadCatchesAnotherEditorsSave) {
    CString path = PathText(Path("commands.mapping"));
    Tables read;
    FileSystem::FileStamp stamp;
    ASSERT_TRUE(MappingFile::Read(&m_file, path, read.View(), &stamp));
    EXPECT_EQ(MappingFile::Save(m_file, path, m_tables.View(), &stamp).fault, SaveFault::None);  // unchanged

    ASSERT_TRUE(MappingFile::Read(&m_file, path, read.View(), &stamp));
    const std::string theirs = kOldFile + "later = save\r\n";
    WriteFile(Path("commands.mapping"), theirs);
    EXPECT_EQ(MappingFile::Save(m_file, path, m_tables.View(), &stamp).fault, SaveFault::ChangedSinceRead);
    EXPECT_EQ(ReadFile(Path("commands.mapping")), theirs);
    SaveResult result = MappingFile::Save(m_file, path, m_tables.View());  // overwrite on purpose
    EXPECT_EQ(result.fault, SaveFault::None);
    EXPECT_EQ(result.stamp, FileSystem::GetStamp(path));

    // A file that could not be read, or did not exist, counts as changed
    // once it is there; one removed since is simply saved.
    fs::remove(Path("commands.mapping"));
    EXPECT_FALSE(MappingFile::Read(&m_file, path, read.View(), &stamp));
    EXPECT_EQ(MappingFile::Save(m_file, path, m_tables.View(), &stamp).fault, SaveFault::None);
    EXPECT_FALSE(MappingFile::Read(&m_file, PathText(Path("none")), read.View(), &stamp));
    EXPECT_EQ(MappingFile::Save(m_file, path, m_tables.View(), &stamp).fault, SaveFault::ChangedSinceRead);
    ExpectOnly(m_tables.Written());
}

// A file of many pairs is encoded a megabyte at a time as it is written:
// the bytes land in file order, and a disk that fills up midway leaves the
// old file as it was and nothing else behind.
TEST_F(MappingSaveTest, ALargeFileLandsInOrderOrNotAtAll) {
    for (int i = 0; i < 150000; ++i)
        m_tables[i % 3 ? KindLevels : KindCells].SetPair(CString::FromLatin1("K" + std::to_string(i)),
                                                         CString::FromLatin1("value " + std::to_string(i)));
    CString path = PathText(Path("commands.mapping"));
    FileSystem::FailWritesAfter(1 << 20);
    EXPECT_EQ(MappingFile::Save(m_file, path, m_tables.View()).fault, SaveFault::DiskFull);
    FileSystem::FailWritesAfter(-1);
    ExpectOnly(kOldFile);

    ASSERT_EQ(MappingFile::Save(m_file, path, m_tables.View()).fault, SaveFault::None);
    CStringArray lines;
    MappingFile::BuildLines(lines, m_tables.View());
    std::string expected;
    for (int i = 0; i < lines.GetSize(); ++i)
        expected += lines.GetAt(i).ToUtf8() + "\r\n";
    EXPECT_EQ(ReadFile(Path("commands.mapping")), expected);
}

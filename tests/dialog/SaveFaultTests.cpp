// Saves that cannot be done, through the real dialog of the real Varnel.dll
// under Wine: each ends with a message box that names the mapping file, the
// old file stays byte for byte, the dialog stays open with the edits, and
// nothing is left beside the file or in TEMP. Faults that Wine running with
// full rights cannot show (a folder that allows no new file, a full disk)
// come from the system calls below the library's file seam: the test
// replaces the library's own imports of CreateFileW and WriteFile.
#include "driver/FolderTest.h"

#include <filesystem>
#include <functional>
#include <optional>

namespace {

namespace fs = std::filesystem;

const std::string kOldFile = "[Aliases]\r\nold = file\r\n";
const std::string kSavedFile = SavedFile("ARC = PLACE ARC\r\nold = file\r\n");
const std::wstring kNothingLost = L"\n\nThe file is as it was, and your changes are still here.";

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

// Points a module's import of the named function at replacement for the
// patch's life.
class ImportPatch {
public:
    ImportPatch(HMODULE hModule, const char* name, void* replacement) {
        auto* base = reinterpret_cast<BYTE*>(hModule);
        auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
        DWORD rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
        for (auto* dll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + rva); dll->Name && !m_pSlot; ++dll) {
            auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
            auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->FirstThunk);
            for (; names->u1.AddressOfData && !m_pSlot; ++names, ++slots)
                if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal) &&
                    strcmp(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name, name) == 0)
                    m_pSlot = &slots->u1.Function;
        }
        if (m_pSlot)
            m_previous = Swap(ULONG_PTR(replacement));
    }
    ~ImportPatch() {
        if (m_pSlot)
            Swap(m_previous);
    }
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

private:
    ULONG_PTR Swap(ULONG_PTR value) {
        DWORD protect = 0;
        ::VirtualProtect(m_pSlot, sizeof value, PAGE_READWRITE, &protect);
        ULONG_PTR old = std::exchange(*m_pSlot, value);
        ::VirtualProtect(m_pSlot, sizeof value, protect, &protect);
        return old;
    }
    ULONG_PTR* m_pSlot = nullptr;
    ULONG_PTR m_previous = 0;
};

// A folder that allows no new file: creating one is refused.
HANDLE WINAPI RefuseNewFiles(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                             DWORD disposition, DWORD flags, HANDLE hTemplate) {
    if (disposition == CREATE_NEW || disposition == CREATE_ALWAYS) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return ::CreateFileW(name, access, share, security, disposition, flags, hTemplate);
}

// A disk that fills up: the first bytes of a write go, then it fails.
BOOL WINAPI WriteUntilFull(HANDLE hFile, LPCVOID data, DWORD size, LPDWORD pWritten, LPOVERLAPPED pOverlapped) {
    ::WriteFile(hFile, data, size < 64 ? size : 64, pWritten, pOverlapped);
    ::SetLastError(ERROR_DISK_FULL);
    return FALSE;
}

class SaveFaultTest : public FolderTest {
protected:
    void SetUp() override {
        FolderTest::SetUp();
        maps = folder + "\\maps";
        temp = folder + "\\temp";
        path = maps + "\\commands.mapping";
        fs::create_directories(maps);
        fs::create_directories(temp);
        WriteFile(path, kOldFile);
        SetTemp(temp);
    }
    void TearDown() override {
        SetTemp(m_oldTemp);
        ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        FolderTest::TearDown();
    }

    static std::optional<std::string> GetTemp() {
        char value[MAX_PATH];
        return ::GetEnvironmentVariableA("TEMP", value, MAX_PATH) ? std::optional<std::string>(value) : std::nullopt;
    }
    static void SetTemp(const std::optional<std::string>& value) {
        ::SetEnvironmentVariableA("TEMP", value ? value->c_str() : nullptr);
    }

    // What the mapping folder and TEMP hold beside the mapping file.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> names;
        for (const std::string& folder : {maps, temp})
            for (const auto& entry : fs::directory_iterator(folder))
                if (entry.path().string() != path)
                    names.push_back(entry.path().string());
        if (::GetFileAttributesA("\\_bakcommands.mapping") != INVALID_FILE_ATTRIBUTES)
            names.push_back("\\_bakcommands.mapping");
        return names;
    }

    // Opens the dialog on target, inserts a pair, puts the fault in place
    // and presses Save: a box names target and gives the reason, and nothing
    // changed. With lift, the fault is lifted and Save then writes the
    // edits, which the dialog kept.
    void ExpectRefused(const std::string& target, const std::wstring& reason, std::function<void()> apply = {},
                       std::function<void()> lift = {}) {
        SCOPED_TRACE(target);
        DialogRun run(library, target);
        HWND hSheet = run.Open();
        ASSERT_TRUE(hSheet);
        driver::InsertPair(hSheet, L"ARC", L"PLACE ARC");
        if (apply)
            apply();
        driver::Click(::GetDlgItem(hSheet, IDOK));
        ExpectMessage(hSheet, L"Cannot save " + Wide(target) + L":\n" + reason + kNothingLost, IDI_EXCLAMATION);
        EXPECT_TRUE(run.IsOpen());
        EXPECT_EQ(ReadFile(path), kOldFile);
        EXPECT_EQ(Leftovers(), std::vector<std::string>());
        if (!lift)
            return;
        lift();
        driver::Click(::GetDlgItem(hSheet, IDOK));
        ASSERT_TRUE(run.WaitClosed());
        EXPECT_EQ(ReadFile(target), kSavedFile);
        EXPECT_EQ(Leftovers(), std::vector<std::string>());
        WriteFile(path, kOldFile);
    }

    std::string maps, temp;
    std::optional<std::string> m_oldTemp = GetTemp();
};

TEST_F(SaveFaultTest, RefusedSavesNameTheFileKeepItAndLeaveNothingBehind) {
    HANDLE hHeld = INVALID_HANDLE_VALUE;
    ExpectRefused(
        path, L"another program has this file open. Close it there and save again.",
        [&] { hHeld = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, 0, nullptr); },
        [&] { ::CloseHandle(hHeld); });

    ExpectRefused(
        path, L"the file is read-only. Clear its read-only attribute and save again.",
        [&] { ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY); },
        [&] { ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL); });

    std::optional<ImportPatch> fault;
    ExpectRefused(
        path, L"its folder does not allow a new file to be created.",
        [&] { fault.emplace(library.m_hModule, "CreateFileW", reinterpret_cast<void*>(&RefuseNewFiles)); },
        [&] { fault.reset(); });

    ExpectRefused(
        path, L"the disk is full.",
        [&] { fault.emplace(library.m_hModule, "WriteFile", reinterpret_cast<void*>(&WriteUntilFull)); },
        [&] { fault.reset(); });
}

TEST_F(SaveFaultTest, PathsThatCannotHoldTheFile) {
    ExpectRefused(maps, L"this path names a folder, not a file.");
    EXPECT_TRUE(fs::is_directory(maps));
    ExpectRefused(maps + "\\" + std::string(260, 'x') + ".mapping", L"the path is longer than Windows allows.");
    ExpectRefused(maps + "\\not-yet\\commands.mapping", L"its folder does not exist.");
}

TEST_F(SaveFaultTest, SavesWhateverTempIs) {
    WriteFile(folder + "\\a-file", "");
    const std::pair<const char*, std::optional<std::string>> temps[] = {
        {"unset", std::nullopt}, {"a missing folder", folder + "\\missing"}, {"a file", folder + "\\a-file"},
        {"a stale backup in the way", temp}};
    for (const auto& [what, value] : temps) {
        SCOPED_TRACE(what);
        WriteFile(temp + "\\_bakcommands.mapping", "stale");
        if (value != temp)
            fs::remove(temp + "\\_bakcommands.mapping");
        SetTemp(value);
        DialogRun run(library, path);
        HWND hSheet = run.Open();
        ASSERT_TRUE(hSheet);
        driver::InsertPair(hSheet, L"ARC", L"PLACE ARC");
        EXPECT_TRUE(run.Save());
        EXPECT_EQ(ReadFile(path), kSavedFile);
        EXPECT_EQ(Leftovers(), std::vector<std::string>());
        WriteFile(path, kOldFile);
    }
}

// A file another program held locked when the dialog opened was not read:
// Save says so, not that someone saved it, and replaces it only on Yes.
TEST_F(SaveFaultTest, AFileLockedAtOpeningIsReplacedOnlyWhenTheUserSaysYes) {
    HANDLE hHeld = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(hHeld, INVALID_HANDLE_VALUE);
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ::CloseHandle(hHeld);
    ASSERT_TRUE(hSheet);
    driver::InsertPair(hSheet, L"ARC", L"PLACE ARC");
    const std::wstring question = L"Commands Mapping|" + Wide(path) +
                                  L" could not be read when this window opened (another program may have held it "
                                  L"locked), so the pairs it holds are not in this window.\n"
                                  L"Do you want to replace it with your version?";
    driver::Click(::GetDlgItem(hSheet, IDOK));
    EXPECT_EQ(AnswerBox(hSheet, IDNO), question);
    driver::Settle(hSheet);
    EXPECT_TRUE(run.IsOpen());
    EXPECT_EQ(ReadFile(path), kOldFile);

    driver::Click(::GetDlgItem(hSheet, IDOK));
    EXPECT_EQ(AnswerBox(hSheet, IDYES), question);
    ASSERT_TRUE(run.WaitClosed());
    EXPECT_EQ(ReadFile(path), SavedFile("ARC = PLACE ARC\r\n"));
    EXPECT_EQ(Leftovers(), std::vector<std::string>());
}

TEST_F(SaveFaultTest, AnotherEditorsSaveIsReplacedOnlyWhenTheUserSaysYes) {
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    driver::InsertPair(hSheet, L"ARC", L"PLACE ARC");
    const std::string theirs = "[Aliases]\r\ntheirs = saved later\r\n";
    WriteFile(path, theirs);  // another administrator saves meanwhile
    const std::wstring question = L"Commands Mapping|" + Wide(path) +
                                  L" was saved by someone else after this window read it.\n"
                                  L"Do you want to replace it with your version?";
    driver::Click(::GetDlgItem(hSheet, IDOK));
    EXPECT_EQ(AnswerBox(hSheet, IDNO), question);
    driver::Settle(hSheet);
    EXPECT_TRUE(run.IsOpen());
    EXPECT_EQ(ReadFile(path), theirs);
    EXPECT_EQ(Leftovers(), std::vector<std::string>());

    driver::Click(::GetDlgItem(hSheet, IDOK));
    EXPECT_EQ(AnswerBox(hSheet, IDYES), question);
    ASSERT_TRUE(run.WaitClosed());
    EXPECT_EQ(ReadFile(path), kSavedFile);
    EXPECT_EQ(Leftovers(), std::vector<std::string>());
}

}  // namespace

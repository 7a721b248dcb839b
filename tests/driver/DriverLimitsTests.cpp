// The driver's limits: a test never waits forever on the dialog. A window
// left open fails the test with its text; a save that shows a message fails
// with it; a test executable that makes no progress ends itself.
#include "driver/FolderTest.h"
#include "support/ChildProcess.h"

#include <gtest/gtest-spi.h>

#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

const char kFile[] = "[Aliases]\r\nLINE = PLACE LINE\r\n";

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

TEST_F(FolderTest, AMessageBoxLeftOpenFailsTheTestQuicklyWithItsText) {
    WriteFile(path, kFile);
    std::optional<DialogRun> run(std::in_place, library, path);
    HWND hSheet = run->Open();
    ASSERT_TRUE(hSheet);
    driver::InsertPair(hSheet, L"ARC", L"PLACE ARC");
    driver::Click(::GetDlgItem(hSheet, IDCANCEL));  // asks, and the test never answers
    ASSERT_TRUE(driver::WaitForMessageBox(hSheet).hWnd);

    const Clock::time_point start = Clock::now();
    ::testing::TestPartResultArray failures;
    {
        ::testing::ScopedFakeTestPartResultReporter intercept(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &failures);
        run.reset();
    }
    EXPECT_LT(SecondsSince(start), 10);
    ASSERT_EQ(failures.size(), 1);
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, "\"Commands Mapping\": Your changes will be lost. Do you wish to continue?",
                        failures.GetTestPartResult(0).message());
    EXPECT_EQ(ReadFile(path), kFile);  // answered No, then cancelled: nothing written
}

TEST_F(FolderTest, ASaveThatShowsAMessageFailsWithIt) {
    WriteFile(path, kFile);
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    DialogRun run(library, path);
    HWND hSheet = run.Open();
    ASSERT_TRUE(hSheet);
    driver::InsertPair(hSheet, L"ARC", L"PLACE ARC");
    const Clock::time_point start = Clock::now();
    const ::testing::AssertionResult saved = run.Save();
    EXPECT_LT(SecondsSince(start), 10);
    EXPECT_FALSE(saved);
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, "Save showed \"Commands Mapping\": Cannot save " + path, saved.message());
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, "the file is read-only", saved.message());
    EXPECT_TRUE(run.IsOpen());  // the refused save keeps the dialog; the driver cancels it
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Runs only as the stuck process of the test below.
TEST(DriverLimits, StuckRole) {
    if (!std::getenv("VARNEL_STUCK_ROLE"))
        GTEST_SKIP() << "runs only as the stuck process of WatchdogEndsAStuckExecutable";
    ::Sleep(120000);
}

TEST(DriverLimits, WatchdogEndsAStuckExecutable) {
    ChildProcess stuck("DriverLimits.StuckRole", {{"VARNEL_STUCK_ROLE", "1"}, {"VARNEL_TEST_STALL_SECONDS", "2"}});
    ASSERT_TRUE(stuck.Started());
    EXPECT_EQ(stuck.Wait(30000), 3);
    EXPECT_PRED_FORMAT2(::testing::IsSubstring, "WATCHDOG: no progress for 2 s in DriverLimits.StuckRole; ending this",
                        stuck.Output());
}

}  // namespace

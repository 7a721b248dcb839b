// Helpers of the store tests: a private folder per test with TEMP pointing
// into it.
#pragma once

#include "SevenTables.h"
#include "driver/WholeFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <random>
#include <string>

namespace fs = std::filesystem;

inline CString PathText(const fs::path& path) { return CString(path.u16string()); }

// Sets TEMP, or removes it.
inline void SetTemp(const std::optional<CString>& value) {
#ifdef _WIN32
    _wputenv_s(L"TEMP", value ? value->GetString() : L"");
#else
    value ? setenv("TEMP", value->ToUtf8().c_str(), 1) : unsetenv("TEMP");
#endif
}

inline std::optional<CString> GetTemp() {
    const char* value = std::getenv("TEMP");
    return value ? std::optional<CString>(CString::FromUtf8(value)) : std::nullopt;
}

class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = fs::temp_directory_path() / ("varnel-store-" + std::to_string(std::random_device()()));
        fs::create_directories(m_folder / "temp");
        SetTemp(PathText(m_folder / "temp") + u"\\");
    }
    void TearDown() override {
        SetTemp(m_oldTemp);
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }
    fs::path Path(const char* name) const { return m_folder / name; }
    fs::path BackupPath() const { return m_folder / "temp" / "_bakcommands.mapping"; }

    fs::path m_folder;
    std::optional<CString> m_oldTemp = GetTemp();
};

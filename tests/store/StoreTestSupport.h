// Helpers of the store tests: a private folder per test with TEMP pointing
// into it, whole-file bytes, and seven tables.
#pragma once

#include "store/MappingFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>

namespace fs = std::filesystem;

inline CString PathText(const fs::path& path) { return CString(path.u16string()); }

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

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
        static const fs::path base = fs::temp_directory_path();
        m_folder = base / ("varnel-store-" + std::to_string(std::random_device()()));
        fs::create_directories(m_folder / "temp");
        m_oldTemp = GetTemp();
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
    std::optional<CString> m_oldTemp;
};

struct Tables {
    std::array<MappingTable, MappingKindCount> table;
    MappingTables View() {
        MappingTables view;
        for (size_t i = 0; i < table.size(); ++i)
            view[i] = &table[i];
        return view;
    }
    MappingTable& operator[](MappingKind kind) { return table[size_t(kind)]; }
    bool operator==(const Tables& other) const {
        auto samePair = [](const auto& x, const auto& y) { return x.first == y.first && x.second == y.second; };
        for (size_t i = 0; i < table.size(); ++i)
            if (!std::equal(table[i].begin(), table[i].end(), other.table[i].begin(), other.table[i].end(), samePair))
                return false;
        return true;
    }
};

// The file's bytes as the writer produces them for the tables.
inline std::string Written(Tables& tables) {
    CStringArray lines;
    MappingFile::BuildLines(lines, tables.View());
    std::string bytes;
    EXPECT_TRUE(CVNTextFile(u"mapping", u"\n").EncodeLines(lines, bytes));
    return bytes;
}

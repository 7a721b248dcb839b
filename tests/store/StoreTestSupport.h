// Helpers of the store tests: a private folder per test, whole-file bytes,
// and the TEMP variable the save sequence reads.
#pragma once

#include "framework/CString.h"
#include "store/MappingFile.h"
#include "store/MappingTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>

namespace fs = std::filesystem;

inline CString PathText(const fs::path& path) {
    return CString(path.u16string());
}

inline void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Sets TEMP, or removes it when value is empty.
inline void SetTemp(const std::optional<CString>& value) {
#ifdef _WIN32
    _wputenv_s(L"TEMP", value ? value->GetString() : L"");
#else
    if (value)
        setenv("TEMP", value->ToUtf8().c_str(), 1);
    else
        unsetenv("TEMP");
#endif
}

// A fresh folder under the system's temporary folder, removed afterwards.
// TEMP points into it (at "temp/") for the test's duration.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        static const fs::path base = fs::temp_directory_path();
        static int counter = 0;
        std::random_device random;
        m_folder = base / ("varnel-store-" + std::to_string(random()) + "-" + std::to_string(++counter));
        fs::create_directories(m_folder / "temp");
        if (const char* old = std::getenv("TEMP"))
            m_oldTemp = CString::FromUtf8(old);
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

// Seven tables with the view MappingFile takes.
struct Tables {
    std::array<MappingTable, MappingKindCount> table;
    MappingTables View() {
        MappingTables view;
        for (size_t i = 0; i < table.size(); ++i)
            view[i] = &table[i];
        return view;
    }
    MappingTable& operator[](MappingKind kind) { return table[size_t(kind)]; }
};

inline bool SameTables(const Tables& a, const Tables& b) {
    auto samePair = [](const auto& x, const auto& y) { return x.first == y.first && x.second == y.second; };
    for (size_t i = 0; i < a.table.size(); ++i)
        if (!std::equal(a.table[i].begin(), a.table[i].end(), b.table[i].begin(), b.table[i].end(), samePair))
            return false;
    return true;
}

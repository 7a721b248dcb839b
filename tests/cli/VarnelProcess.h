// Runs the varnel executable (VARNEL_EXE) in a folder with a command line,
// as a shell would, and collects its exit status and both output streams.
#pragma once

#include "driver/WholeFile.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace fs = std::filesystem;

struct ProcessResult {
    int status = -1;
    std::string out;
    std::string err;
};

// A fresh folder under TEMP, removed again at the end of the test.
class WorkFolder {
public:
    explicit WorkFolder(const std::string& name)
        : m_root(fs::temp_directory_path() / ("varnel-cli-" + name + "-" + std::to_string(std::random_device()()))) {
        fs::create_directories(m_root / "work");
    }
    ~WorkFolder() {
        std::error_code ignored;
        fs::current_path(fs::temp_directory_path(), ignored);
        fs::remove_all(m_root, ignored);
    }
    fs::path Path() const { return m_root / "work"; }
    fs::path Root() const { return m_root; }

private:
    fs::path m_root;
};

// The executable's path as the shell takes it; under Wine a Unix path is
// on drive Z:.
inline std::string VarnelExecutable() {
    std::string path = VARNEL_EXE;
#ifdef _WIN32
    if (!path.empty() && path[0] == '/') {
        path = "Z:" + path;
        std::replace(path.begin(), path.end(), '/', '\\');
    }
#endif
    return path;
}

// Runs "varnel arguments" with folder as the current folder; the output
// streams are caught in files beside it.
inline ProcessResult RunVarnel(const fs::path& folder, const std::string& arguments) {
    const fs::path out = folder.parent_path() / "stdout.txt";
    const fs::path err = folder.parent_path() / "stderr.txt";
    std::string command = "\"" + VarnelExecutable() + "\" " + arguments + " >\"" + out.string() + "\" 2>\"" +
                          err.string() + "\"";
    fs::current_path(folder);
    ProcessResult result;
#ifdef _WIN32
    // cmd /c drops the outer quotes of the whole line.
    result.status = std::system(("\"" + command + "\"").c_str());
#else
    const int raw = std::system(command.c_str());
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
    fs::current_path(folder.parent_path());
    result.out = ReadFile(out);
    result.err = ReadFile(err);
    return result;
}

// The corpus of MicroStation tables the way offices have them
// (tests/import/corpus), shared by the reader's tests, varnel's and the
// dialog's. Each case is a folder with one table, kept as UTF-8 with LF
// line ends, and what importing it into empty tables gives: the file
// "expected", or "expected.<code page>" where the office's code page
// changes it, holds one "Section:key=value" line per pair the pages then
// hold (in the mapping file's order) and one "! LINE: text" line per line
// of the import's report. A case's "code-pages" file, when it has one,
// lists the code pages it runs in; others run in all three.
//
// Each table is read in every form offices bring: line ends CR LF, CR CR
// LF, LF, CR LF without one after the last line, and CR LF with a Ctrl-Z
// after the last line and rows behind it that must not be read; text in
// the code page, in UTF-8 behind its mark, and in UTF-16 behind its mark.
#pragma once

#include "framework/CString.h"
#include "import/TableFileName.h"
#include "store/platform/TextCodec.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace corpus {

namespace fs = std::filesystem;

inline constexpr unsigned kCodePages[] = {1252, 1251, 932};

enum class LineEnds { CrLf, CrCrLf, Lf, NoLastLineEnd, CtrlZ };
enum class Encoding { Ansi, Utf8, Utf16 };

struct Form {
    LineEnds ends;
    Encoding encoding;

    std::string Name() const {
        // No kind's word of a version 7 table's name ("line", say) in them.
        static const char* const ends[] = {"crlf", "crcrlf", "lf", "unended", "ctrl-z"};
        static const char* const encodings[] = {"ansi", "utf8", "utf16"};
        return std::string(ends[int(this->ends)]) + "-" + encodings[int(encoding)];
    }
};

inline std::vector<Form> AllForms() {
    std::vector<Form> forms;
    for (Encoding encoding : {Encoding::Ansi, Encoding::Utf8, Encoding::Utf16})
        for (LineEnds ends : {LineEnds::CrLf, LineEnds::CrCrLf, LineEnds::Lf, LineEnds::NoLastLineEnd, LineEnds::CtrlZ})
            forms.push_back({ends, encoding});
    return forms;
}

// count forms for the case numbered n: taken in turn from all fifteen, so
// that a few cases together read every form.
inline std::vector<Form> SomeForms(size_t n, size_t count) {
    const std::vector<Form> all = AllForms();
    std::vector<Form> forms;
    for (size_t i = 0; i < count; ++i)
        forms.push_back(all[(n * 7 + i * 4) % all.size()]);
    return forms;
}

inline std::string ReadWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

struct Expected {
    std::string listing;                                   // "Section:key=value\n" per pair
    std::vector<std::pair<uint32_t, std::string>> report;  // line, text (UTF-8)
};

struct Case {
    std::string name;
    std::string tableName;  // "remap.csv", "dwglevel.tbl"
    std::string text;       // UTF-8, LF
    fs::path folder;

    // 0 (read by its content) for a version 8 table, else the version 7
    // kind its name gives.
    int Kind() const {
        return tableName.ends_with(".csv") ? 0 : RemapKindFromName(CString::FromUtf8(tableName));
    }
    // "remap-crcrlf-utf8.csv": the name with the form, the kind kept.
    std::string FileName(const Form& form) const {
        const size_t dot = tableName.rfind('.');
        return tableName.substr(0, dot) + "-" + form.Name() + tableName.substr(dot);
    }
    bool RunsIn(unsigned codePage) const {
        const std::string list = ReadWhole(folder / "code-pages");
        return list.empty() || list.find(std::to_string(codePage)) != std::string::npos;
    }

    // The table's bytes in the form, its code page codePage for Ansi; false
    // when that code page cannot hold the text.
    bool Bytes(const Form& form, unsigned codePage, std::string& bytes) const {
        std::string lines;
        const char* lineEnd = form.ends == LineEnds::Lf ? "\n" : form.ends == LineEnds::CrCrLf ? "\r\r\n" : "\r\n";
        for (char ch : text)
            lines += ch == '\n' ? std::string(lineEnd) : std::string(1, ch);
        if (form.ends == LineEnds::NoLastLineEnd)
            lines.resize(lines.size() - 2);
        if (form.ends == LineEnds::CtrlZ)  // what follows is not read
            lines += "\x1A%section,Levels\r\nLevel,DWGOutputLayer\r\nJunk,JUNK\r\nJUNK 99\r\n";
        const std::u16string chars = CString::FromUtf8(lines).Str();
        bytes.clear();
        switch (form.encoding) {
        case Encoding::Ansi: {
            size_t bad = 0;
            return TextCodec::For(codePage)->Encode(chars, bytes, bad);
        }
        case Encoding::Utf8:
            bytes = "\xEF\xBB\xBF" + lines;
            return true;
        case Encoding::Utf16:
            bytes = "\xFF\xFE";
            for (char16_t ch : chars)
                bytes += {char(ch & 0xFF), char(ch >> 8)};
            return true;
        }
        return false;
    }

    Expected ExpectedIn(unsigned codePage) const {
        fs::path file = folder / ("expected." + std::to_string(codePage));
        if (!fs::exists(file))
            file = folder / "expected";
        Expected expected;
        std::istringstream lines(ReadWhole(file));
        for (std::string line; std::getline(lines, line);) {
            if (line.starts_with("! ")) {
                const size_t colon = line.find(": ");
                expected.report.emplace_back(uint32_t(std::stoul(line.substr(2, colon - 2))), line.substr(colon + 2));
            } else if (!line.empty()) {
                expected.listing += line + "\n";
            }
        }
        return expected;
    }
};

// The cases, by name, from the corpus folder.
inline std::vector<Case> Cases(const fs::path& corpus) {
    std::vector<Case> cases;
    for (const auto& entry : fs::directory_iterator(corpus)) {
        if (!entry.is_directory())
            continue;
        for (const auto& file : fs::directory_iterator(entry.path())) {
            const std::string name = file.path().filename().string();
            if (name.ends_with(".csv") || name.ends_with(".tbl"))
                cases.push_back({entry.path().filename().string(), name, ReadWhole(file.path()), entry.path()});
        }
    }
    std::sort(cases.begin(), cases.end(), [](const Case& a, const Case& b) { return a.name < b.name; });
    return cases;
}

}  // namespace corpus

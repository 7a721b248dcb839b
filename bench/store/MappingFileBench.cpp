// Reading and writing a mapping file of 1,000,000 pairs, beside baselines
// that read and write the same lines without parsing: as bytes split into
// lines, and as line strings through the text file. The conversion of the
// code page is part of every read and write: the Western code page (1252,
// a byte a character, through a table) and the Japanese one (932, two
// bytes for most characters, through the platform's conversion). The file
// is read as the writer leaves it (each section in key order) and with
// each section's lines shuffled, as files written by hand or by scripts
// are. The ratios are printed at the end (StoreBench.cpp).
#include "store/platform/CodePage.h"
#include "store/platform/FileSystem.h"
#include "store/file/MappingFile.h"
#include "store/platform/TextCodec.h"
#include "store/platform/TextLines.h"

#include "StoreBench.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kPairs = 1000000;

// The pairs' texts: ASCII in the Western office, Japanese in the other.
std::u16string PairLine(unsigned codePage, const std::string& number, int i) {
    const CString digits = CString::FromLatin1(number), index = CString::FromLatin1(std::to_string(i));
    if (codePage == 932)
        return (CString(u"層_") + digits + u" = 画層ソ " + index + u"\r\n").Str();
    return (CString(u"Level_") + digits + u" = Layer " + index + u"\r\n").Str();
}

struct Fixture {
    fs::path folder;
    CString mappingPath;   // read by the mapping benchmarks, written by save
    CString shuffledPath;  // the same pairs, each section's lines shuffled
    CString baselinePath;  // written by the baseline
    std::string bytes;     // the file's content
    std::array<MappingTable, MappingKindCount> source;

    explicit Fixture(unsigned codePage) {
        folder = fs::temp_directory_path() / ("varnel-store-bench-" + std::to_string(std::random_device()()));
        fs::create_directories(folder);
        mappingPath = CString(folder.u16string()) + u"/commands.mapping";
        shuffledPath = CString(folder.u16string()) + u"/shuffled.mapping";
        baselinePath = CString(folder.u16string()) + u"/baseline.txt";
        // The file as the writer leaves it: each section in key order.
        std::mt19937 random(7);
        std::array<std::vector<std::u16string>, MappingKindCount> sections;
        for (int i = 0; i < kPairs; ++i) {
            std::string number = std::to_string(std::uint64_t(i) * 97 + random() % 97);
            sections[size_t(i % MappingKindCount)].push_back(
                PairLine(codePage, std::string(9 - number.size(), '0') + number, i));
        }
        auto file = [&] {
            std::u16string text;
            for (int kind = 0; kind < MappingKindCount; ++kind) {
                text += u"[" + SectionKey(MappingKind(kind)).Str() + u"]\r\n";
                for (const std::u16string& line : sections[size_t(kind)])
                    text += line;
                text += u"\r\n";
            }
            std::string encoded;
            size_t bad = 0;
            TextCodec::For(codePage)->Encode(text, encoded, bad);
            return encoded;
        };
        bytes = file();
        CodePage::Select(codePage);
        MappingFile::ReadFromBytes(bytes, Tables());
        CodePage::Select(0);
        CString error;
        FileSystem::WriteAll(mappingPath, bytes, error);
        for (auto& lines : sections)
            std::shuffle(lines.begin(), lines.end(), random);
        FileSystem::WriteAll(shuffledPath, file(), error);
    }
    ~Fixture() {
        std::error_code ignored;
        fs::remove_all(folder, ignored);
    }
    MappingTables Tables() {
        MappingTables view;
        for (size_t i = 0; i < source.size(); ++i)
            view[i] = &source[i];
        return view;
    }
};

// The fixture of the benchmark's code page (its argument), selected for
// the store until the benchmark ends.
struct Office {
    explicit Office(benchmark::State& state) : codePage(unsigned(state.range(0))) { CodePage::Select(codePage); }
    ~Office() { CodePage::Select(0); }
    Fixture& Data() {
        static std::map<unsigned, std::unique_ptr<Fixture>> fixtures;
        auto& fixture = fixtures[codePage];
        if (!fixture)
            fixture = std::make_unique<Fixture>(codePage);
        return *fixture;
    }
    unsigned codePage;
};

// The second argument: 1 for the file with each section's lines shuffled.
void ReadMappingFile(benchmark::State& state) {
    Office office(state);
    Fixture& data = office.Data();
    const CString& path = state.range(1) ? data.shuffledPath : data.mappingPath;
    std::array<MappingTable, MappingKindCount> tables;
    MappingTables view;
    for (size_t i = 0; i < tables.size(); ++i)
        view[i] = &tables[i];
    for (auto _ : state) {
        CVNTextFile file(u"mapping", u"\n");
        if (!MappingFile::Read(&file, path, view))
            state.SkipWithError("read failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.bytes.size()));
}

void ReadLinesBaseline(benchmark::State& state) {
    Office office(state);
    Fixture& data = office.Data();
    for (auto _ : state) {
        std::string bytes;
        CString error;
        if (!FileSystem::ReadAll(data.mappingPath, FileSystem::Share::Exclusive, bytes, error))
            state.SkipWithError("read failed");
        size_t lines = 0;
        TextLines::ForEachLine(std::string_view(bytes), [&](std::string_view line) { lines += line.size() != size_t(-1); });
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.bytes.size()));
}

// The same lines as strings, the way the text file reads them for callers
// that parse nothing.
void ReadLinesAsStrings(benchmark::State& state) {
    Office office(state);
    Fixture& data = office.Data();
    for (auto _ : state) {
        CVNTextFile file(u"mapping", u"\n");
        CStringArray lines;
        CString path = data.mappingPath;
        if (!file.ReadLines(path, lines))
            state.SkipWithError("read failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.bytes.size()));
}

void WriteLinesFromStrings(benchmark::State& state) {
    Office office(state);
    Fixture& data = office.Data();
    CStringArray lines;
    MappingFile::BuildLines(lines, data.Tables());
    for (auto _ : state) {
        CVNTextFile file(u"mapping", u"\n");
        CString path = data.baselinePath;
        if (!file.WriteLines(path, lines))
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.bytes.size()));
}

void WriteMappingFile(benchmark::State& state) {
    Office office(state);
    Fixture& data = office.Data();
    MappingTables view = data.Tables();
    for (auto _ : state) {
        CVNTextFile file(u"mapping", u"\n");
        if (!MappingFile::Write(&file, data.mappingPath, view))
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.bytes.size()));
}

void WriteLinesBaseline(benchmark::State& state) {
    Office office(state);
    Fixture& data = office.Data();
    for (auto _ : state) {
        CString error;
        if (!FileSystem::WriteAll(data.baselinePath, data.bytes, error))
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.bytes.size()));
}

#define STORE_BENCHMARK(name) \
    BENCHMARK(name)->Arg(1252)->Arg(932)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", StoreBench::Fastest)
STORE_BENCHMARK(ReadLinesBaseline);
STORE_BENCHMARK(ReadLinesAsStrings);
BENCHMARK(ReadMappingFile)
    ->ArgsProduct({{1252, 932}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->ComputeStatistics("min", StoreBench::Fastest);
STORE_BENCHMARK(WriteLinesBaseline);
STORE_BENCHMARK(WriteLinesFromStrings);
STORE_BENCHMARK(WriteMappingFile);

}  // namespace

// Reading and writing a mapping file of 1,000,000 pairs, beside baselines
// that read and write the same lines without parsing: as bytes split into
// lines, and as line strings through the text file. The conversion of the
// code page is part of every read and write: the Western code page (1252,
// a byte a character, through a table) and the Japanese one (932, two
// bytes for most characters, through the platform's conversion). Prints
// how many times slower the mapping file is than each baseline.
#include "store/CodePage.h"
#include "store/FileSystem.h"
#include "store/MappingFile.h"
#include "store/TextCodec.h"
#include "store/TextLines.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
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
    CString baselinePath;  // written by the baseline
    std::string bytes;     // the file's content
    std::array<MappingTable, MappingKindCount> source;

    explicit Fixture(unsigned codePage) {
        folder = fs::temp_directory_path() / ("varnel-store-bench-" + std::to_string(std::random_device()()));
        fs::create_directories(folder);
        mappingPath = CString(folder.u16string()) + u"/commands.mapping";
        baselinePath = CString(folder.u16string()) + u"/baseline.txt";
        // The file as the writer leaves it: each section in key order.
        std::mt19937 random(7);
        std::array<std::u16string, MappingKindCount> sections;
        for (int i = 0; i < kPairs; ++i) {
            std::string number = std::to_string(std::uint64_t(i) * 97 + random() % 97);
            sections[size_t(i % MappingKindCount)] += PairLine(codePage, std::string(9 - number.size(), '0') + number, i);
        }
        std::u16string text;
        for (int kind = 0; kind < MappingKindCount; ++kind)
            text += u"[" + SectionKey(MappingKind(kind)).Str() + u"]\r\n" + sections[size_t(kind)] + u"\r\n";
        size_t bad = 0;
        TextCodec::For(codePage)->Encode(text, bytes, bad);
        CodePage::Select(codePage);
        MappingFile::ReadFromBytes(bytes, Tables());
        CodePage::Select(0);
        CString error;
        FileSystem::WriteAll(mappingPath, bytes, error);
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

void ReadMappingFile(benchmark::State& state) {
    Office office(state);
    Fixture& data = office.Data();
    std::array<MappingTable, MappingKindCount> tables;
    MappingTables view;
    for (size_t i = 0; i < tables.size(); ++i)
        view[i] = &tables[i];
    for (auto _ : state) {
        CVNTextFile file(u"mapping", u"\n");
        if (!MappingFile::Read(&file, data.mappingPath, view))
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
        TextLines::ForEachLine(bytes, [&](std::string_view line) { lines += line.size() != size_t(-1); });
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

double Fastest(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

#define STORE_BENCHMARK(name) \
    BENCHMARK(name)->Arg(1252)->Arg(932)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest)
STORE_BENCHMARK(ReadLinesBaseline);
STORE_BENCHMARK(ReadLinesAsStrings);
STORE_BENCHMARK(ReadMappingFile);
STORE_BENCHMARK(WriteLinesBaseline);
STORE_BENCHMARK(WriteLinesFromStrings);
STORE_BENCHMARK(WriteMappingFile);

// Shows the runs as usual and keeps the best (lowest) time of each
// benchmark over its repetitions: on a shared machine the best run is the
// one least disturbed by others.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        // Repeated runs are shown by their statistics only.
        std::vector<Run> shown;
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate || run.repetitions <= 1)
                shown.push_back(run);
        if (!shown.empty())
            ConsoleReporter::ReportRuns(shown);
        for (const Run& run : runs) {
            if (run.error_occurred || run.run_type != Run::RT_Iteration)
                continue;
            Best& best = m_best[run.run_name.function_name + "/" + run.run_name.args];
            best.real = std::min(best.real, run.GetAdjustedRealTime());
            best.cpu = std::min(best.cpu, run.GetAdjustedCPUTime());
        }
    }
    void PrintRatio(const char* what, const std::string& measured, const std::string& baseline) {
        for (const char* codePage : {"1252", "932"}) {
            const std::string m = measured + "/" + codePage, b = baseline + "/" + codePage;
            if (!m_best.count(m) || !m_best.count(b))
                continue;
            double real = m_best[m].real / m_best[b].real;
            double cpu = m_best[m].cpu / m_best[b].cpu;
            std::printf("%s, code page %s, ratio: %.2fx real time, %.2fx CPU time (best runs; target within 2x): %s\n",
                        what, codePage, real, cpu, real <= 2.0 ? "met" : "missed");
        }
    }

private:
    struct Best {
        double real = std::numeric_limits<double>::infinity();
        double cpu = std::numeric_limits<double>::infinity();
    };
    std::map<std::string, Best> m_best;
};

}  // namespace

int main(int argc, char** argv) {
    // Unless told otherwise: several repetitions, interleaved so that the
    // mapping file and its baselines see the same conditions.
    std::vector<char*> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=7";
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, {repetitions, interleave});
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 1;
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    reporter.PrintRatio("Read vs bytes split into lines", "ReadMappingFile", "ReadLinesBaseline");
    reporter.PrintRatio("Read vs lines as strings", "ReadMappingFile", "ReadLinesAsStrings");
    reporter.PrintRatio("Write vs the same bytes", "WriteMappingFile", "WriteLinesBaseline");
    reporter.PrintRatio("Write vs lines from strings", "WriteMappingFile", "WriteLinesFromStrings");
    benchmark::Shutdown();
    return 0;
}

// Reading and writing a mapping file of 1,000,000 pairs, beside baselines
// that read and write the same lines without parsing: as bytes split into
// lines, and as line strings through the text file. Prints how many times
// slower the mapping file is than each baseline.
#include "store/FileSystem.h"
#include "store/MappingFile.h"
#include "store/TextLines.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kPairs = 1000000;

struct Fixture {
    fs::path folder;
    CString mappingPath;   // read by the mapping benchmarks, written by save
    CString baselinePath;  // written by the baseline
    std::string bytes;     // the file's content
    std::array<MappingTable, MappingKindCount> source;

    Fixture() {
        folder = fs::temp_directory_path() / ("varnel-store-bench-" + std::to_string(std::random_device()()));
        fs::create_directories(folder);
        mappingPath = CString(folder.u16string()) + u"/commands.mapping";
        baselinePath = CString(folder.u16string()) + u"/baseline.txt";
        // The file as the writer leaves it: each section in key order.
        std::mt19937 random(7);
        std::array<std::string, MappingKindCount> sections;
        for (int i = 0; i < kPairs; ++i) {
            std::string number = std::to_string(std::uint64_t(i) * 97 + random() % 97);
            std::string& section = sections[size_t(i % MappingKindCount)];
            section += "Level_" + std::string(9 - number.size(), '0') + number;
            section += " = Layer " + std::to_string(i) + "\r\n";
        }
        for (int kind = 0; kind < MappingKindCount; ++kind)
            bytes += "[" + SectionKey(MappingKind(kind)).ToUtf8() + "]\r\n" + sections[size_t(kind)] + "\r\n";
        MappingFile::ReadFromBytes(bytes, Tables());
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

Fixture& Data() {
    static Fixture fixture;
    return fixture;
}

void ReadMappingFile(benchmark::State& state) {
    Fixture& data = Data();
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
    Fixture& data = Data();
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
    Fixture& data = Data();
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
    Fixture& data = Data();
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
    Fixture& data = Data();
    MappingTables view = data.Tables();
    for (auto _ : state) {
        CVNTextFile file(u"mapping", u"\n");
        if (!MappingFile::Write(&file, data.mappingPath, view))
            state.SkipWithError("write failed");
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(data.bytes.size()));
}

void WriteLinesBaseline(benchmark::State& state) {
    Fixture& data = Data();
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

#define STORE_BENCHMARK(name) BENCHMARK(name)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", Fastest)
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
            Best& best = m_best[run.run_name.function_name];
            best.real = std::min(best.real, run.GetAdjustedRealTime());
            best.cpu = std::min(best.cpu, run.GetAdjustedCPUTime());
        }
    }
    void PrintRatio(const char* what, const std::string& measured, const std::string& baseline) {
        if (!m_best.count(measured) || !m_best.count(baseline))
            return;
        double real = m_best[measured].real / m_best[baseline].real;
        double cpu = m_best[measured].cpu / m_best[baseline].cpu;
        std::printf("%s ratio: %.2fx real time, %.2fx CPU time (best runs; target within 2x): %s\n", what, real,
                    cpu, real <= 2.0 ? "met" : "missed");
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

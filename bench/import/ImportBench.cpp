// Imports a generated 1,000,000-row version 8 remap file (read, extract,
// merge-trim) beside a baseline that only splits the same text into lines,
// and prints the ratio of the two and the import's throughput.
#include "framework/CStringArray.h"
#include "GeneratedRemapTable.h"
#include "import/CSVReader.h"
#include "import/ImportMerge.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int RowCount = 1'000'000;

const std::u16string& GeneratedFile() {
    static const std::u16string text = CString::FromLatin1(GeneratedRemapTable(RowCount)).Str();
    return text;
}

size_t FileBytes() { return GeneratedFile().size(); }

void ImportWholeFile(benchmark::State& state) {
    const std::u16string& text = GeneratedFile();
    size_t imported = 0;
    for (auto _ : state) {
        imported = 0;
        const bool ok = ReadRemapText(text, RemapDetect) == Parsed &&
                        ForEachImportedPair([&](MappingKind, std::u16string_view key, std::u16string_view value) {
                            imported += key.size() + value.size();
                        });
        if (!ok)
            state.SkipWithError("import failed");
        benchmark::DoNotOptimize(imported);
        ReleaseRemapData();
    }
    state.counters["characters"] = double(imported);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(FileBytes()));
}

// What reading any text file into lines costs: one string per line.
void SplitIntoLines(benchmark::State& state) {
    const std::u16string& text = GeneratedFile();
    for (auto _ : state) {
        CStringArray lines;
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find(u'\n', start);
            if (end == std::u16string::npos)
                end = text.size();
            size_t length = end - start;
            if (length > 0 && text[end - 1] == u'\r')
                --length;
            lines.Add(CString(std::u16string_view(text).substr(start, length)));
            start = end + 1;
        }
        benchmark::DoNotOptimize(lines.GetSize());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(FileBytes()));
}

BENCHMARK(ImportWholeFile)->Unit(benchmark::kMillisecond);
BENCHMARK(SplitIntoLines)->Unit(benchmark::kMillisecond);

// Keeps the mean time per iteration of each benchmark for the summary.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Iteration && run.iterations > 0)
                seconds[run.run_name.function_name] = run.real_accumulated_time / double(run.iterations);
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double import = reporter.seconds["ImportWholeFile"];
    const double split = reporter.seconds["SplitIntoLines"];
    if (import > 0 && split > 0) {
        // The file's size counted as 8-bit bytes, as it lies on disk.
        const double megabytes = double(FileBytes()) / 1e6;
        std::printf("\nimport of %d rows (%.1f MB): %.1f ms, %.1f MB/s\n", RowCount, megabytes, import * 1e3,
                    megabytes / import);
        std::printf("split into lines: %.1f ms; import / split = %.2fx (target: within 3x)\n", split * 1e3,
                    import / split);
    }
    return 0;
}

// Imports a generated 1,000,000-row version 8 remap file (read, extract,
// merge-trim) beside a baseline that only splits the same text into lines,
// and prints the ratio of the two and the import's throughput.
#include "framework/CStringArray.h"
#include "import/CSVReader.h"
#include "import/ImportMerge.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int RowCount = 1'000'000;

// Five sections with qualifier and extra output columns, comments, blank
// lines and CR LF; about one key in eight repeats an earlier one.
const std::u16string& GeneratedFile() {
    static const std::u16string text = [] {
        struct Section {
            const char* name;
            const char* header;
            const char* valuePrefix;
        };
        const Section sections[] = {
            {"Levels", "Level,Color,Weight,LineStyle,Class,DWGOutputLayer,V7OutputLevel,V8OutputLevel", "A-LAYER-"},
            {"Colors", "Color,Level,DWGOutputColor,V8OutputColor", "ac"},
            {"Weights", "Weight,Level,DWGOutputWeight", "0."},
            {"LineStyles", "LineStyle,Level,Color,DWGOutputLineStyle", "DASHED"},
            {"CellNames", "CellName,Level,V7OutputCellName", "BLOCK_"},
        };
        std::string out = "# generated remap table\r\n";
        const int perSection = RowCount / 5;
        for (const Section& section : sections) {
            out += std::string("\r\n%section,") + section.name + "\r\n" + section.header + "\r\n";
            const std::string name = section.name;
            for (int i = 0; i < perSection; ++i) {
                const int key = (i % 8 == 7) ? i / 2 : i;
                const std::string value = section.valuePrefix + std::to_string(i % 1000);
                if (name == "Levels")
                    out += "Level " + std::to_string(key) + ",3,2,0,Primary," + value + ",7,7\r\n";
                else if (name == "Colors")
                    out += std::to_string(key) + ",," + value + ",14\r\n";
                else if (name == "Weights" || name == "CellNames")
                    out += "K" + std::to_string(key) + ",Walls," + value + "\r\n";
                else
                    out += "{ Style " + std::to_string(key) + " },,," + value + "\r\n";
                if (i % 50000 == 0)
                    out += "# checkpoint\r\n\r\n";
            }
        }
        return CString::FromLatin1(out).Str();
    }();
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

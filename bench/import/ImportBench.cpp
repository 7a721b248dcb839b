// Imports a generated 1,000,000-row version 8 remap file (decode from the
// code page, read, extract, merge-trim) beside a baseline that only splits
// the same text into lines, and prints the ratio of the two and the
// import's throughput: once for a Western office (code page 1252, ASCII
// values) and once for a Japanese one (932, values of two-byte characters).
#include "framework/CStringArray.h"
#include "import/CSVReader.h"
#include "import/ImportMerge.h"
#include "store/TextCodec.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int RowCount = 1'000'000;

// Five sections with qualifier and extra output columns, comments, blank
// lines and CR LF; about one key in eight repeats an earlier one.
std::u16string Generate(unsigned codePage) {
    const bool japanese = codePage == 932;
    {
        struct Section {
            const char* name;
            const char* header;
            const char* valuePrefix;
        };
        const Section sections[] = {
            {"Levels", "Level,Color,Weight,LineStyle,Class,DWGOutputLayer,V7OutputLevel,V8OutputLevel",
             japanese ? "\xE7\x94\xBB\xE5\xB1\xA4\xE3\x82\xBD-" : "A-LAYER-"},  // 画層ソ-
            {"Colors", "Color,Level,DWGOutputColor,V8OutputColor", "ac"},
            {"Weights", "Weight,Level,DWGOutputWeight", "0."},
            {"LineStyles", "LineStyle,Level,Color,DWGOutputLineStyle", "DASHED"},
            {"CellNames", "CellName,Level,V7OutputCellName",
             japanese ? "\xE3\x83\x96\xE3\x83\xAD\xE3\x83\x83\xE3\x82\xAF_" : "BLOCK_"},  // ブロック_
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
                    out += (japanese ? "\xE5\xA3\x81 " : "Level ") + std::to_string(key) + ",3,2,0,Primary," + value + ",7,7\r\n";
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
        // UTF-8 here; the bytes of the benchmark are in the office's code page.
        return CString::FromUtf8(out).Str();
    }
}

// The file's bytes in the code page, and its text.
struct GeneratedFile {
    std::string bytes;
    std::u16string text;
    static const GeneratedFile& Of(unsigned codePage) {
        static std::map<unsigned, GeneratedFile> files;
        GeneratedFile& file = files[codePage];
        if (file.text.empty()) {
            file.text = Generate(codePage);
            size_t bad = 0;
            TextCodec::For(codePage)->Encode(file.text, file.bytes, bad);
        }
        return file;
    }
};

void ImportWholeFile(benchmark::State& state) {
    const GeneratedFile& file = GeneratedFile::Of(unsigned(state.range(0)));
    const TextCodec& codec = *TextCodec::For(unsigned(state.range(0)));
    size_t imported = 0;
    for (auto _ : state) {
        imported = 0;
        std::u16string text;  // as the reader's file read decodes it
        codec.Decode(file.bytes, text);
        const bool ok = ReadRemapBuffer(std::move(text), RemapDetect) == Parsed &&
                        ForEachImportedPair([&](MappingKind, std::u16string_view key, std::u16string_view value) {
                            imported += key.size() + value.size();
                        });
        if (!ok)
            state.SkipWithError("import failed");
        benchmark::DoNotOptimize(imported);
        ReleaseRemapData();
    }
    state.counters["characters"] = double(imported);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.bytes.size()));
}

// What reading any text file into lines costs: one string per line.
void SplitIntoLines(benchmark::State& state) {
    const GeneratedFile& file = GeneratedFile::Of(unsigned(state.range(0)));
    const std::u16string& text = file.text;
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
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.bytes.size()));
}

BENCHMARK(ImportWholeFile)->Arg(1252)->Arg(932)->Unit(benchmark::kMillisecond);
BENCHMARK(SplitIntoLines)->Arg(1252)->Arg(932)->Unit(benchmark::kMillisecond);

// Keeps the best time per iteration of each benchmark over its
// repetitions for the summary: on a shared machine the best run is the one
// least disturbed by others.
class RecordingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration || run.iterations <= 0)
                continue;
            double& best = seconds[run.run_name.function_name + "/" + run.run_name.args];
            const double time = run.real_accumulated_time / double(run.iterations);
            best = best > 0 && best < time ? best : time;
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

}  // namespace

int main(int argc, char** argv) {
    // Unless told otherwise: several repetitions, interleaved so that the
    // import and its baseline see the same conditions.
    std::vector<char*> args(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=5";
    char interleave[] = "--benchmark_enable_random_interleaving=true";
    args.insert(args.begin() + 1, {repetitions, interleave});
    argc = int(args.size());
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (unsigned codePage : {1252u, 932u}) {
        const std::string arg = "/" + std::to_string(codePage);
        const double import = reporter.seconds["ImportWholeFile" + arg];
        const double split = reporter.seconds["SplitIntoLines" + arg];
        if (import > 0 && split > 0) {
            // The file's size in bytes of its code page, as it lies on disk.
            const double megabytes = double(GeneratedFile::Of(codePage).bytes.size()) / 1e6;
            std::printf("\ncode page %u: import of %d rows (%.1f MB): %.1f ms, %.1f MB/s\n", codePage, RowCount,
                        megabytes, import * 1e3, megabytes / import);
            std::printf("split into lines: %.1f ms; import / split = %.2fx (target: within 3x)\n", split * 1e3,
                        import / split);
        }
    }
    return 0;
}

// Imports a generated 1,000,000-row version 8 remap table into seven empty
// tables, as File > Import and varnel import do it (the reader's one road:
// read, trim, fold, sort, merge), beside a baseline that only splits the
// same text into lines: for a Western office (code page 1252, read as
// bytes) and a Japanese one (932, decoded to UTF-16 first), each with the
// rows in the order their keys were made, shuffled, and with one key in a
// thousand padded. Prints each import's ratio to the split and to the
// ordered table of its office.
#include "GeneratedRemapTable.h"
#include "framework/CStringArray.h"
#include "import/CSVReader.h"
#include "store/platform/CodePage.h"
#include "store/platform/TextCodec.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int RowCount = 1'000'000;
const char* const kShapes[] = {"ordered", "shuffled", "padded"};

// The file's bytes in the code page, and its text.
struct GeneratedFile {
    std::string bytes;
    std::u16string text;
    static const GeneratedFile& Of(unsigned codePage, TableShape shape) {
        static std::map<std::pair<unsigned, TableShape>, GeneratedFile> files;
        GeneratedFile& file = files[{codePage, shape}];
        if (file.text.empty()) {
            file.text = CString::FromUtf8(GeneratedRemapTable(RowCount, codePage == 932, shape)).Str();
            size_t bad = 0;
            TextCodec::For(codePage)->Encode(file.text, file.bytes, bad);
        }
        return file;
    }
};

// Arguments: the code page and the table's shape.
void ImportTable(benchmark::State& state) {
    const unsigned codePage = unsigned(state.range(0));
    const GeneratedFile& file = GeneratedFile::Of(codePage, TableShape(state.range(1)));
    CodePage::Select(codePage);
    for (auto _ : state) {
        std::array<MappingTable, MappingKindCount> tables;
        RemapTable table = ReadRemapBytes(file.bytes, RemapDetect);
        if (table.result != Parsed)
            state.SkipWithError("import failed");
        for (size_t page = 0; page < tables.size(); ++page)
            tables[page].Merge(std::move(table.pairs[page]));
        benchmark::DoNotOptimize(tables[KindLevels].GetCount());
    }
    CodePage::Select(0);
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.bytes.size()));
}

// What reading any text file into lines costs: one string per line.
void SplitIntoLines(benchmark::State& state) {
    const GeneratedFile& file = GeneratedFile::Of(unsigned(state.range(0)), TableShape::Ordered);
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

BENCHMARK(ImportTable)->ArgsProduct({{1252, 932}, {0, 1, 2}})->Unit(benchmark::kMillisecond);
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
#ifdef __GLIBC__
    // Large blocks come fresh from the system each time, as in the one
    // import a process runs; otherwise the allocator's moving threshold
    // makes each benchmark pay for the blocks the one before left behind.
    mallopt(M_MMAP_THRESHOLD, 1 << 20);
#endif
    // Unless told otherwise: several repetitions, interleaved so that the
    // imports and their baseline see the same conditions.
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
        const std::string arg = std::to_string(codePage);
        const double split = reporter.seconds["SplitIntoLines/" + arg];
        const double ordered = reporter.seconds["ImportTable/" + arg + "/0"];
        if (split <= 0 || ordered <= 0)
            continue;
        // The file's size in bytes of its code page, as it lies on disk.
        const double megabytes = double(GeneratedFile::Of(codePage, TableShape::Ordered).bytes.size()) / 1e6;
        std::printf("\ncode page %u, %d rows (%.1f MB); split into lines: %.1f ms\n", codePage, RowCount, megabytes,
                    split * 1e3);
        for (int shape = 0; shape < 3; ++shape) {
            const double import = reporter.seconds["ImportTable/" + arg + "/" + std::to_string(shape)];
            if (import <= 0)
                continue;
            std::printf("  %-8s import into the tables: %.1f ms, %.1f MB/s; / split = %.2fx (target: within 3x)",
                        kShapes[shape], import * 1e3, megabytes / import, import / split);
            if (shape > 0)
                std::printf("; / ordered = %.2fx (target: at most 1.25x)", import / ordered);
            std::printf("\n");
        }
    }
    return 0;
}

// Imports a generated 1,000,000-row version 8 remap file (decode from the
// code page, read, extract, merge-trim) beside a baseline that only splits
// the same text into lines, and prints the ratio of the two and the
// import's throughput: once for a Western office (code page 1252, ASCII
// values) and once for a Japanese one (932, values of two-byte characters);
// and the streamed import of the same bytes into the tables beside it.
#include "framework/CStringArray.h"
#include "GeneratedRemapTable.h"
#include "import/CSVReader.h"
#include "import/ImportMerge.h"
#include "import/TableImport.h"
#include "store/CodePage.h"
#include "store/TextCodec.h"

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

// The file's bytes in the code page, and its text.
struct GeneratedFile {
    std::string bytes;
    std::u16string text;
    static const GeneratedFile& Of(unsigned codePage) {
        static std::map<unsigned, GeneratedFile> files;
        GeneratedFile& file = files[codePage];
        if (file.text.empty()) {
            file.text = CString::FromUtf8(GeneratedRemapTable(RowCount, codePage == 932)).Str();
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

// The streamed import of the same bytes, as varnel import runs it: read a
// window at a time, tokenized as bytes in a single-byte code page, merged
// into seven tables in one sorted pass each. More work than the above (the
// tables are built), so it is measured on its own.
void ImportStreamed(benchmark::State& state) {
    const unsigned codePage = unsigned(state.range(0));
    const GeneratedFile& file = GeneratedFile::Of(codePage);
    CodePage::Select(codePage);
    for (auto _ : state) {
        std::array<MappingTable, MappingKindCount> tables;
        MappingTables view;
        for (size_t i = 0; i < tables.size(); ++i)
            view[i] = &tables[i];
        std::vector<RemapRowLeftOut> leftOut;
        if (ImportTableBytes(file.bytes, RemapDetect, view, leftOut) != TableImportResult::Merged)
            state.SkipWithError("import failed");
        benchmark::DoNotOptimize(tables[KindLevels].GetCount());
    }
    CodePage::Select(0);
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
BENCHMARK(ImportStreamed)->Arg(1252)->Arg(932)->Unit(benchmark::kMillisecond);
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
        const double streamed = reporter.seconds["ImportStreamed" + arg];
        const double split = reporter.seconds["SplitIntoLines" + arg];
        if (import > 0 && streamed > 0 && split > 0) {
            // The file's size in bytes of its code page, as it lies on disk.
            const double megabytes = double(GeneratedFile::Of(codePage).bytes.size()) / 1e6;
            std::printf("\ncode page %u, %d rows (%.1f MB); split into lines: %.1f ms\n", codePage, RowCount, megabytes,
                        split * 1e3);
            std::printf("  the dialog's import (pair list): %.1f ms, %.1f MB/s; / split = %.2fx (target: within 3x)\n",
                        import * 1e3, megabytes / import, import / split);
            std::printf("  streamed into the tables:        %.1f ms, %.1f MB/s; / split = %.2fx (target: within 3x)\n",
                        streamed * 1e3, megabytes / streamed, streamed / split);
        }
    }
    return 0;
}

// The store benchmarks' main: runs them in interleaved repetitions and
// prints each measured benchmark's time as a ratio to its baseline's, both
// from the same run.
#include "StoreBench.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <map>
#include <string>
#include <vector>

double StoreBench::Fastest(const std::vector<double>& times) {
    return *std::min_element(times.begin(), times.end());
}

namespace {

// Shows the runs as usual and keeps the best time of each benchmark over
// its repetitions.
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
            const std::string& args = run.run_name.args;
            Best& best = m_best[run.run_name.function_name + (args.empty() ? "" : "/" + args)];
            best.real = std::min(best.real, run.GetAdjustedRealTime());
            best.cpu = std::min(best.cpu, run.GetAdjustedCPUTime());
        }
    }

    // measured / baseline, met when at most target (none when 0).
    void PrintRatio(const std::string& what, const std::string& measured, const std::string& baseline,
                    double target) {
        if (!m_best.count(measured) || !m_best.count(baseline))
            return;
        const double real = m_best[measured].real / m_best[baseline].real;
        const double cpu = m_best[measured].cpu / m_best[baseline].cpu;
        std::printf("%s, ratio: %.2fx real time, %.2fx CPU time (best runs", what.c_str(), real, cpu);
        if (target > 0)
            std::printf("; target at most %.2fx): %s\n", target, real <= target ? "met" : "missed");
        else
            std::printf(")\n");
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
    // Unless told otherwise: several repetitions, interleaved so that each
    // benchmark and its baseline see the same conditions.
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
    for (const std::string codePage : {"1252", "932"}) {
        const std::string office = ", code page " + codePage;
        reporter.PrintRatio("Read vs bytes split into lines" + office, "ReadMappingFile/" + codePage + "/0",
                            "ReadLinesBaseline/" + codePage, 2.0);
        reporter.PrintRatio("Read vs lines as strings" + office, "ReadMappingFile/" + codePage + "/0",
                            "ReadLinesAsStrings/" + codePage, 2.0);
        reporter.PrintRatio("Read of a shuffled file vs the ordered one" + office, "ReadMappingFile/" + codePage + "/1",
                            "ReadMappingFile/" + codePage + "/0", 1.25);
        reporter.PrintRatio("Write vs the same bytes" + office, "WriteMappingFile/" + codePage,
                            "WriteLinesBaseline/" + codePage, 2.0);
        reporter.PrintRatio("Write vs lines from strings" + office, "WriteMappingFile/" + codePage,
                            "WriteLinesFromStrings/" + codePage, 2.0);
    }
    for (const std::string order : {"0", "1"}) {
        const std::string keys = order == "0" ? " (keys in import order)" : " (keys shuffled)";
        reporter.PrintRatio("Batch added and merged vs each pair set" + keys, "AddAndMergeBatches/" + order,
                            "SetEachPair/" + order, 0);
        reporter.PrintRatio("Merge alone vs sorting as many integers" + keys, "MergeBatches/" + order, "SortIntegers",
                            0);
    }
    // The shuffled pairs' own texts lie scattered in memory: their copies
    // into the batch cost more than the batch's sort and merge do.
    reporter.PrintRatio("Merge alone, shuffled keys vs in import order", "MergeBatches/1", "MergeBatches/0", 1.25);
    benchmark::Shutdown();
    return 0;
}

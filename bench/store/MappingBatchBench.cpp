// An import's pairs into five empty tables, 200,000 pairs each in the order
// an import makes them (not sorted) or shuffled (the argument), about one
// key in eight repeating an earlier one: added to a batch and merged,
// against setting each pair one by one, and the merge alone against
// sorting as many 64-bit integers.
#include "store/model/MappingBatch.h"

#include "StoreBench.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kPairsPerTable = 200000;
constexpr size_t kTables = 5;

using Pairs = std::vector<std::pair<std::u16string, std::u16string>>;

std::u16string Widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// Texts like those of the five kinds an import fills most.
std::pair<std::u16string, std::u16string> MakePair(size_t table, int key, int value) {
    const std::string k = std::to_string(key), v = std::to_string(value % 1000);
    switch (table) {
    case 0: return {Widen("Level " + k), Widen("A-LAYER-" + v)};
    case 1: return {Widen(k), Widen(v)};
    case 2: return {Widen("K" + k), Widen("0." + v)};
    case 3: return {Widen("{ Style " + k + " }"), Widen("DASHED" + v)};
    default: return {Widen("K" + k), Widen("BLOCK_" + v)};
    }
}

const std::array<Pairs, kTables>& Imported(bool shuffled) {
    static const std::array<std::array<Pairs, kTables>, 2> tables = [] {
        std::array<std::array<Pairs, kTables>, 2> made;
        std::mt19937 random(8);
        for (size_t table = 0; table < kTables; ++table) {
            int fresh = 0;
            for (int n = 0; n < kPairsPerTable; ++n) {
                // Every eighth pair sets an earlier key again, mostly to another value.
                const bool repeat = n % 8 == 7;
                const int key = repeat ? int(random() % unsigned(fresh)) : fresh++;
                made[0][table].push_back(MakePair(table, key, repeat ? key + n : key));
            }
            made[1][table] = made[0][table];
            std::shuffle(made[1][table].begin(), made[1][table].end(), random);
        }
        return made;
    }();
    return tables[shuffled];
}

void AddAndMergeBatches(benchmark::State& state) {
    const auto& imported = Imported(state.range(0) != 0);
    for (auto _ : state) {
        std::array<MappingTable, kTables> tables;
        for (size_t t = 0; t < kTables; ++t) {
            MappingBatch batch;
            for (const auto& [key, value] : imported[t])
                batch.Add(key, value);
            tables[t].Merge(std::move(batch));
        }
        benchmark::DoNotOptimize(tables);
    }
}

void SetEachPair(benchmark::State& state) {
    const auto& imported = Imported(state.range(0) != 0);
    for (auto _ : state) {
        std::array<MappingTable, kTables> tables;
        for (size_t t = 0; t < kTables; ++t)
            for (const auto& [key, value] : imported[t])
                tables[t].SetPair(std::u16string_view(key), std::u16string_view(value));
        benchmark::DoNotOptimize(tables);
    }
}

// The merge alone: the batches are filled and the tables emptied while the
// clock stands.
void MergeBatches(benchmark::State& state) {
    const auto& imported = Imported(state.range(0) != 0);
    std::array<MappingTable, kTables> tables;
    std::array<MappingBatch, kTables> batches;
    for (auto _ : state) {
        state.PauseTiming();
        for (size_t t = 0; t < kTables; ++t) {
            tables[t].ClearPairs();
            for (const auto& [key, value] : imported[t])
                batches[t].Add(key, value);
        }
        state.ResumeTiming();
        for (size_t t = 0; t < kTables; ++t)
            tables[t].Merge(std::move(batches[t]));
    }
}

// As many integers as the batches have pairs.
void SortIntegers(benchmark::State& state) {
    std::vector<std::uint64_t> numbers(kTables * kPairsPerTable), sorted;
    std::mt19937_64 random(64);
    std::generate(numbers.begin(), numbers.end(), random);
    for (auto _ : state) {
        state.PauseTiming();
        sorted = numbers;
        state.ResumeTiming();
        std::sort(sorted.begin(), sorted.end());
        benchmark::DoNotOptimize(sorted.data());
    }
}

#define BATCH_BENCHMARK(name) \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->ComputeStatistics("min", StoreBench::Fastest)
BATCH_BENCHMARK(AddAndMergeBatches)->Arg(0)->Arg(1);
BATCH_BENCHMARK(SetEachPair)->Arg(0)->Arg(1);
BATCH_BENCHMARK(MergeBatches)->Arg(0)->Arg(1);
BATCH_BENCHMARK(SortIntegers);

}  // namespace

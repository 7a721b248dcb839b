// What the store's benchmarks share: the statistic that their ratios use.
#pragma once

#include <vector>

namespace StoreBench {

// The best (lowest) of a benchmark's repeated times: on a shared machine
// the best run is the one least disturbed by others.
double Fastest(const std::vector<double>& times);

}  // namespace StoreBench

#pragma once

#include "support/RatioReporter.hpp"

#include <functional>

namespace skorvin::bench {

// Runs the benchmarks the command line chose, printing the usual table, then hands the
// measured times to `summary`, which prints the program's figures below it.
int runBenchmarks(int& argc, char** argv, const std::function<void(const RatioReporter&)>& summary);

} // namespace skorvin::bench

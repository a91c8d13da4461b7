#include "support/RunBenchmarks.hpp"

#include <cstdio>

namespace skorvin::bench {

int runBenchmarks(int& argc, char** argv, const std::function<void(const RatioReporter&)>& summary)
{
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    summary(reporter);
    benchmark::Shutdown();
    return 0;
}

} // namespace skorvin::bench

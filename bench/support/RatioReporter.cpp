#include "RatioReporter.hpp"

#include <cstdio>

namespace skorvin::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
        if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
            perIteration_[run.run_name.function_name] = run.GetAdjustedRealTime();
            units_[run.run_name.function_name] = run.time_unit;
        }
}

void RatioReporter::printRatio(const std::string& figure, const std::string& reference) const
{
    const auto measured = perIteration_.find(figure);
    const auto base = perIteration_.find(reference);
    if (measured == perIteration_.end() || base == perIteration_.end() || base->second <= 0)
        return;
    // Times are kept in each benchmark's own unit; bring both to seconds.
    const double ratio = measured->second * benchmark::GetTimeUnitMultiplier(units_.at(reference)) /
                         (base->second * benchmark::GetTimeUnitMultiplier(units_.at(figure)));
    std::printf("%s: %.3gx %s\n", figure.c_str(), ratio, reference.c_str());
}

} // namespace skorvin::bench

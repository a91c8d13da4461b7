#include "RatioReporter.hpp"

#include <cstdio>

namespace skorvin::bench {

void RatioReporter::ReportRuns(const std::vector<Run>& runs)
{
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs)
        if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
            seconds_[run.run_name.function_name] =
                run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
            for (const auto& [counter, value] : run.counters)
                seconds_[run.run_name.function_name + " (" + counter + ")"] = value;
        }
}

void RatioReporter::printRatio(const std::string& figure, const std::string& reference) const
{
    const auto measured = seconds_.find(figure);
    const auto base = seconds_.find(reference);
    if (measured == seconds_.end() || base == seconds_.end() || base->second <= 0)
        return;
    std::printf("%s: %.3gx %s\n", figure.c_str(), measured->second / base->second, reference.c_str());
}

} // namespace skorvin::bench

#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace skorvin::bench {

// Prints the usual table and keeps each benchmark's time per iteration, so the program
// can end with its figures, one line each: "<figure>: <ratio>x <reference>". A counter is kept
// as a figure of its own, "<benchmark> (<counter>)": a second clock measured in the same
// iterations (seconds per iteration) can then be compared as well.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override;

    // Prints "<figure>: <ratio>x <reference>" when both were measured.
    void printRatio(const std::string& figure, const std::string& reference) const;

private:
    std::map<std::string, double> seconds_; // each benchmark's time per iteration, and its counters
};

} // namespace skorvin::bench

#pragma once

#include <functional>
#include <string>

namespace skorvin::bench {

// How far the resident high-water mark rises, in MB, over what was resident before work
// ran; -1 where the system does not say (Linux's /proc only).
double peakGrowthMb(const std::function<void()>& work);

// The same figure taken in a fresh run of program, started as "<program> --peak-of=<figure>",
// which prints it alone on its last line: room the heap keeps from earlier work cannot hide a
// rise there. -1 when that run fails.
double peakGrowthMbInFreshRun(const std::string& program, const std::string& figure);

// The figure this run is to measure and print ("--peak-of=<figure>"), or "" for a normal run.
std::string peakFigureAsked(int argc, char** argv);

} // namespace skorvin::bench

#include "support/PeakMemory.hpp"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string_view>

namespace skorvin::bench {

namespace {

constexpr std::string_view kPeakOption = "--peak-of=";

// A line of /proc/self/status in kB ("VmRSS", "VmHWM"); -1 when there is none.
long statusKb(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key + ":", 0) == 0)
            return std::atol(line.c_str() + key.size() + 1);
    return -1;
}

} // namespace

double peakGrowthMb(const std::function<void()>& work)
{
    std::ofstream("/proc/self/clear_refs") << "5"; // resets the high-water mark to the current size
    const long before = statusKb("VmRSS");
    work();
    const long peak = statusKb("VmHWM");
    return before < 0 || peak < 0 ? -1 : static_cast<double>(peak - before) / 1024.0;
}

double peakGrowthMbInFreshRun(const std::string& program, const std::string& figure)
{
    const std::string command = "'" + program + "' " + std::string(kPeakOption) + figure + " 2>/dev/null";
    FILE* run = popen(command.c_str(), "r");
    if (!run)
        return -1;
    double growth = -1;
    char line[256];
    while (std::fgets(line, sizeof line, run))
        growth = std::atof(line);
    return pclose(run) == 0 ? growth : -1;
}

std::string peakFigureAsked(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument(argv[i]);
        if (argument.substr(0, kPeakOption.size()) == kPeakOption)
            return std::string(argument.substr(kPeakOption.size()));
    }
    return {};
}

} // namespace skorvin::bench

#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace skorvin::test {

struct ProcessResult {
    int exitCode = -1; // -1 when the program was ended by a signal
    int signal = 0;
    std::string out;
    std::string err;
};

// Runs program with arguments and extra environment variables, waits for it and
// returns what it wrote. Output goes through files in scratch, which must exist.
ProcessResult runProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                         const std::map<std::string, std::string>& environment, const std::filesystem::path& scratch);

// The lines of a text, without their line ends; no trailing empty line.
std::vector<std::string> lines(const std::string& text);

} // namespace skorvin::test

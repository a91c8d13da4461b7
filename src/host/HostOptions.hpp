#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>

namespace skorvin::host {

// What the demo host was asked to do on its command line.
struct HostOptions {
    bool help = false;
    std::optional<std::string> connection; // GBK connection string
    std::optional<std::filesystem::path> makeDemoDb;
    std::int64_t candidates = 20000;
    int generation = 2;
    std::uint64_t seed = 1;
    std::optional<std::filesystem::path> screenshot;
};

// A command line the host cannot follow; the message names the offending argument.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

HostOptions parseArguments(int argc, const char* const* argv);

// The lines printed by --help.
const char* usageText();

} // namespace skorvin::host

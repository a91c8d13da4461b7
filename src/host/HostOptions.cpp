#include "host/HostOptions.hpp"

#include "platform/Gbk.hpp"

#include <charconv>
#include <string_view>

namespace skorvin::host {
namespace {

std::int64_t wholeNumber(std::string_view option, std::string_view text, std::int64_t lowest)
{
    std::int64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < lowest) {
        throw UsageError(std::string(option) + " needs a whole number of at least " + std::to_string(lowest) +
                         ", not '" + std::string(text) + "'");
    }
    return value;
}

// Command-line text arrives in the system's code page on Windows and as UTF-8 elsewhere.
std::string systemText(const char* argument)
{
#ifdef _WIN32
    return argument;
#else
    return gbk::fromUtf8(argument);
#endif
}

} // namespace

HostOptions parseArguments(int argc, const char* const* argv)
{
    HostOptions options;
    bool candidatesGiven = false;
    bool generationGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                throw UsageError(std::string(option) + " needs a value");
            }
            return argv[++i];
        };
        if (option == "--help" || option == "-h") {
            options.help = true;
        } else if (option == "--connection") {
            options.connection = systemText(value());
        } else if (option == "--make-demo-db") {
            options.makeDemoDb = std::filesystem::path(value());
        } else if (option == "--candidates") {
            options.candidates = wholeNumber(option, value(), 0);
            candidatesGiven = true;
        } else if (option == "--generation") {
            const std::string_view text = value();
            if (text != "1" && text != "2") {
                throw UsageError("--generation is 1 or 2, not '" + std::string(text) + "'");
            }
            options.generation = text == "1" ? 1 : 2;
            generationGiven = true;
        } else if (option == "--seed") {
            options.seed = static_cast<std::uint64_t>(wholeNumber(option, value(), 0));
        } else if (option == "--screenshot") {
            options.screenshot = std::filesystem::path(value());
        } else {
            throw UsageError("unknown argument '" + std::string(option) + "' (see --help)");
        }
    }
    if ((candidatesGiven || generationGiven) && !options.makeDemoDb) {
        throw UsageError("--candidates and --generation belong to --make-demo-db");
    }
    if (options.makeDemoDb && (options.connection || options.screenshot)) {
        throw UsageError("--make-demo-db writes a database and exits; it takes no --connection or --screenshot");
    }
    return options;
}

const char* usageText()
{
    return "Usage: skorvin-host [--connection TEXT] [--screenshot FILE.png]\n"
           "       skorvin-host --make-demo-db FILE [--candidates N] [--generation 1|2] [--seed N]\n"
           "Without --connection the host opens demo-exam.sqlite beside itself, creating it first if needed.\n"
           "  --connection TEXT    Provider=SQLite;Data Source=FILE, an ODBC string (Driver=...; or DSN=...),\n"
           "                       or Provider=SQLOLEDB;Data Source=HOST;Initial Catalog=DB;User ID=...;Password=...\n"
           "  --screenshot FILE    saves a picture of the score window once it is shown, closes it and exits\n"
           "  --make-demo-db FILE  writes a demo examination database (default 20000 level-4 candidates,\n"
           "                       generation 2 with 6-character exam-site codes) and exits\n";
}

} // namespace skorvin::host

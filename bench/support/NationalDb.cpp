#include "NationalDb.hpp"

#include "host/demodb/DemoDb.hpp"
#include "platform/Gbk.hpp"

#include <cstdint>
#include <cstdio>

namespace skorvin::bench {

std::filesystem::path nationalDatabase()
{
    return demoDatabase(1'000'000);
}

std::filesystem::path demoDatabase(std::int64_t candidates)
{
    const auto path =
        std::filesystem::path(SKORVIN_BENCH_DATA_DIR) / ("demo-" + std::to_string(candidates) + ".sqlite");
    if (!std::filesystem::exists(path)) {
        std::fprintf(stderr, "Making the demo database of %lld candidates at %s ...\n",
                     static_cast<long long>(candidates), path.c_str());
        demodb::Options options;
        options.candidates = candidates;
        const auto partial = path.string() + ".partial";
        demodb::create(partial, options);
        std::filesystem::rename(partial, path);
    }
    return path;
}

std::string sqliteConnectionString(const std::filesystem::path& file)
{
    return "Provider=SQLite;Data Source=" + gbk::fromUtf8(file.string());
}

} // namespace skorvin::bench

#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace skorvin::bench {

// The demo database of a million level-4 candidates. Made on first use and kept in the
// build folder between runs: making it takes longer than measuring it.
std::filesystem::path nationalDatabase();
// A demo database of this many level-4 candidates, made and kept the same way.
std::filesystem::path demoDatabase(std::int64_t candidates);

// A connection string for an SQLite file.
std::string sqliteConnectionString(const std::filesystem::path& file);

} // namespace skorvin::bench

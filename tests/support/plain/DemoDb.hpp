#pragma once

#include "host/demodb/DemoDb.hpp"
#include "plain/TempDir.hpp"

#include <filesystem>
#include <string>

namespace skorvin::test {

// A demo examination database in its own temporary folder, removed with it.
// The default is small and quick: the three-province organisation set and 200
// level-4 candidates, opening on province 11.
class DemoDb {
public:
    explicit DemoDb(const demodb::Options& options = smallOptions());

    static demodb::Options smallOptions();

    const std::filesystem::path& path() const { return path_; }
    // "Provider=SQLite;Data Source=<path>" (path as GBK text)
    std::string connectionString() const;
    const demodb::Summary& summary() const { return summary_; }

private:
    TempDir dir_;
    std::filesystem::path path_;
    demodb::Summary summary_;
};

} // namespace skorvin::test

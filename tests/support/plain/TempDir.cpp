#include "plain/TempDir.hpp"

#include <random>
#include <string>
#include <system_error>

namespace skorvin::test {

TempDir::TempDir()
{
    std::random_device seed;
    std::mt19937_64 random(seed());
    for (;;) {
        auto candidate = std::filesystem::temp_directory_path() / ("skorvin-test-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

} // namespace skorvin::test

#pragma once

#include <cstdint>

namespace skorvin::demodb {

// A small generator with the same sequence on every platform and standard library
// (the standard distributions are not), so that a seed always gives the same database.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}

    std::uint64_t next()
    {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * 0x1.0p-53; }
    // Uniform in [0, n); n > 0.
    std::uint64_t below(std::uint64_t n) { return static_cast<std::uint64_t>(unit() * static_cast<double>(n)); }

private:
    std::uint64_t state_;
};

} // namespace skorvin::demodb

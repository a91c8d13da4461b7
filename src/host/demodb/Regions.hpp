#pragma once

#include <span>
#include <string_view>

namespace skorvin::demodb {

// A provincial division as the examination numbers it, with its cities (or, for the
// municipalities and the special regions, its districts) in code order. Names are UTF-8.
struct Region {
    std::string_view code;
    std::string_view name;
    int weight; // share of the nation's candidates, relative to the other regions
    std::span<const std::string_view> cities;
};

// All 34 provincial divisions in code order.
std::span<const Region> regions();

} // namespace skorvin::demodb

#pragma once

#include <cstddef>
#include <string>

namespace skorvin::ado {

// Statement text as the backends take it: every named parameter (":dm", ":dsdm")
// outside quoted literals, "quoted" and [bracketed] names becomes "?".
struct PositionalStatement {
    std::string text;
    // Placeholders in the result, the "?" already there included.
    std::size_t placeholders = 0;
};

PositionalStatement toPositional(const std::string& sql);

} // namespace skorvin::ado

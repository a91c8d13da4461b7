#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace skorvin::report {

// A piece of a text: literal bytes, or the name written between "[" and "]".
struct TextSegment {
    bool isName = false;
    std::string text; // the literal bytes, or the name trimmed
};

// Splits a GBK text at its "[NAME]" expressions, once per build rather than once per row.
// A "[" or "]" that is the trail byte of a Chinese character is part of that character,
// not a bracket; a "[" without its "]" is literal text.
std::vector<TextSegment> splitExpressions(std::string_view text);

} // namespace skorvin::report

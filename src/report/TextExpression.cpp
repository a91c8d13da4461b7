#include "report/TextExpression.hpp"

#include "platform/Text.hpp"

namespace skorvin::report {

namespace {

// Position of the next single-byte c at or after from, stepping over double-byte characters.
std::size_t findByte(std::string_view text, char c, std::size_t from)
{
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == c)
            return i;
        if (text::isLeadByte(text[i]))
            ++i;
    }
    return std::string_view::npos;
}

} // namespace

std::vector<TextSegment> splitExpressions(std::string_view text)
{
    std::vector<TextSegment> segments;
    auto literal = [&segments](std::string_view bytes) {
        if (bytes.empty())
            return;
        if (!segments.empty() && !segments.back().isName)
            segments.back().text += bytes;
        else
            segments.push_back({false, std::string(bytes)});
    };
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = findByte(text, '[', at);
        const std::size_t close = open == std::string_view::npos ? open : findByte(text, ']', open + 1);
        if (close == std::string_view::npos) {
            literal(text.substr(at));
            break;
        }
        literal(text.substr(at, open - at));
        segments.push_back({true, text::trim(text.substr(open + 1, close - open - 1))});
        at = close + 1;
    }
    return segments;
}

} // namespace skorvin::report

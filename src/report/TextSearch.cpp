#include "report/TextSearch.hpp"

#include "platform/Text.hpp"
#include "report/BuiltReport.hpp"

namespace skorvin::report {

namespace {

// Whether sought lies at at, a character boundary of text. Both texts share their
// character boundaries for as long as their bytes agree, so a single byte of sought
// meets a single byte of text, and only those are upper-cased.
bool matchesAt(std::string_view text, std::size_t at, std::string_view sought, bool matchCase)
{
    for (std::size_t k = 0; k < sought.size(); ++k) {
        const char want = sought[k];
        const char have = text[at + k];
        if (text::isLeadByte(want) && k + 1 < sought.size()) {
            if (have != want || text[at + k + 1] != sought[k + 1])
                return false;
            ++k;
        } else if (matchCase ? have != want : text::upperAscii(have) != text::upperAscii(want)) {
            return false;
        }
    }
    return true;
}

} // namespace

bool containsText(std::string_view text, std::string_view sought, bool matchCase)
{
    if (sought.empty())
        return false;
    for (std::size_t at = 0; at + sought.size() <= text.size(); ++at) {
        if (matchesAt(text, at, sought, matchCase))
            return true;
        if (text::isLeadByte(text[at]))
            ++at;
    }
    return false;
}

std::optional<TextMatch> findText(const BuiltReport& pages, std::string_view sought, bool matchCase, int startPage,
                                  int afterPiece)
{
    for (int page = std::max(0, startPage); page < pages.pageCount(); ++page) {
        const auto pieces = pages.pieces(page);
        const int first = page == startPage ? afterPiece + 1 : 0;
        for (int i = std::max(0, first); i < static_cast<int>(pieces.size()); ++i) {
            if (containsText(pages.text(pieces[static_cast<std::size_t>(i)]), sought, matchCase))
                return TextMatch{page, i};
        }
    }
    return std::nullopt;
}

} // namespace skorvin::report

#pragma once

#include <optional>
#include <string_view>

namespace skorvin::report {

class BuiltReport;

// Whether a GBK text holds sought. Unless the case must match, ASCII letters compare in
// upper case; the bytes of a Chinese character never change, and a match never starts on
// a character's second byte. An empty sought text is never found.
bool containsText(std::string_view text, std::string_view sought, bool matchCase);

struct TextMatch {
    int pageIndex = 0;  // 0-based
    int pieceIndex = 0; // among the page's pieces, in drawing order

    bool operator==(const TextMatch&) const = default;
};

// The first piece holding sought, walking the pages from startPage (0-based) on and each
// page's pieces in drawing order, skipping the pieces up to afterPiece on startPage (-1
// skips none). Nothing when no later piece holds it.
std::optional<TextMatch> findText(const BuiltReport& pages, std::string_view sought, bool matchCase, int startPage,
                                  int afterPiece = -1);

} // namespace skorvin::report

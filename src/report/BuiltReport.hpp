#pragma once

#include "report/ReportTemplate.hpp"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace skorvin::report {

// How a piece of text is drawn: shared by every piece built from one template object.
struct PieceStyle {
    FontStyle font;
    HAlign hAlign = HAlign::Left;
    VAlign vAlign = VAlign::Top;
    std::uint8_t frame = 0;
    Length frameWidth = 0;

    bool operator==(const PieceStyle&) const = default;
};

// A positioned text on a built page; its bytes live in the report's one text arena.
struct Piece {
    Rect rect; // on the paper, from its top-left corner
    std::uint32_t textOffset = 0;
    std::uint32_t textLength = 0;
    std::uint16_t style = 0;

    bool operator==(const Piece&) const = default;
};

struct BuiltPage {
    Length width = 0;
    Length height = 0;
    std::uint32_t firstPiece = 0;
    std::uint32_t pieceCount = 0;

    bool operator==(const BuiltPage&) const = default;
};

// The most pages a built report holds, built or read from a file: some thirty times a
// national list, and few enough that the preview lays every page out within its coordinates.
inline constexpr int kMaxBuiltPages = 1000000;

// The pages a build produced: pieces of GBK text in drawing order. Kept compact, with no
// object or string per piece, because the national list builds tens of thousands of pages.
class BuiltReport {
public:
    int pageCount() const { return static_cast<int>(pages_.size()); }
    // 0-based page index.
    const BuiltPage& page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    std::span<const Piece> pieces(int pageIndex) const;
    std::string_view text(const Piece& piece) const;
    // Every piece's bytes, in one block (what the file stores).
    std::string_view textArena() const { return text_; }
    const PieceStyle& style(std::uint16_t index) const { return styles_.at(index); }
    std::size_t styleCount() const { return styles_.size(); }
    std::size_t pieceCount() const { return pieces_.size(); }
    // Bytes held by the pages, pieces, styles and text (capacity, not only size).
    std::size_t memoryBytes() const;

    // Building: styles first, then pages in order, each followed by its pieces.
    std::uint16_t addStyle(const PieceStyle& style);
    void beginPage(Length width, Length height);
    // Adds a piece to the last page; returns its index among all pieces.
    std::size_t addPiece(const Rect& rect, std::string_view text, std::uint16_t style);
    // Gives a piece added before its final text (the total page count is known only at the end).
    void setText(std::size_t piece, std::string_view text);
    // Gives back memory reserved beyond what the pages hold.
    void shrink();

    bool operator==(const BuiltReport&) const = default;

private:
    friend class BuiltReportReader;

    std::vector<PieceStyle> styles_;
    std::vector<BuiltPage> pages_;
    std::vector<Piece> pieces_;
    std::string text_;
};

} // namespace skorvin::report

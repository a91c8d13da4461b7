#pragma once

#include "platform/ByteArena.hpp"
#include "report/ChunkedArray.hpp"
#include "report/ReportTemplate.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
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

class BuiltReport;

// The pieces of one page in drawing order, each given by value.
class PieceRange {
public:
    class Iterator {
    public:
        using value_type = Piece;
        using difference_type = std::ptrdiff_t;
        Iterator() = default;
        Iterator(const BuiltReport* report, std::size_t index) : report_(report), index_(index) {}
        Piece operator*() const;
        Iterator& operator++()
        {
            ++index_;
            return *this;
        }
        Iterator operator++(int)
        {
            Iterator was = *this;
            ++index_;
            return was;
        }
        bool operator==(const Iterator&) const = default;

    private:
        const BuiltReport* report_ = nullptr;
        std::size_t index_ = 0;
    };

    PieceRange(const BuiltReport& report, std::size_t first, std::size_t count)
        : report_(&report), first_(first), count_(count)
    {
    }
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    Piece operator[](std::size_t i) const;
    Iterator begin() const { return {report_, first_}; }
    Iterator end() const { return {report_, first_ + count_}; }

private:
    const BuiltReport* report_;
    std::size_t first_;
    std::size_t count_;
};

// The pages a build produced: pieces of GBK text in drawing order. Kept compact, with no
// object or string per piece, because the national list builds tens of thousands of pages:
// a piece holds its top, its text's place and its shape (left, size and style), which the
// pieces of one template object share; pieces and text are held in chunks, so that nothing
// is copied while a report grows.
class BuiltReport {
public:
    int pageCount() const { return static_cast<int>(pages_.size()); }
    // 0-based page index.
    const BuiltPage& page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    PieceRange pieces(int pageIndex) const;
    // A piece by its index among all pieces.
    Piece piece(std::size_t index) const;
    std::string_view text(const Piece& piece) const;
    // Every piece's bytes: the blocks laid end to end are what the file stores.
    const ByteArena& textArena() const { return text_; }
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

    // Equal pages, styles and pieces, each piece with the same text.
    bool operator==(const BuiltReport& other) const;

private:
    friend class BuiltReportReader;

    // What the pieces of one template object share.
    struct Shape {
        Length x = 0;
        Length width = 0;
        Length height = 0;
        std::uint16_t style = 0;

        bool operator==(const Shape&) const = default;
    };
    struct ShapeHash {
        std::size_t operator()(const Shape& s) const;
    };
    struct StoredPiece {
        Length y = 0;
        std::uint32_t textOffset = 0;
        std::uint32_t textLength = 0;
        std::uint32_t shape = 0;

        bool operator==(const StoredPiece&) const = default;
    };

    std::uint32_t shapeIndex(const Shape& shape);

    std::vector<PieceStyle> styles_;
    std::vector<BuiltPage> pages_;
    ChunkedArray<StoredPiece, 16> pieces_;
    std::vector<Shape> shapes_;
    std::unordered_map<Shape, std::uint32_t, ShapeHash> shapeIndexes_;
    // The shapes met last, by hash: a build meets the same few shapes over and over.
    std::array<std::uint32_t, 64> recentShapes_{};
    ByteArena text_;
};

inline Piece PieceRange::Iterator::operator*() const
{
    return report_->piece(index_);
}

inline Piece PieceRange::operator[](std::size_t i) const
{
    return report_->piece(first_ + i);
}

} // namespace skorvin::report

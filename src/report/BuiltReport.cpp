#include "report/BuiltReport.hpp"

#include <limits>
#include <stdexcept>

namespace skorvin::report {

std::span<const Piece> BuiltReport::pieces(int pageIndex) const
{
    const BuiltPage& p = page(pageIndex);
    return std::span<const Piece>(pieces_).subspan(p.firstPiece, p.pieceCount);
}

std::string_view BuiltReport::text(const Piece& piece) const
{
    return std::string_view(text_).substr(piece.textOffset, piece.textLength);
}

std::size_t BuiltReport::memoryBytes() const
{
    std::size_t bytes = sizeof(*this) + pages_.capacity() * sizeof(BuiltPage) + pieces_.capacity() * sizeof(Piece) +
                        styles_.capacity() * sizeof(PieceStyle) + text_.capacity();
    for (const PieceStyle& s : styles_)
        bytes += s.font.family.capacity();
    return bytes;
}

std::uint16_t BuiltReport::addStyle(const PieceStyle& style)
{
    if (styles_.size() > std::numeric_limits<std::uint16_t>::max())
        throw std::length_error("too many text styles in one report");
    styles_.push_back(style);
    return static_cast<std::uint16_t>(styles_.size() - 1);
}

void BuiltReport::beginPage(Length width, Length height)
{
    if (pages_.size() >= static_cast<std::size_t>(kMaxBuiltPages))
        throw std::length_error("the built report outgrows its file format");
    pages_.push_back({width, height, static_cast<std::uint32_t>(pieces_.size()), 0});
}

std::size_t BuiltReport::addPiece(const Rect& rect, std::string_view text, std::uint16_t style)
{
    if (text_.size() + text.size() > std::numeric_limits<std::uint32_t>::max() ||
        pieces_.size() >= std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("the built report outgrows its file format");
    pieces_.push_back({rect, static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(text.size()), style});
    text_ += text;
    ++pages_.back().pieceCount;
    return pieces_.size() - 1;
}

void BuiltReport::setText(std::size_t piece, std::string_view text)
{
    Piece& target = pieces_.at(piece);
    if (text.size() <= target.textLength) {
        text_.replace(target.textOffset, text.size(), text);
    } else {
        target.textOffset = static_cast<std::uint32_t>(text_.size());
        text_ += text;
    }
    target.textLength = static_cast<std::uint32_t>(text.size());
}

void BuiltReport::shrink()
{
    pages_.shrink_to_fit();
    pieces_.shrink_to_fit();
    text_.shrink_to_fit();
}

} // namespace skorvin::report

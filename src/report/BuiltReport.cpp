#include "report/BuiltReport.hpp"

#include <limits>
#include <stdexcept>

namespace skorvin::report {

std::size_t BuiltReport::ShapeHash::operator()(const Shape& s) const
{
    std::uint64_t h = static_cast<std::uint32_t>(s.x);
    h = h * 0x9E3779B97F4A7C15u + static_cast<std::uint32_t>(s.width);
    h = h * 0x9E3779B97F4A7C15u + static_cast<std::uint32_t>(s.height);
    h = h * 0x9E3779B97F4A7C15u + s.style;
    return static_cast<std::size_t>(h ^ (h >> 29));
}

PieceRange BuiltReport::pieces(int pageIndex) const
{
    const BuiltPage& p = page(pageIndex);
    return PieceRange(*this, p.firstPiece, p.pieceCount);
}

Piece BuiltReport::piece(std::size_t index) const
{
    const StoredPiece& stored = pieces_[index];
    const Shape& shape = shapes_[stored.shape];
    return {{shape.x, stored.y, shape.width, shape.height}, stored.textOffset, stored.textLength, shape.style};
}

std::string_view BuiltReport::text(const Piece& piece) const
{
    return text_.view(piece.textOffset, piece.textLength);
}

std::size_t BuiltReport::memoryBytes() const
{
    std::size_t bytes = sizeof(*this) + pages_.capacity() * sizeof(BuiltPage) + pieces_.capacityBytes() +
                        shapes_.capacity() * sizeof(Shape) + styles_.capacity() * sizeof(PieceStyle) +
                        text_.capacityBytes();
    // Each entry of the shape map is a node of its own besides its bucket.
    bytes += shapeIndexes_.bucket_count() * sizeof(void*) +
             shapeIndexes_.size() * (sizeof(std::pair<const Shape, std::uint32_t>) + 2 * sizeof(void*));
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

std::uint32_t BuiltReport::shapeIndex(const Shape& shape)
{
    std::uint32_t& recent = recentShapes_[ShapeHash()(shape) % recentShapes_.size()];
    if (recent > 0 && shapes_[recent - 1] == shape)
        return recent - 1;
    const auto [at, added] = shapeIndexes_.try_emplace(shape, static_cast<std::uint32_t>(shapes_.size()));
    if (added)
        shapes_.push_back(shape);
    recent = at->second + 1;
    return at->second;
}

std::size_t BuiltReport::addPiece(const Rect& rect, std::string_view text, std::uint16_t style)
{
    if (pieces_.size() >= std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("the built report outgrows its file format");
    const std::uint32_t offset = text_.append(text);
    pieces_.push_back({rect.y, offset, static_cast<std::uint32_t>(text.size()),
                       shapeIndex({rect.x, rect.width, rect.height, style})});
    ++pages_.back().pieceCount;
    return pieces_.size() - 1;
}

void BuiltReport::setText(std::size_t piece, std::string_view text)
{
    if (piece >= pieces_.size())
        throw std::out_of_range("no such piece in the built report");
    StoredPiece& target = pieces_[piece];
    if (text.size() <= target.textLength)
        text_.overwrite(target.textOffset, text);
    else
        target.textOffset = text_.append(text);
    target.textLength = static_cast<std::uint32_t>(text.size());
}

void BuiltReport::shrink()
{
    pages_.shrink_to_fit();
    pieces_.shrink();
    shapes_.shrink_to_fit();
    text_.shrink();
}

bool BuiltReport::operator==(const BuiltReport& other) const
{
    if (styles_ != other.styles_ || pages_ != other.pages_ || pieces_.size() != other.pieces_.size())
        return false;
    for (std::size_t i = 0; i < pieces_.size(); ++i) {
        const Piece mine = piece(i);
        const Piece theirs = other.piece(i);
        if (!(mine == theirs) || text(mine) != other.text(theirs))
            return false;
    }
    return true;
}

} // namespace skorvin::report

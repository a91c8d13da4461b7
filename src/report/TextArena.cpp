#include "report/TextArena.hpp"

#include <limits>
#include <stdexcept>

namespace skorvin::report {

namespace {

// Beyond any 32-bit offset: the whole arena is block 0.
constexpr unsigned kWholeBits = 40;

} // namespace

TextArena::TextArena(std::string whole) : blockBits_(kWholeBits)
{
    blocks_.push_back(std::move(whole));
}

std::uint64_t TextArena::size() const
{
    if (blocks_.empty())
        return 0;
    return (std::uint64_t{blocks_.size() - 1} << blockBits_) + blocks_.back().size();
}

std::uint32_t TextArena::append(std::string_view text)
{
    const std::uint64_t block = std::uint64_t{1} << blockBits_;
    if (blocks_.empty())
        blocks_.emplace_back();
    if (blocks_.back().size() + text.size() > block && !blocks_.back().empty()) {
        blocks_.back().resize(block, '\0');
        blocks_.emplace_back().reserve(block);
    }
    const std::uint64_t offset = size();
    // A long text's blocks are rounded up to whole blocks: count that room too.
    const std::uint64_t end = offset + text.size() + (text.size() > block ? block : 0);
    if (end > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("the built report outgrows its file format");
    std::string& open = blocks_.back();
    open.append(text);
    if (open.size() > block) {
        const std::uint64_t spans = (open.size() + block - 1) / block;
        open.resize(spans * block, '\0');
        // The blocks it spans stay empty; the next text begins the block after them.
        blocks_.resize(blocks_.size() + static_cast<std::size_t>(spans));
    }
    return static_cast<std::uint32_t>(offset);
}

std::string_view TextArena::view(std::uint32_t offset, std::uint32_t length) const
{
    if (length == 0)
        return {};
    const std::uint64_t mask = (std::uint64_t{1} << blockBits_) - 1;
    return std::string_view(blocks_[static_cast<std::size_t>(std::uint64_t{offset} >> blockBits_)])
        .substr(offset & mask, length);
}

void TextArena::overwrite(std::uint32_t offset, std::string_view text)
{
    if (text.empty())
        return;
    const std::uint64_t mask = (std::uint64_t{1} << blockBits_) - 1;
    std::string& block = blocks_[static_cast<std::size_t>(std::uint64_t{offset} >> blockBits_)];
    block.replace(offset & mask, text.size(), text);
}

void TextArena::shrink()
{
    if (!blocks_.empty())
        blocks_.back().shrink_to_fit();
    blocks_.shrink_to_fit();
}

std::size_t TextArena::capacityBytes() const
{
    std::size_t bytes = blocks_.capacity() * sizeof(std::string);
    for (const std::string& b : blocks_)
        bytes += b.capacity();
    return bytes;
}

} // namespace skorvin::report

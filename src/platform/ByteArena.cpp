#include "platform/ByteArena.hpp"

#include <limits>
#include <stdexcept>

namespace skorvin {

namespace {

// Beyond any 32-bit offset: the whole arena is block 0.
constexpr unsigned kWholeBits = 40;

} // namespace

ByteArena::ByteArena(std::string whole) : blockBits_(kWholeBits)
{
    blocks_.push_back(std::move(whole));
}

std::uint64_t ByteArena::size() const
{
    if (blocks_.empty())
        return 0;
    return (std::uint64_t{blocks_.size() - 1} << blockBits_) + blocks_.back().size();
}

std::uint32_t ByteArena::append(std::string_view bytes)
{
    const std::uint64_t block = std::uint64_t{1} << blockBits_; // kBlockBytes unless held whole
    if (blocks_.empty())
        blocks_.emplace_back();
    if (blocks_.back().size() + bytes.size() > block && !blocks_.back().empty()) {
        blocks_.back().resize(block, '\0');
        blocks_.emplace_back().reserve(block);
    }
    const std::uint64_t offset = size();
    // A long piece's blocks are rounded up to whole blocks: count that room too.
    const std::uint64_t end = offset + bytes.size() + (bytes.size() > block ? block : 0);
    if (end > std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("more bytes than 32-bit offsets reach");
    std::string& open = blocks_.back();
    open.append(bytes);
    if (open.size() > block) {
        const std::uint64_t spans = (open.size() + block - 1) / block;
        open.resize(spans * block, '\0');
        // The blocks it spans stay empty; the next piece begins the block after them.
        blocks_.resize(blocks_.size() + static_cast<std::size_t>(spans));
    }
    return static_cast<std::uint32_t>(offset);
}

std::string_view ByteArena::view(std::uint32_t offset, std::uint32_t length) const
{
    if (length == 0)
        return {};
    const std::uint64_t mask = (std::uint64_t{1} << blockBits_) - 1;
    return std::string_view(blocks_[static_cast<std::size_t>(std::uint64_t{offset} >> blockBits_)])
        .substr(offset & mask, length);
}

const char* ByteArena::at(std::uint32_t offset) const
{
    const std::uint64_t mask = (std::uint64_t{1} << blockBits_) - 1;
    const auto block = static_cast<std::size_t>(std::uint64_t{offset} >> blockBits_);
    // Nothing was appended at the arena's very end: no block holds it.
    return block < blocks_.size() ? blocks_[block].data() + (offset & mask) : nullptr;
}

void ByteArena::overwrite(std::uint32_t offset, std::string_view bytes)
{
    if (bytes.empty())
        return;
    const std::uint64_t mask = (std::uint64_t{1} << blockBits_) - 1;
    std::string& block = blocks_[static_cast<std::size_t>(std::uint64_t{offset} >> blockBits_)];
    block.replace(offset & mask, bytes.size(), bytes);
}

void ByteArena::shrink()
{
    if (!blocks_.empty())
        blocks_.back().shrink_to_fit();
    blocks_.shrink_to_fit();
}

std::size_t ByteArena::capacityBytes() const
{
    std::size_t bytes = blocks_.capacity() * sizeof(std::string);
    for (const std::string& b : blocks_)
        bytes += b.capacity();
    return bytes;
}

} // namespace skorvin

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace skorvin {

// Bytes appended in pieces and addressed by 32-bit offsets: the rows of a recordset, the texts
// of a built report. Held in blocks of 1 MiB, so that nothing moves or is copied while the
// arena grows: a piece that does not fit in what is left of a block begins the next one, the
// rest of the block left as zero bytes, and a piece longer than a block is given blocks of its
// own. A piece never straddles two blocks. Laid end to end, the blocks are the arena.
class ByteArena {
public:
    static constexpr std::uint64_t kBlockBytes = std::uint64_t{1} << 20;

    ByteArena() = default;
    // An arena read whole (from a file), held as it is, in one block.
    explicit ByteArena(std::string whole);

    std::uint64_t size() const;
    // Appends bytes and returns their offset; throws std::length_error past 32-bit offsets.
    std::uint32_t append(std::string_view bytes);
    // Bytes [offset, offset + length) of the arena, which one append gave (or part of them).
    std::string_view view(std::uint32_t offset, std::uint32_t length) const;
    // The first of the bytes one append gave at offset; those bytes follow it.
    const char* at(std::uint32_t offset) const;
    // Writes bytes over bytes of the arena that one append gave, from offset on.
    void overwrite(std::uint32_t offset, std::string_view bytes);

    const std::vector<std::string>& blocks() const { return blocks_; }
    // Gives back the last block's spare room.
    void shrink();
    std::size_t capacityBytes() const;

private:
    std::vector<std::string> blocks_;
    unsigned blockBits_ = 20; // log2 of kBlockBytes, or more for an arena held whole
};

} // namespace skorvin

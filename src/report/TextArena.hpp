#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace skorvin::report {

// The bytes of a built report's texts: one arena addressed by 32-bit offsets. A build's arena
// is held in blocks of 1 MiB, so that it never moves while it grows: a text that does not fit
// in what is left of a block begins the next one, the rest of the block left as zero bytes, and
// a text longer than a block is given blocks of its own. Laid end to end, the blocks are the arena.
class TextArena {
public:
    TextArena() = default;
    // An arena read from a file, held as it is, in one block.
    explicit TextArena(std::string whole);

    std::uint64_t size() const;
    // Appends text and returns its offset; throws std::length_error past 32-bit offsets.
    std::uint32_t append(std::string_view text);
    // Bytes [offset, offset + length) of the arena, which must lie in it.
    std::string_view view(std::uint32_t offset, std::uint32_t length) const;
    // Writes text over bytes of the arena that one append gave, from offset on.
    void overwrite(std::uint32_t offset, std::string_view text);

    const std::vector<std::string>& blocks() const { return blocks_; }
    // Gives back the last block's spare room.
    void shrink();
    std::size_t capacityBytes() const;

private:
    std::vector<std::string> blocks_;
    unsigned blockBits_ = 20;
};

} // namespace skorvin::report

#pragma once

#include <cstddef>
#include <vector>

namespace skorvin::report {

// A growing array held in chunks of 2^ChunkBits elements. Appending never moves what is
// held, so a large array is never held twice while it grows and each of its pages is touched
// once; only the first chunk grows by copying, up to one chunk.
template <typename T, unsigned ChunkBits> class ChunkedArray {
public:
    static constexpr std::size_t kChunk = std::size_t{1} << ChunkBits;

    std::size_t size() const { return size_; }
    const T& operator[](std::size_t i) const { return chunks_[i >> ChunkBits][i & (kChunk - 1)]; }
    T& operator[](std::size_t i) { return chunks_[i >> ChunkBits][i & (kChunk - 1)]; }

    void push_back(const T& value)
    {
        if (chunks_.empty() || chunks_.back().size() == kChunk) {
            chunks_.emplace_back();
            // A small array stays small; the later chunks are all full size but the last.
            if (chunks_.size() > 1)
                chunks_.back().reserve(kChunk);
        }
        chunks_.back().push_back(value);
        ++size_;
    }

    // Gives back the last chunk's spare room (copies at most one chunk).
    void shrink()
    {
        if (!chunks_.empty())
            chunks_.back().shrink_to_fit();
        chunks_.shrink_to_fit();
    }

    std::size_t capacityBytes() const
    {
        std::size_t bytes = chunks_.capacity() * sizeof(std::vector<T>);
        for (const std::vector<T>& chunk : chunks_)
            bytes += chunk.capacity() * sizeof(T);
        return bytes;
    }

    // Arrays of equal elements are chunked alike.
    bool operator==(const ChunkedArray& other) const { return chunks_ == other.chunks_; }

private:
    std::vector<std::vector<T>> chunks_;
    std::size_t size_ = 0;
};

} // namespace skorvin::report

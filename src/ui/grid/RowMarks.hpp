#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace skorvin::ui {

// The grid's marked rows, by bookmark. Bookmarks are row numbers of the list read, so a
// bit per row holds them: marking the whole country costs a few hundred kilobytes, and a
// look-up while painting is one index.
class RowMarks {
public:
    using Bookmark = std::uint32_t;

    bool contains(Bookmark mark) const { return mark < bits_.size() && bits_[mark]; }
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }

    void insert(Bookmark mark)
    {
        if (mark >= bits_.size())
            bits_.resize(static_cast<std::size_t>(mark) + 1, false);
        if (!bits_[mark]) {
            bits_[mark] = true;
            ++count_;
        }
    }
    // False when the row was not marked.
    bool erase(Bookmark mark)
    {
        if (!contains(mark))
            return false;
        bits_[mark] = false;
        --count_;
        return true;
    }
    void clear()
    {
        bits_.clear();
        count_ = 0;
    }

private:
    std::vector<bool> bits_;
    std::size_t count_ = 0;
};

} // namespace skorvin::ui

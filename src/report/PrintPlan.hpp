#pragma once

#include <string_view>
#include <utility>
#include <vector>

// What goes to the printer: which pages, in which order, how many times.
namespace skorvin::report {

// The pages a page-number text chose, as ranges of page numbers. Empty means every page.
class PageSelection {
public:
    bool empty() const { return ranges_.empty(); }
    bool contains(int page) const;
    // Adds first..last; nothing when last is below first.
    void add(int first, int last);

private:
    std::vector<std::pair<int, int>> ranges_; // sorted, not overlapping
};

// Reads a page-number text such as "1,3,5-12": spaces are ignored, a trailing "-" runs to
// pageCount, "a-b" adds a to b (nothing when b < a), and a second "-" in one item restarts
// the range at the number before it. Throws EConvertError ("'%s' is not a valid integer
// value") for a part that is not a whole number.
PageSelection parsePageNumbers(std::string_view text, int pageCount);

enum class PageParity { All, Odd, Even };

// The pages to send, ascending: every page when the selection is empty, else the
// selected ones; odd or even pages only when asked.
std::vector<int> pageSequence(int pageCount, const PageSelection& chosen, PageParity parity);

// How copies reach the printer: the sequence is sent `passes` times with the printer set
// to `printerCopies`. Collated copies are whole passes; otherwise the printer repeats
// each page. Copies of 0 or less count as 1.
struct CopyPlan {
    int passes = 1;
    int printerCopies = 1;

    bool operator==(const CopyPlan&) const = default;
};
CopyPlan planCopies(int copies, bool collate);

} // namespace skorvin::report

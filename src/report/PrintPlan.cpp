#include "report/PrintPlan.hpp"

#include "platform/Numbers.hpp"

#include <algorithm>
#include <cstdint>
#include <string>

namespace skorvin::report {

bool PageSelection::contains(int page) const
{
    const auto after = std::upper_bound(ranges_.begin(), ranges_.end(), page,
                                        [](int p, const std::pair<int, int>& range) { return p < range.first; });
    return after != ranges_.begin() && page <= std::prev(after)->second;
}

void PageSelection::add(int first, int last)
{
    if (last < first)
        return;
    // Kept as merged ranges, so that "1-2000000000" costs no more than "1-2".
    ranges_.emplace_back(first, last);
    std::sort(ranges_.begin(), ranges_.end());
    std::vector<std::pair<int, int>> merged;
    for (const auto& range : ranges_) {
        if (!merged.empty() && std::int64_t{range.first} <= std::int64_t{merged.back().second} + 1)
            merged.back().second = std::max(merged.back().second, range.second);
        else
            merged.push_back(range);
    }
    ranges_ = std::move(merged);
}

PageSelection parsePageNumbers(std::string_view text, int pageCount)
{
    std::string items;
    for (char c : text) {
        if (c != ' ')
            items += c;
    }
    PageSelection chosen;
    if (items.empty())
        return chosen;
    if (items.back() == '-')
        items += std::to_string(pageCount);
    items += ',';
    std::size_t start = 0;
    bool inRange = false;
    int rangeStart = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (items[i] != '-' && items[i] != ',')
            continue;
        const int number = toInt(std::string_view(items).substr(start, i - start));
        start = i + 1;
        if (items[i] == '-') {
            rangeStart = number;
            inRange = true;
        } else {
            chosen.add(inRange ? rangeStart : number, number);
            inRange = false;
        }
    }
    return chosen;
}

std::vector<int> pageSequence(int pageCount, const PageSelection& chosen, PageParity parity)
{
    std::vector<int> pages;
    for (int page = 1; page <= pageCount; ++page) {
        if (!chosen.empty() && !chosen.contains(page))
            continue;
        if ((parity == PageParity::Odd && page % 2 == 0) || (parity == PageParity::Even && page % 2 == 1))
            continue;
        pages.push_back(page);
    }
    return pages;
}

CopyPlan planCopies(int copies, bool collate)
{
    const int count = std::max(1, copies);
    return collate ? CopyPlan{count, 1} : CopyPlan{1, count};
}

} // namespace skorvin::report

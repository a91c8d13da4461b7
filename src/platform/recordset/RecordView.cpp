#include "platform/recordset/RecordView.hpp"

#include "platform/Exception.hpp"
#include "platform/Text.hpp"
#include "platform/recordset/FilterExpression.hpp"

#include <algorithm>
#include <numeric>

namespace skorvin::ado {

namespace {

// NULL sorts before every text; texts in unsigned byte order.
int compareValues(const Snapshot::Value& a, const Snapshot::Value& b)
{
    if (!a || !b)
        return a.has_value() - b.has_value();
    return a->compare(*b);
}

} // namespace

void RecordView::rebuild(Snapshot& snapshot, const FilterExpression* filter)
{
    const Row rows = snapshot.rowCount();
    std::vector<Row> base;
    if (sortField_ >= 0) {
        base = snapshot.ascendingIndex(sortField_);
        if (descending_)
            std::reverse(base.begin(), base.end());
    } else {
        base.resize(rows);
        std::iota(base.begin(), base.end(), Row{0});
    }
    std::vector<Snapshot::Value> fields(static_cast<std::size_t>(snapshot.fieldCount()));
    std::size_t kept = 0;
    for (const Row r : base) {
        if (snapshot.deleted(r))
            continue;
        if (filter) {
            snapshot.read(r, fields.data());
            if (!filter->matches(fields.data()))
                continue;
        }
        base[kept++] = r;
    }
    base.resize(kept);
    if (kept < rows / 2)
        base.shrink_to_fit();
    rows_ = std::move(base);
}

void RecordView::clear()
{
    rows_ = {};
    sortField_ = -1;
    descending_ = false;
}

void RecordView::setSort(int field, bool descending)
{
    sortField_ = field;
    descending_ = descending;
}

int RecordView::positionOf(Row row) const
{
    if (sortField_ < 0) {
        // In the order read the view's rows ascend, so the position is a binary search away.
        const auto it = std::lower_bound(rows_.begin(), rows_.end(), row);
        return it != rows_.end() && *it == row ? static_cast<int>(it - rows_.begin()) : -1;
    }
    const auto it = std::find(rows_.begin(), rows_.end(), row);
    return it != rows_.end() ? static_cast<int>(it - rows_.begin()) : -1;
}

int RecordView::findEqual(const Snapshot& snapshot, int field, std::string_view value) const
{
    const Snapshot::Value wanted(value);
    if (field == sortField_) {
        const auto it = std::partition_point(rows_.begin(), rows_.end(), [&](Row r) {
            const int c = compareValues(snapshot.value(r, field), wanted);
            return descending_ ? c > 0 : c < 0;
        });
        if (it != rows_.end() && compareValues(snapshot.value(*it, field), wanted) == 0)
            return static_cast<int>(it - rows_.begin());
        return -1;
    }
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (compareValues(snapshot.value(rows_[i], field), wanted) == 0)
            return static_cast<int>(i);
    return -1;
}

void RecordView::erase(std::size_t position)
{
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(position));
}

std::size_t RecordView::countMarked(const std::vector<bool>& doomed) const
{
    return static_cast<std::size_t>(
        std::count_if(rows_.begin(), rows_.end(), [&doomed](Row row) { return doomed[row]; }));
}

std::size_t RecordView::removeMarked(const std::vector<bool>& doomed, Snapshot& snapshot)
{
    std::size_t kept = 0;
    std::size_t afterLast = 0; // kept rows in front of the last deleted one
    for (const Row row : rows_) {
        if (doomed[row]) {
            snapshot.markDeleted(row);
            afterLast = kept;
        } else {
            rows_[kept++] = row;
        }
    }
    rows_.resize(kept);
    return afterLast;
}

SortOrder parseSortText(const std::string& sort, const std::function<int(const std::string&)>& fieldIndex)
{
    std::string rest = sort;
    auto takeWord = [&rest]() {
        const auto b = rest.find_first_not_of(" \t");
        if (b == std::string::npos)
            return std::string();
        std::size_t e;
        if (rest[b] == '[') {
            e = rest.find(']', b);
            e = e == std::string::npos ? rest.size() : e + 1;
        } else {
            e = rest.find_first_of(" \t", b);
            e = e == std::string::npos ? rest.size() : e;
        }
        auto word = rest.substr(b, e - b);
        rest.erase(0, e);
        return word;
    };
    SortOrder order;
    auto name = takeWord();
    if (name.empty())
        return order;
    if (name.size() >= 2 && name.front() == '[' && name.back() == ']')
        name = name.substr(1, name.size() - 2);
    order.field = fieldIndex(name);
    if (order.field < 0)
        throw EDatabaseError("Field '" + name + "' not found");
    const auto direction = takeWord();
    if (text::equalsNoCase(direction, "DESC"))
        order.descending = true;
    else if (!direction.empty() && !text::equalsNoCase(direction, "ASC"))
        throw EDatabaseError("Cannot sort on \"" + sort + "\": one field name, then ASC or DESC");
    if (!takeWord().empty())
        throw EDatabaseError("Cannot sort on \"" + sort + "\": one field name, then ASC or DESC");
    return order;
}

} // namespace skorvin::ado

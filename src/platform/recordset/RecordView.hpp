#pragma once

#include "platform/recordset/Snapshot.hpp"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace skorvin::ado {

class FilterExpression;

// The rows of a snapshot that a recordset shows, in its order: the sort applied, deleted
// rows and the rows the filter refuses left out. A position is a 0-based index into the view.
class RecordView {
public:
    using Row = Snapshot::Row;

    // Builds the view afresh; filter nullptr keeps every row that is not deleted.
    void rebuild(Snapshot& snapshot, const FilterExpression* filter);
    // No rows and the order read.
    void clear();

    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    Row operator[](std::size_t position) const { return rows_[position]; }

    // Sort on a field (-1: the order read); takes effect at the next rebuild.
    void setSort(int field, bool descending);
    int sortField() const { return sortField_; }

    // Position of a row, -1 when the view does not show it.
    int positionOf(Row row) const;
    // First position whose field holds exactly value (NULL never equal), -1 when none: a binary
    // search on the sorted field, a scan on any other.
    int findEqual(const Snapshot& snapshot, int field, std::string_view value) const;

    void erase(std::size_t position);
    // How many rows of the view are marked in doomed (indexed by row).
    std::size_t countMarked(const std::vector<bool>& doomed) const;
    // Takes the marked rows out of the view and marks them deleted in the snapshot; returns
    // the number of rows kept in front of the last one taken out.
    std::size_t removeMarked(const std::vector<bool>& doomed, Snapshot& snapshot);

private:
    std::vector<Row> rows_;
    int sortField_ = -1;
    bool descending_ = false;
};

// A sort text, one field name (in brackets when it has blanks) then ASC or DESC, read against
// the field names; field -1 for a blank text.
struct SortOrder {
    int field = -1;
    bool descending = false;
};
// Throws EDatabaseError with the reason (without a component name) for a text it cannot read.
SortOrder parseSortText(const std::string& sort, const std::function<int(const std::string&)>& fieldIndex);

} // namespace skorvin::ado

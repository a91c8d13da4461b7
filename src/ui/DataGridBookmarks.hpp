#pragma once

#include "platform/ado/TCustomADODataSet.hpp"

#include <memory>
#include <vector>

namespace skorvin::ui {

// Bookmarks of rows of a recordset's visible view that are not current, found on a
// read-only copy that carries the same filter, so the recordset itself never moves
// (its after-scroll handler would run for every row looked at).
class DataGridBookmarks {
public:
    using Bookmark = ado::TCustomADODataSet::Bookmark;

    DataGridBookmarks() = default;
    ~DataGridBookmarks();
    DataGridBookmarks(const DataGridBookmarks&) = delete;
    DataGridBookmarks& operator=(const DataGridBookmarks&) = delete;

    void setDataSet(ado::TCustomADODataSet* dataSet);
    // The recordset's rows, their order or its filter changed: the copy is made again when next needed.
    void invalidate() { copy_.reset(); }

    // Bookmark of a row of the view (0-based); fails when there is no such row.
    Bookmark at(int viewRow);
    // Bookmarks of every row of the view, in view order.
    std::vector<Bookmark> all();
    // Whether the row of a bookmark is in the view (not deleted, not hidden by the filter).
    bool inView(Bookmark mark);

private:
    ado::TCustomADODataSet& copy();

    ado::TCustomADODataSet* dataSet_ = nullptr;
    std::unique_ptr<ado::TCustomADODataSet> copy_;
};

} // namespace skorvin::ui

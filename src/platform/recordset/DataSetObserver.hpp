#pragma once

namespace skorvin::ado {

// What an attached control (the grid's model) hears from a dataset. Nothing is
// sent while the dataset's controls are disabled; enabling them again sends
// dataSetChanged() once.
class DataSetObserver {
public:
    virtual ~DataSetObserver() = default;
    // Opened, closed, re-filtered, rows deleted, or controls enabled again: re-read everything.
    virtual void dataSetChanged() = 0;
    // The values of one row of the visible view changed (a post).
    virtual void recordChanged(int viewRow) = 0;
    // The current row moved.
    virtual void scrolled() = 0;
};

} // namespace skorvin::ado

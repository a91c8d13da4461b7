#pragma once

namespace skorvin::ado {

// What an attached control (the grid's model) hears from a dataset. Nothing is
// sent while the dataset's controls are disabled; enabling them again sends
// dataSetChanged() once.
class DataSetObserver {
public:
    virtual ~DataSetObserver() = default;
    // Opened, closed, re-filtered, several rows deleted, or controls enabled again: re-read everything.
    virtual void dataSetChanged() = 0;
    // One row of the visible view is about to leave it (posted out of the filter, or deleted);
    // the view still shows it.
    virtual void recordLeaving(int viewRow) = 0;
    // That row has left: the rows after it moved up by one, and the current row is set anew.
    virtual void recordLeft() = 0;
    // The values of one row of the visible view changed (a post).
    virtual void recordChanged(int viewRow) = 0;
    // The current row moved.
    virtual void scrolled() = 0;
};

} // namespace skorvin::ado
